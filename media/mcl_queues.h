#pragma once

// The queues of the conversion library: pictures from the caller's thread to the conversion
// threads, converted frames from those to the encoder thread, in picture order.

#include <QImage>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>

#include "media/mcl_common.h"

namespace vellumo::mcl::detail {

// A bounded queue between two threads. stop() wakes both sides for good.
template <typename T>
class Channel {
public:
    explicit Channel(std::size_t capacity) : capacity_(capacity) {}

    enum class Push { Done, Full, Stopped };
    // Waits at most timeout for room; item is moved only when it is taken.
    Push pushFor(T& item, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, timeout,
                               [&] { return stopped_ || items_.size() < capacity_; })) {
            return Push::Full;
        }
        if (stopped_) {
            return Push::Stopped;
        }
        items_.push_back(std::move(item));
        changed_.notify_all();
        return Push::Done;
    }

    // Waits for room; false once stopped.
    bool push(T item) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopped_ || items_.size() < capacity_; });
        if (stopped_) {
            return false;
        }
        items_.push_back(std::move(item));
        changed_.notify_all();
        return true;
    }

    // Waits for an item; nothing once stopped.
    std::optional<T> pop() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopped_ || !items_.empty(); });
        if (stopped_) {
            return std::nullopt;
        }
        T item = std::move(items_.front());
        items_.pop_front();
        changed_.notify_all();
        return item;
    }

    void stop() {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        items_.clear();
        changed_.notify_all();
    }

    void reset() {
        std::lock_guard lock(mutex_);
        stopped_ = false;
        items_.clear();
    }

    void setCapacity(std::size_t capacity) {
        std::lock_guard lock(mutex_);
        capacity_ = capacity;
    }

private:
    std::size_t capacity_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<T> items_;
    bool stopped_ = false;
};

struct QueuedPicture {
    qint64 index = 0;
    QImage image;
    int repeats = 1;
    bool end = false;
    bool key = false;  // starts a GOP of its own
};

struct QueuedFrame {
    FramePtr frame;
    int repeats = 1;
    bool end = false;
    bool key = false;
};

// Converted frames from several conversion threads, taken out in picture order. A frame more
// than window places ahead of the next one waits.
class FrameReorder {
public:
    explicit FrameReorder(qint64 window) : window_(window) {}

    // Waits until index is within the window of the next frame; false once stopped.
    bool push(qint64 index, QueuedFrame frame);
    // Waits for the next frame in order; nothing once stopped.
    std::optional<QueuedFrame> pop();
    void stop();
    void reset();

private:
    qint64 window_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<qint64, QueuedFrame> items_;
    qint64 next_ = 0;
    bool stopped_ = false;
};

}  // namespace vellumo::mcl::detail
