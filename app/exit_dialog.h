#pragma once

// The exit dialog ("退出软件", "是否退出软件?"). "取消" and the close label only close it.
// "确定" disables the buttons and the close label, removes the unpack folder with the loading bar
// counting every entry met, removes the staging folder and accepts: the program then ends.

#include "dialogs/skinned_dialog.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace vellumo {

class ExitDialog : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{460, 190};
    // The loading bar: 1 pixel high, 5 pixels above the bottom edge, full width.
    static constexpr int kBarHeight = 1;
    static constexpr int kBarAboveBottom = 5;

    explicit ExitDialog(QWidget* parent = nullptr);

    QLabel* messageLabel() const { return message_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QProgressBar* loadingBar() const { return bar_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeLabelReleased() override;

private:
    void removeWorkingFolders();

    QLabel* message_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* bar_ = nullptr;
};

}  // namespace vellumo
