#include "production/staging_ahead.h"

#include "project/album.h"

namespace vellumo {

namespace {

// How often a wait for a template calls its keep-alive.
constexpr auto kKeepAliveSlice = std::chrono::milliseconds(20);

}  // namespace

StagingAhead::StagingAhead(const Album& album, QSize stage, std::function<bool()> stopRequested)
    : album_(album), stopRequested_(std::move(stopRequested)), stager_(album) {
    stepsTotal_.store(3 * album.templates().size());
    thread_ = std::thread([this, stage] { stageAll(stage); });
}

StagingAhead::~StagingAhead() {
    cancel();
    thread_.join();
}

void StagingAhead::cancel() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
}

void StagingAhead::stageAll(QSize stage) {
    try {
        Stager::Production production;
        production.stage = stage;
        production.stopRequested = [this] {
            {
                std::lock_guard lock(mutex_);
                if (cancelled_) {
                    return true;
                }
            }
            return stopRequested_ && stopRequested_();
        };
        production.staged = [this](int t) {
            {
                std::lock_guard lock(mutex_);
                staged_ = t;
            }
            changed_.notify_all();
        };
        stager_.prepare(production, [this](int done, int total) {
            stepsDone_.store(done);
            stepsTotal_.store(total);
        });
        std::lock_guard lock(mutex_);
        // The closing movie is staged before the templates' pictures.
        complete_ = staged_ == album_.templates().size() - 1;
    } catch (...) {
        std::lock_guard lock(mutex_);
        failure_ = std::current_exception();
    }
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
    }
    changed_.notify_all();
}

bool StagingAhead::waitFor(int usedTemplate, const std::function<void()>& keepAlive) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (usedTemplate >= 0 ? staged_ >= usedTemplate : complete_) {
            return true;
        }
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        if (ended_ || cancelled_) {
            return false;
        }
        if (keepAlive) {
            lock.unlock();
            keepAlive();
            lock.lock();
        }
        changed_.wait_for(lock, kKeepAliveSlice);
    }
}

QStringList StagingAhead::missingPhotos() const {
    std::lock_guard lock(mutex_);
    return ended_ ? stager_.missingPhotos() : QStringList();
}

}  // namespace vellumo
