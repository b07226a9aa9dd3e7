#pragma once

// The background window ("背景图片"): one row per used template with the picture drawn behind
// it, a preview box and an information panel; "更换背景图片" replaces the selected row's picture
// by a landscape JPG file of the user's choice (portrait pictures and files without a picture
// are refused with a message, the row stays as it was).

#include "lists/record_list_window.h"

namespace vellumo {

class Album;

class BackgroundWindow : public RecordListWindow {
    Q_OBJECT
public:
    explicit BackgroundWindow(Album& album, QWidget* parent = nullptr);

    void changeSelected();

    QPushButton* changeButton() const { return change_; }

protected:
    bool showRecord(int row) override;

private:
    Album& album_;

    QPushButton* change_ = nullptr;
};

}  // namespace vellumo
