#include "media/mcl_queues.h"

namespace vellumo::mcl::detail {

bool FrameReorder::push(qint64 index, QueuedFrame frame) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopped_ || index < next_ + window_; });
    if (stopped_) {
        return false;
    }
    items_.emplace(index, std::move(frame));
    changed_.notify_all();
    return true;
}

std::optional<QueuedFrame> FrameReorder::pop() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopped_ || items_.count(next_) > 0; });
    if (stopped_) {
        return std::nullopt;
    }
    auto found = items_.find(next_);
    QueuedFrame frame = std::move(found->second);
    items_.erase(found);
    ++next_;
    changed_.notify_all();
    return frame;
}

void FrameReorder::stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    items_.clear();
    changed_.notify_all();
}

void FrameReorder::reset() {
    std::lock_guard lock(mutex_);
    stopped_ = false;
    items_.clear();
    next_ = 0;
}

}  // namespace vellumo::mcl::detail
