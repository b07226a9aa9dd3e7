#pragma once

// The background window ("背景图片"): one row per used template with the picture drawn behind
// it, a preview box and an information panel; "更换背景图片" replaces the selected row's picture
// by a landscape JPG file of the user's choice (portrait pictures and files without a picture
// are refused with a message, the row stays as it was).

#include "dialogs/skinned_dialog.h"
#include "lists/photo_list_window.h"
#include "photo/fitting_canvas.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vellumo {

class Album;

class BackgroundWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{980, 500};
    static constexpr QSize kPreviewBox{201, 151};

    explicit BackgroundWindow(Album& album, QWidget* parent = nullptr);

    void setFileChooser(PhotoFileChooser chooser) { chooser_ = std::move(chooser); }

    // Rebuilds the list from the album; no row is selected afterwards.
    void refreshList();
    // Shows the selected row's picture and fields (a click on a row).
    void showSelected();
    void changeSelected();
    void clearPreview();

    QTreeWidget* list() const { return list_; }
    QLabel* preview() const { return preview_; }
    FieldPanel* info() const { return info_; }
    QPushButton* changeButton() const { return change_; }
    QPushButton* returnButton() const { return return_; }

signals:
    void albumChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Album& album_;
    FittingCanvas canvas_;
    PhotoFileChooser chooser_ = choosePhotoFiles;

    QTreeWidget* list_ = nullptr;
    QLabel* preview_ = nullptr;
    FieldPanel* info_ = nullptr;
    QPushButton* change_ = nullptr;
    QPushButton* return_ = nullptr;
};

}  // namespace vellumo
