#include "media/decoded_sound.h"

#include <algorithm>
#include <chrono>

namespace vellumo {

DecodedSound::DecodedSound(const QString& path, Decoder decoder, qint64 expectedBytes) {
    if (expectedBytes > 0) {
        pcm_.reserve(expectedBytes);
    }
    worker_ = std::jthread([this, path, decoder = std::move(decoder)](std::stop_token stop) {
        decode(path, decoder, stop);
    });
}

DecodedSound::~DecodedSound() {
    worker_.request_stop();
    if (worker_.joinable()) {
        worker_.join();
    }
}

void DecodedSound::decode(const QString& path, const Decoder& decoder,
                          const std::stop_token& stop) {
    bool complete = false;
    try {
        complete = decoder(path, [this, &stop](const char* data, qsizetype bytes) {
            if (stop.stop_requested()) {
                return false;
            }
            {
                const std::lock_guard lock(mutex_);
                pcm_.append(data, bytes);
            }
            grown_.notify_all();
            return true;
        });
    } catch (...) {
        // A file that cannot be decoded is merely silent; the player's clock goes on.
        complete = false;
    }
    {
        const std::lock_guard lock(mutex_);
        decoding_ = !complete && !stop.stop_requested() ? Decoding::Failed : Decoding::Finished;
    }
    grown_.notify_all();
}

bool DecodedSound::waitFor(qint64 bytes, int timeoutMs) const {
    std::unique_lock lock(mutex_);
    grown_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                    [&] { return decoding_ != Decoding::Running || pcm_.size() >= bytes; });
    return pcm_.size() >= bytes || decoding_ == Decoding::Finished;
}

qint64 DecodedSound::decodedBytes() const {
    const std::lock_guard lock(mutex_);
    return pcm_.size();
}

bool DecodedSound::finished() const {
    const std::lock_guard lock(mutex_);
    return decoding_ != Decoding::Running;
}

bool DecodedSound::failed() const {
    const std::lock_guard lock(mutex_);
    return decoding_ == Decoding::Failed;
}

qint64 DecodedSound::read(qint64 from, char* out, qint64 max) const {
    const std::lock_guard lock(mutex_);
    if (from < 0 || from >= pcm_.size() || max <= 0) {
        return 0;
    }
    const qint64 count = std::min(max, pcm_.size() - from);
    std::copy_n(pcm_.constData() + from, count, out);
    return count;
}

SoundDevice::SoundDevice(std::shared_ptr<const DecodedSound> sound, QObject* parent)
    : QIODevice(parent), sound_(std::move(sound)) {}

qint64 SoundDevice::size() const {
    return sound_->decodedBytes();
}

bool SoundDevice::atEnd() const {
    return sound_->finished() && pos() >= sound_->decodedBytes();
}

qint64 SoundDevice::readData(char* data, qint64 maxSize) {
    // Decoding runs far ahead of playing; should it ever fall behind, the output gets nothing
    // for a moment rather than an end.
    return sound_->read(pos(), data, maxSize);
}

qint64 SoundDevice::writeData(const char* data, qint64 maxSize) {
    Q_UNUSED(data);
    Q_UNUSED(maxSize);
    return -1;
}

}  // namespace vellumo
