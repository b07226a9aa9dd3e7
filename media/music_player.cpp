#include "media/music_player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QElapsedTimer>
#include <QMediaDevices>

#include <algorithm>
#include <cmath>

#include "media/audio_decoder.h"
#include "media/decoded_sound.h"
#include "media/loudness.h"
#include "media/media_texts.h"
#include "workspace/errors.h"

namespace vellumo {

namespace {

MusicPlayer::Clock steadyClock() {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

QAudioFormat pcmFormat() {
    QAudioFormat format;
    format.setSampleRate(kPcmSampleRate);
    format.setChannelCount(kPcmChannels);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

qint64 pcmBytes(qint64 ms) {
    return ms * kPcmSampleRate / 1000 * kPcmBytesPerFrame;
}

class SystemSoundOutput : public SoundOutput {
public:
    ~SystemSoundOutput() override { stop(); }

    bool available() const override {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        return !device.isNull() && device.isFormatSupported(pcmFormat());
    }

    bool start(QIODevice* device) override {
        stop();
        sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), pcmFormat());
        sink_->start(device);
        if (sink_->error() != QAudio::NoError) {
            stop();
            return false;
        }
        return true;
    }

    void stop() override {
        if (sink_) {
            sink_->stop();
            sink_.reset();
        }
    }

private:
    std::unique_ptr<QAudioSink> sink_;
};

}  // namespace

std::unique_ptr<SoundOutput> defaultSoundOutput() {
    return std::make_unique<SystemSoundOutput>();
}

namespace {

// The decoder's PCM multiplied by a gain, held to the 16-bit range.
MusicPlayer::Decoder levelled(const MusicPlayer::Decoder& decoder, double gainDb) {
    if (gainDb == 0) {
        return decoder;
    }
    const double factor = gainFactor(gainDb);
    return [decoder, factor](const QString& path, const PcmSink& sink) {
        QByteArray scaled;
        return decoder(path, [&](const char* data, qsizetype bytes) {
            scaled.resize(bytes);
            const auto* in = reinterpret_cast<const qint16*>(data);
            auto* out = reinterpret_cast<qint16*>(scaled.data());
            for (qsizetype i = 0; i < bytes / 2; ++i) {
                out[i] =
                    static_cast<qint16>(std::clamp(std::lround(in[i] * factor), -32768L, 32767L));
            }
            return sink(scaled.constData(), bytes);
        });
    };
}

}  // namespace

MusicPlayer::MusicPlayer(QObject* parent)
    : QObject(parent),
      clock_(steadyClock()),
      decoder_([](const QString& path, const PcmSink& sink) { return decodeAudio(path, sink); }) {}

MusicPlayer::~MusicPlayer() {
    stopSound();
    output_.reset();
    sound_.reset();
}

void MusicPlayer::setSoundOutput(std::unique_ptr<SoundOutput> output) {
    stopSound();
    output_ = std::move(output);
    soundOutput_ = output_ != nullptr;
}

void MusicPlayer::setDecoder(Decoder decoder) {
    close();
    decoder_ = std::move(decoder);
}

void MusicPlayer::setClock(Clock clock) {
    clock_ = std::move(clock);
}

void MusicPlayer::setFileName(const QString& fileName) {
    if (fileName != fileName_) {
        close();
    }
    fileName_ = fileName;
}

void MusicPlayer::open() {
    close();
    const AudioInfo info = probeAudio(fileName_);
    if (!info.playable) {
        throw FileError(fileName_, texts::kAudioNotPlayable);
    }
    lengthMs_ = info.lengthMs;
    open_ = true;
}

void MusicPlayer::close() {
    stopSound();
    open_ = false;
    playing_ = false;
    lengthMs_ = 0;
    startPositionMs_ = 0;
    stoppedPositionMs_ = 0;
    sound_.reset();  // stops its decoding
}

qint64 MusicPlayer::positionMs() const {
    if (!open_) {
        return 0;
    }
    if (!playing_) {
        return stoppedPositionMs_;
    }
    return std::min(lengthMs_, startPositionMs_ + (clock_() - startedAtMs_));
}

MusicPlayer::Mode MusicPlayer::mode() const {
    if (!open_) {
        return Mode::NotOpen;
    }
    return playing_ && positionMs() < lengthMs_ ? Mode::Playing : Mode::Stopped;
}

void MusicPlayer::play() {
    if (!open_) {
        return;
    }
    const qint64 from = positionMs() >= lengthMs_ ? 0 : positionMs();
    stopSound();
    startPositionMs_ = from;
    startedAtMs_ = clock_();
    playing_ = true;
    startSound(from);
}

void MusicPlayer::stop() {
    if (!open_) {
        return;
    }
    stoppedPositionMs_ = positionMs();
    playing_ = false;
    stopSound();
}

void MusicPlayer::startSound(qint64 fromMs) {
    if (!soundOutput_) {
        return;
    }
    if (!output_) {
        output_ = defaultSoundOutput();
    }
    if (!output_->available()) {
        return;  // No sound here: the clock keeps the position.
    }
    if (!sound_) {
        sound_ = std::make_shared<DecodedSound>(fileName_, levelled(decoder_, gainDb_),
                                                pcmBytes(lengthMs_));
    }
    // The sound starts once its first second from here is decoded; the rest follows while it
    // plays. A file that cannot be decoded, or not in time, is merely silent.
    const qint64 offset = pcmBytes(fromMs);
    if (!sound_->waitFor(offset + pcmBytes(1000), kFirstSecondWaitMs) &&
        sound_->decodedBytes() <= offset) {
        return;
    }
    device_ = new SoundDevice(sound_, this);
    device_->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    device_->seek(std::min(offset, sound_->decodedBytes()));
    if (!output_->start(device_)) {
        stopSound();
    }
}

void MusicPlayer::stopSound() {
    if (output_) {
        output_->stop();
    }
    if (device_ != nullptr) {
        delete device_;
        device_ = nullptr;
    }
}

}  // namespace vellumo
