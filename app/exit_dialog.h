#pragma once

// The exit dialog ("退出软件", "是否退出软件?"). "取消" and the close label only close it.
// "确定" disables the buttons and the close label, removes the unpack folder with the loading bar
// counting every entry met, removes the staging folder and accepts: the program then ends.
// The clean-up lets window events through only every kPumpEveryMs (one round for every entry made
// thousands of files take seconds), shows its progress once it has taken kShowProgressAfterMs,
// and stops at kCleanupLimitMs: what is left goes when the program next starts.

#include <QElapsedTimer>
#include <functional>

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
    // The bar with its percentage, once the clean-up shows its progress.
    static constexpr int kProgressBarHeight = 16;
    static constexpr qint64 kPumpEveryMs = 50;
    static constexpr qint64 kShowProgressAfterMs = 500;
    static constexpr qint64 kCleanupLimitMs = 5000;

    explicit ExitDialog(QWidget* parent = nullptr);

    QLabel* messageLabel() const { return message_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QProgressBar* loadingBar() const { return bar_; }

    // The milliseconds since the clean-up started (tests give a clock of their own).
    void setClock(std::function<qint64()> elapsedMs) { clock_ = std::move(elapsedMs); }
    // What the last clean-up did: rounds of window events let through, whether it showed its
    // progress, whether it stopped at the limit.
    int eventRounds() const { return eventRounds_; }
    bool progressShown() const { return progressShown_; }
    bool stoppedAtLimit() const { return stoppedAtLimit_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeLabelReleased() override;

private:
    void removeWorkingFolders();
    // One entry of the clean-up; false once the limit has passed.
    bool cleanupStep();
    void showProgress();
    qint64 elapsedMs() const;

    QLabel* message_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* bar_ = nullptr;
    std::function<qint64()> clock_;
    QElapsedTimer started_;
    qint64 lastRoundMs_ = 0;
    int eventRounds_ = 0;
    bool progressShown_ = false;
    bool stoppedAtLimit_ = false;
};

}  // namespace vellumo
