#pragma once

// The insert-video window (668 × 472): created with the others, opened by no command yet.

#include "dialogs/skinned_dialog.h"

class QPushButton;

namespace vellumo {

class InsertVideoWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{668, 472};

    explicit InsertVideoWindow(QWidget* parent = nullptr);
    QPushButton* cancelButton() const { return cancel_; }

private:
    QPushButton* cancel_ = nullptr;
};

}  // namespace vellumo
