#pragma once

// The production's staging on a thread of its own: every complete template of the album staged at
// the output size, in order (timeline/stager.h), while the pictures of the templates already
// staged are drawn and encoded. The drawing waits for a template only when its movie is loaded;
// the first frames start as soon as the first template is staged.

#include <QSize>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "timeline/stager.h"

namespace vellumo {

class Album;

class StagingAhead {
public:
    // Starts staging the album at stage; stopRequested is asked before every step and ends the
    // staging at once when it says true. The album must outlive this object and stay unchanged.
    StagingAhead(const Album& album, QSize stage, std::function<bool()> stopRequested);
    // Cancels what is left and waits for the thread.
    ~StagingAhead();

    StagingAhead(const StagingAhead&) = delete;
    StagingAhead& operator=(const StagingAhead&) = delete;

    // Waits until used template t (the album's index; -1: every template and the closing movie)
    // is staged, calling keepAlive every few milliseconds meanwhile. True when it is; false when
    // the staging was stopped or cancelled before it. Throws what the staging threw.
    bool waitFor(int usedTemplate, const std::function<void()>& keepAlive = {});
    // Ends the staging after the step it is at; waiters return false.
    void cancel();

    // Steps done and all steps (the stager's count), for a progress bar.
    int stepsDone() const { return stepsDone_.load(); }
    int stepsTotal() const { return stepsTotal_.load(); }
    // The photo and background files that could not be read; complete once waitFor(-1) is true.
    QStringList missingPhotos() const;

private:
    void stageAll(QSize stage);

    const Album& album_;
    std::function<bool()> stopRequested_;
    Stager stager_;
    std::atomic<int> stepsDone_{0};
    std::atomic<int> stepsTotal_{0};
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int staged_ = -1;  // templates 0 .. staged_ are staged
    bool ended_ = false;
    bool complete_ = false;
    bool cancelled_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace vellumo
