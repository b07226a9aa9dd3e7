#include "media/music_player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QElapsedTimer>
#include <QMediaDevices>

#include "media/audio_decoder.h"
#include "media/media_texts.h"
#include "workspace/errors.h"

namespace vellumo {

namespace {

MusicPlayer::Clock steadyClock() {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

}  // namespace

MusicPlayer::MusicPlayer(QObject* parent) : QObject(parent), clock_(steadyClock()) {}

MusicPlayer::~MusicPlayer() {
    stopSound();
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
    pcm_.clear();
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
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        return;  // No sound here: the clock keeps the position.
    }
    try {
        if (pcm_.isEmpty()) {
            pcm_ = decodeAudio(fileName_);
        }
    } catch (const Error&) {
        return;  // The position still runs; the music is merely silent.
    }
    QAudioFormat format;
    format.setSampleRate(kPcmSampleRate);
    format.setChannelCount(kPcmChannels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        return;
    }
    pcmDevice_ = new QBuffer(&pcm_, this);
    pcmDevice_->open(QIODevice::ReadOnly);
    const qint64 offset = fromMs * kPcmSampleRate / 1000 * kPcmBytesPerFrame;
    pcmDevice_->seek(std::min<qint64>(offset, pcm_.size()));
    sink_ = new QAudioSink(device, format, this);
    sink_->start(pcmDevice_);
    if (sink_->error() != QAudio::NoError) {
        stopSound();
    }
}

void MusicPlayer::stopSound() {
    if (sink_ != nullptr) {
        sink_->stop();
        delete sink_;
        sink_ = nullptr;
    }
    if (pcmDevice_ != nullptr) {
        delete pcmDevice_;
        pcmDevice_ = nullptr;
    }
}

}  // namespace vellumo
