#pragma once

// The progress window that runs the long steps (adding photos, music and lyrics, placing photos,
// loading a photo page): small, modal, with an hour-glass cursor, a title and one bar. The caller
// gives the title and the bar's range and runs a task: a one-shot timer of 500 ms starts it once
// the window is up, the task advances the bar (which lets pending events through) and the window
// closes itself when the task has ended. Nothing else closes it while the task runs.

#include <QPointer>
#include <QTimer>
#include <exception>
#include <functional>

#include "dialogs/skinned_dialog.h"

class QProgressBar;

namespace vellumo {

class ProgressWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{460, 110};
    static constexpr int kTaskDelayMs = 500;

    explicit ProgressWindow(QWidget* parent = nullptr);

    // The one progress window of the run, created on first use.
    static ProgressWindow& shared();

    QProgressBar* bar() const { return bar_; }
    int value() const;
    int maximum() const;
    void setRange(int minimum, int maximum);
    void setValue(int value);
    // Moves the bar on (never past its maximum) and lets pending events through.
    void advance(int steps = 1);
    // Sets the bar to its maximum.
    void complete();

    // Shows the window modally under title with the bar at 0 … maximum and runs task from the
    // one-shot timer; returns once the task has ended and the window has closed. An exception
    // thrown by the task closes the window and is thrown on from here. Called while a task is
    // running, the task simply runs at once inside the running one.
    void run(const QString& title, int maximum, const std::function<void()>& task);
    bool isRunning() const { return running_; }

    // The delay before the task starts (tests shorten it).
    void setTaskDelay(int ms) { timer_.setInterval(ms); }
    int taskDelay() const { return timer_.interval(); }

    // Lets pending events through once; what a task does between its steps.
    static void letEventsThrough();

public slots:
    void done(int result) override;

protected:
    void closeLabelReleased() override;

private:
    void runArmedTask();

    QProgressBar* bar_ = nullptr;
    QTimer timer_;
    std::function<void()> task_;
    std::exception_ptr failure_;
    bool running_ = false;
    bool closing_ = false;
};

}  // namespace vellumo
