#pragma once

// Sound that is played while it is still being decoded: a thread of its own decodes the file
// into memory, and a device reads what is there so far. Decoding a four-minute MP3 takes about a
// second; playing can begin once the first second of sound is in.

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "media/audio_decoder.h"

namespace vellumo {

class DecodedSound {
public:
    // Decodes path to PCM, giving it piece by piece; false when it was stopped (decodeAudio).
    using Decoder = std::function<bool(const QString& path, const PcmSink& sink)>;

    // Starts decoding at once on its own thread; expectedBytes reserves room for the whole.
    DecodedSound(const QString& path, Decoder decoder, qint64 expectedBytes = 0);
    // Stops the decoding and waits for its thread (it stops after the piece it is on).
    ~DecodedSound();
    DecodedSound(const DecodedSound&) = delete;
    DecodedSound& operator=(const DecodedSound&) = delete;

    // Waits at most timeoutMs until at least bytes are decoded or decoding has ended. True when
    // that many bytes are there, or all there will be.
    bool waitFor(qint64 bytes, int timeoutMs) const;
    qint64 decodedBytes() const;
    // Decoding has ended, with all the sound or with an error.
    bool finished() const;
    // The file could not be decoded (nothing, or only a beginning, is there).
    bool failed() const;
    // Copies up to max bytes from position from; how many were there.
    qint64 read(qint64 from, char* out, qint64 max) const;

private:
    void decode(const QString& path, const Decoder& decoder, const std::stop_token& stop);

    mutable std::mutex mutex_;
    mutable std::condition_variable grown_;
    QByteArray pcm_;
    // Failed: the file could not be decoded to its end (a stop asked for is no failure).
    enum class Decoding { Running, Finished, Failed };
    Decoding decoding_ = Decoding::Running;
    std::jthread worker_;  // last: started once everything above is ready
};

// Reads a DecodedSound as a device, from any position, while it grows.
class SoundDevice : public QIODevice {
    Q_OBJECT
public:
    explicit SoundDevice(std::shared_ptr<const DecodedSound> sound, QObject* parent = nullptr);

    bool isSequential() const override { return false; }
    // What has been decoded so far.
    qint64 size() const override;
    bool atEnd() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    std::shared_ptr<const DecodedSound> sound_;
};

}  // namespace vellumo
