#pragma once

// The staging progress window ("配置文件"): shown modally while the preview's preparation step
// stages the album; its one-shot timer runs the step a second after it opens and closes the
// window at the end.

#include <QString>
#include <functional>

#include "dialogs/skinned_dialog.h"

class QProgressBar;

namespace vellumo {

class StagingWindow : public SkinnedDialog {
    Q_OBJECT
public:
    explicit StagingWindow(QWidget* parent = nullptr);

    // Shows the window and runs work(progress) from its timer; progress(done, total) moves the
    // bar. Returns when the window has closed.
    void run(const std::function<void(const std::function<void(int, int)>&)>& work);
    QProgressBar* bar() const { return bar_; }
    // The pause before the step starts (1000 ms; tests shorten it).
    void setDelay(int milliseconds) { delayMs_ = milliseconds; }

protected:
    void closeLabelReleased() override;

private:
    QProgressBar* bar_ = nullptr;
    int delayMs_ = 1000;
};

}  // namespace vellumo
