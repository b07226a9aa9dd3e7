#include "media/mcl.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "media/audio_decoder.h"
#include "media/mcl_encoder.h"
#include "media/mcl_presets.h"
#include "media/mcl_queues.h"
#include "media/media_texts.h"
#include "workspace/errors.h"
#include "workspace/leftovers.h"

// The converter: the caller's loop, then conversion threads and an encoder thread, joined by
// short queues. The presets, the sound input, the queues and the encoder with its muxer each
// have a source of their own (mcl_*.cpp).

namespace vellumo::mcl {

// ---------------------------------------------------------------------------------------------
// Lists and sources

void List::add(const QString& fileName, ItemKind kind, int, int) {
    items_.append({fileName, kind});
}

bool List::getName(int index, QString& name) const {
    if (index < 0 || index >= items_.size()) {
        return false;
    }
    name = items_[index].name;
    return true;
}

int List::frameCount() const {
    return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](const Item& item) {
        return item.kind == ItemKind::Picture;
    }));
}

qint64 List::sampleCount() const {
    QHash<QString, qint64> lengthsMs;  // a music list repeats its files
    qint64 samples = 0;
    for (const Item& item : items_) {
        if (item.kind != ItemKind::Sound) {
            continue;
        }
        auto found = lengthsMs.find(item.name);
        if (found == lengthsMs.end()) {
            qint64 ms = 0;
            try {
                ms = probeAudio(item.name).lengthMs;
            } catch (const Error&) {
            }
            found = lengthsMs.insert(item.name, ms);
        }
        samples += *found * kSampleCountRate / 1000;
    }
    return samples;
}

void Source::setFile(const QString& fileName) {
    file_ = fileName;
    finished_ = false;
}

void Source::finished() {
    finished_ = true;
}

QString makeTimeStr(double seconds) {
    const qint64 total = seconds > 0 ? static_cast<qint64>(seconds) : 0;
    return QString::asprintf("%02lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
}

namespace {

using namespace detail;

constexpr int kAlbumFramesPerSecond = 25;
constexpr int kQueueLength = 3;  // pictures waiting for colour conversion
// Fewer where that many would hold more than this (at 3840 × 2160 one picture waits).
constexpr qint64 kQueueBytes = qint64{48} << 20;
constexpr int kFrameQueueLength = 3;  // converted frames waiting for the encoder
// How long the caller's thread waits on the converter's threads before it tells the caller.
constexpr auto kWaitSlice = std::chrono::milliseconds(20);

class FfmpegConverter : public Converter {
public:
    ~FfmpegConverter() override { stopThreads(); }

    void assignVideoSource(SourceFunc callback) override { videoSource_ = std::move(callback); }
    void assignAudioSource(SourceFunc callback) override { audioSource_ = std::move(callback); }
    void assignVideoFunc(VideoFunc callback) override { videoFunc_ = std::move(callback); }
    void assignAudioFunc(AudioFunc callback) override { audioFunc_ = std::move(callback); }
    void assignProgress(ProgressFunc callback) override { progress_ = std::move(callback); }
    void assignError(ErrorFunc callback) override { errorFunc_ = std::move(callback); }

    void setFormatPreset(Preset preset, TvSystem tv) override {
        preset_ = preset;
        tv_ = tv;
    }
    void videoSetKeepDuration(bool keep) override { keepDuration_ = keep; }
    void videoSetFormat(int width, int height, int) override {
        width_ = width;
        height_ = height;
    }
    void videoSetBitRate(int kbps, int mode, int maxKbps) override {
        bitRate_ = BitRate{kbps, mode, maxKbps};
    }
    void videoSetKeyFrames(const QVector<int>& pictures) override {
        keyFrames_ = QSet<int>(pictures.begin(), pictures.end());
    }
    void videoSetChapters(const QVector<ChapterMark>& chapters) override { chapters_ = chapters; }
    void audioSetCodec(int) override {}
    void audioSetMixing(const SoundMixing& mixing) override { mixing_ = mixing; }
    void setSubtitles(const QVector<Subtitle>& lines) override { subtitles_ = lines; }
    void videoSetFileName(const QString& fileName) override { videoFile_ = fileName; }
    void audioSetFileName(const QString& fileName) override { audioFile_ = fileName; }

    bool convert() override;
    QStringList notices() const override { return notices_; }
    int error() const override { return error_; }
    QString errorString() const override { return errorText_; }

    double elapsedTime() const override {
        if (!started_) {
            return 0;
        }
        const auto end = running_ ? std::chrono::steady_clock::now() : endTime_;
        return std::chrono::duration<double>(end - startTime_).count();
    }

    double remainingTime(int totalFrames, qint64 totalSamples) const override {
        const int done = framesDone_.load();
        const double elapsed = elapsedTime();
        if (totalFrames > 0 && done > 0) {
            return elapsed * std::max(0, totalFrames - done) / done;
        }
        const qint64 samples = encoder_ ? encoder_->samplesWritten() : 0;
        if (totalSamples > 0 && samples > 0) {
            return elapsed * static_cast<double>(std::max<qint64>(0, totalSamples - samples)) /
                   static_cast<double>(samples);
        }
        return 0;
    }

    void abort() override {
        if (!running_) {
            return;
        }
        aborted_ = true;
        pictures_.stop();
        frames_.stop();
    }

private:
    struct BitRate {
        int kbps;
        int mode;
        int maxKbps;
    };

    // Records an error and asks the error callback what to do; true when the conversion stops.
    bool report(int code, const QString& text) {
        error_ = code;
        errorText_ = text;
        int action = kActionStop;
        if (errorFunc_) {
            errorFunc_(*this, code, action);
        }
        return action == kActionStop;
    }

    bool stopsOn(int code, const QString& text) {
        report(code, text);
        return false;
    }

    QStringList readList(const SourceFunc& source) {
        QStringList files;
        if (!source) {
            return files;
        }
        for (int i = 0; !aborted(); ++i) {
            Source item;
            source(item, i);
            if (item.isFinished()) {
                break;
            }
            files.append(item.file());
        }
        return files;
    }

    bool aborted() const { return aborted_.load(); }

    void emitProgress(int status, int frames, int percent) {
        if (progress_) {
            progress_(*this, status, frames, encoder_ ? encoder_->samplesWritten() : 0, percent);
        }
    }

    void callAudioFunc() {
        const int encoded = encoder_ ? encoder_->audioFrames() : 0;
        while (audioCalls_ < encoded) {
            const int n = audioCalls_++;
            if (audioFunc_) {
                audioFunc_(*this, n);
            }
        }
    }

    // A thread's failure stops the whole pipeline.
    void failWith(const Failure& f) {
        {
            std::lock_guard lock(failureMutex_);
            if (!failure_) {
                failure_ = f;
            }
        }
        pictures_.stop();
        frames_.stop();
    }

    // Each conversion thread takes the next picture; the frames are put back in order.
    void convertLoop(int thread) {
        try {
            while (auto picture = pictures_.pop()) {
                if (picture->end) {
                    frames_.push(picture->index, QueuedFrame{nullptr, 0, true});
                    return;
                }
                FramePtr frame = encoder_->convertPicture(thread, picture->image);
                if (!frames_.push(picture->index, QueuedFrame{std::move(frame), picture->repeats,
                                                              false, picture->key})) {
                    return;
                }
            }
        } catch (const Failure& f) {
            failWith(f);
        }
    }

    void encodeLoop() {
        try {
            while (auto frame = frames_.pop()) {
                if (frame->end) {
                    encoder_->finish();
                    completed_ = true;
                    break;
                }
                encoder_->encodeFrame(frame->frame.get(), frame->repeats, frame->key);
            }
        } catch (const Failure& f) {
            failWith(f);
        }
        {
            std::lock_guard lock(encoderEndMutex_);
            encoderEnded_ = true;
        }
        encoderEnd_.notify_all();
    }

    // Waits for the encoder thread to end, telling the caller every few milliseconds that it
    // waits (its window stays alive); an abort makes the encoder's writes fail, so the wait
    // ends soon after.
    void waitForEncoder(int frames) {
        for (;;) {
            {
                std::unique_lock lock(encoderEndMutex_);
                if (encoderEnd_.wait_for(lock, kWaitSlice, [this] { return encoderEnded_; })) {
                    break;
                }
            }
            emitProgress(kStatusWaiting, frames, 100);
        }
        encoderThread_.join();
    }

    void stopThreads() {
        aborted_ = true;
        pictures_.stop();
        frames_.stop();
        joinThreads();
    }

    void joinThreads() {
        for (std::thread& t : converterThreads_) {
            if (t.joinable()) {
                t.join();
            }
        }
        if (encoderThread_.joinable()) {
            encoderThread_.join();
        }
    }

    bool run();
    EncoderSettings settings(const QStringList& sounds, qint64 outputFrames) const;

    SourceFunc videoSource_;
    SourceFunc audioSource_;
    VideoFunc videoFunc_;
    AudioFunc audioFunc_;
    ProgressFunc progress_;
    ErrorFunc errorFunc_;

    Preset preset_ = Preset::Vcd;
    TvSystem tv_ = TvSystem::Pal;
    bool keepDuration_ = false;
    SoundMixing mixing_;
    QVector<Subtitle> subtitles_;
    int width_ = 352;
    int height_ = 288;
    std::optional<BitRate> bitRate_;
    QSet<int> keyFrames_;
    QVector<ChapterMark> chapters_;
    QString videoFile_;
    QString audioFile_;
    std::unique_ptr<PartialFile> partial_;  // the output while it is written
    QStringList notices_;

    int error_ = kErrorNone;
    QString errorText_;
    std::atomic<bool> running_{false};
    bool started_ = false;
    std::chrono::steady_clock::time_point startTime_;
    std::chrono::steady_clock::time_point endTime_;
    std::atomic<int> framesDone_{0};
    int audioCalls_ = 0;

    std::unique_ptr<Encoder> encoder_;
    Channel<QueuedPicture> pictures_{kQueueLength};
    FrameReorder frames_{kFrameQueueLength};
    std::thread converterThreads_[kConversionThreads];
    std::thread encoderThread_;
    std::atomic<bool> aborted_{false};
    std::atomic<bool> completed_{false};
    std::mutex encoderEndMutex_;
    std::condition_variable encoderEnd_;
    bool encoderEnded_ = false;
    std::mutex failureMutex_;
    std::optional<Failure> failure_;
};

// Output frames for the first n album pictures: n under PAL; under NTSC with the duration
// kept, output frame k shows picture k * 25 * 1001 / 30000, so picture n starts at
// ceil(n * 1200 / 1001).
qint64 outputFramesBefore(qint64 pictures, TvSystem tv, bool keepDuration) {
    if (tv == TvSystem::Pal || !keepDuration) {
        return pictures;
    }
    return (pictures * 30000 + 25 * 1001 - 1) / (25 * 1001);
}

EncoderSettings FfmpegConverter::settings(const QStringList& sounds, qint64 outputFrames) const {
    EncoderSettings s;
    s.format = &presetFormat(preset_);
    s.tv = tv_;
    s.width = width_ & ~1;
    s.height = height_ & ~1;
    s.videoKbps = s.format->standardKbps;
    s.videoMaxKbps = s.format->standardMaxKbps;
    s.videoMinKbps = s.videoKbps == s.videoMaxKbps ? s.videoKbps : 0;
    if (bitRate_) {
        s.videoKbps = std::clamp(bitRate_->kbps, s.format->standardKbps, s.format->highKbps);
        s.videoMaxKbps =
            std::clamp(bitRate_->maxKbps, s.format->standardMaxKbps, s.format->highMaxKbps);
        s.videoMaxKbps = std::max(s.videoMaxKbps, s.videoKbps);
        if (bitRate_->mode == 0) {
            s.videoMaxKbps = s.videoKbps;
        }
        // A rate without room above it is a constant rate.
        s.videoMinKbps = s.videoMaxKbps == s.videoKbps ? s.videoKbps : 0;
    }
    s.outputName = videoFile_.isEmpty() ? audioFile_ : videoFile_;
    s.soundFiles = sounds;
    s.mixing = mixing_;
    s.subtitles = subtitles_;
    s.aborted = &aborted_;
    s.outputFrames = outputFrames;
    for (const ChapterMark& chapter : chapters_) {
        const qint64 start = outputFramesBefore(chapter.picture, tv_, keepDuration_);
        if (start < outputFrames && (s.chapters.isEmpty() || start > s.chapters.last().first)) {
            s.chapters.append({start, chapter.title});
        }
    }
    return s;
}

bool FfmpegConverter::convert() {
    if (running_) {
        return false;
    }
    aborted_ = false;
    completed_ = false;
    {
        std::lock_guard lock(failureMutex_);
        failure_.reset();
    }
    pictures_.reset();
    frames_.reset();
    error_ = kErrorNone;
    errorText_.clear();
    notices_.clear();
    partial_.reset();
    encoderEnded_ = false;
    framesDone_ = 0;
    audioCalls_ = 0;
    started_ = true;
    startTime_ = std::chrono::steady_clock::now();
    running_ = true;
    bool ok = false;
    try {
        ok = run();
    } catch (...) {
        // A callback threw: stop the threads, leave no file, and pass the exception on.
        stopThreads();
        encoder_.reset();
        partial_.reset();
        running_ = false;
        throw;
    }
    endTime_ = std::chrono::steady_clock::now();
    running_ = false;
    emitProgress(kStatusFinished, framesDone_.load(), ok ? 100 : 0);
    encoder_.reset();
    return ok;
}

bool FfmpegConverter::run() {
    const QString output = videoFile_.isEmpty() ? audioFile_ : videoFile_;
    if (output.isEmpty()) {
        return stopsOn(kErrorFormat, texts::kMclNoOutputFile);
    }
    if (width_ < 16 || height_ < 16 || width_ > 4096 || height_ > 4096) {
        return stopsOn(kErrorFormat,
                       texts::kMclBadSize.arg(QString::number(width_), QString::number(height_)));
    }
    emitProgress(kStatusPreparing, 0, 0);
    const QStringList pictures = readList(videoSource_);
    QStringList sounds = readList(audioSource_);
    if (aborted()) {
        return false;
    }
    if (pictures.isEmpty()) {
        return stopsOn(kErrorFormat, texts::kMclNoPictures);
    }
    // A file that is not sound is found before anything is written.
    QSet<QString> checked;
    for (qsizetype i = 0; i < sounds.size();) {
        const QString file = sounds[i];
        if (checked.contains(file)) {
            ++i;
            continue;
        }
        try {
            probeAudio(file);
            checked.insert(file);
            ++i;
        } catch (const FileError& e) {
            if (report(kErrorSoundFile, texts::kMclSoundFile.arg(file, e.reason()))) {
                return false;
            }
            sounds.removeAll(file);
            error_ = kErrorNone;
            errorText_.clear();
        }
        if (aborted()) {
            return false;
        }
    }

    const qint64 outputFrames = outputFramesBefore(pictures.size(), tv_, keepDuration_);
    EncoderSettings s = settings(sounds, outputFrames);
    // What killed productions left in this folder goes; then the output is written under a
    // fresh name of its own.
    removeStalePartialFiles(QFileInfo(output).absolutePath());
    try {
        partial_ = std::make_unique<PartialFile>(output);
    } catch (const FileError& e) {
        return stopsOn(kErrorOutput,
                       texts::kMclReason.arg(texts::kMclCannotWrite.arg(output), e.reason()));
    }
    s.path = partial_->path();
    s.fd = partial_->descriptor();
    try {
        encoder_ = std::make_unique<Encoder>(s);
    } catch (const Failure& f) {
        encoder_.reset();
        partial_.reset();
        return stopsOn(f.code, f.text);
    }
    pictures_.setCapacity(static_cast<std::size_t>(
        std::clamp<qint64>(kQueueBytes / (qint64{4} * std::max(1, s.width) * std::max(1, s.height)),
                           1, kQueueLength)));
    for (int t = 0; t < kConversionThreads; ++t) {
        converterThreads_[t] = std::thread([this, t] { convertLoop(t); });
    }
    encoderThread_ = std::thread([this] { encodeLoop(); });

    const int total = static_cast<int>(pictures.size());
    QImage last;
    bool stopped = false;
    for (int i = 0; i < total && !stopped; ++i) {
        QImage image;
        if (videoFunc_) {
            videoFunc_(*this, image, i);
        }
        if (aborted()) {
            break;
        }
        if (image.isNull() && !image.load(pictures[i])) {
            if (report(kErrorFrame, texts::kMclFrameUnreadable.arg(pictures[i]))) {
                stopped = true;
                break;
            }
            error_ = kErrorNone;
            errorText_.clear();
            image = last.isNull() ? QImage(width_, height_, QImage::Format_RGB32) : last;
            if (last.isNull()) {
                image.fill(Qt::black);
            }
        }
        last = image;
        const qint64 repeats = outputFramesBefore(i + 1, tv_, keepDuration_) -
                               outputFramesBefore(i, tv_, keepDuration_);
        QueuedPicture queued{i, std::move(image), static_cast<int>(repeats), false,
                             keyFrames_.contains(i)};
        auto pushed = pictures_.pushFor(queued, kWaitSlice);
        while (pushed == Channel<QueuedPicture>::Push::Full && !aborted()) {
            emitProgress(kStatusWaiting, i, i * 100 / total);
            pushed = pictures_.pushFor(queued, kWaitSlice);
        }
        if (pushed != Channel<QueuedPicture>::Push::Done) {
            break;
        }
        framesDone_ = i + 1;
        callAudioFunc();
        if ((i + 1) % kAlbumFramesPerSecond == 0 || i + 1 == total) {
            emitProgress(kStatusEncoding, i + 1, (i + 1) * 100 / total);
        }
    }
    if (stopped || aborted()) {
        stopThreads();
    } else {
        QueuedPicture end{total, {}, 0, true};
        while (pictures_.pushFor(end, kWaitSlice) == Channel<QueuedPicture>::Push::Full) {
            emitProgress(kStatusWaiting, total, 100);
        }
        waitForEncoder(total);
        // The other conversion thread still waits for a picture.
        pictures_.stop();
        frames_.stop();
        joinThreads();
    }
    callAudioFunc();

    std::optional<Failure> failure;
    {
        std::lock_guard lock(failureMutex_);
        failure = failure_;
    }
    const bool completed = completed_ && !stopped && !aborted();
    notices_ = encoder_->soundProblems();
    encoder_.reset();
    if (failure && !aborted()) {
        partial_.reset();
        return stopsOn(failure->code, failure->text);
    }
    if (!completed) {
        partial_.reset();
        return false;
    }
    emitProgress(kStatusMultiplexing, total, 100);
    try {
        partial_->commit();
    } catch (const FileError& e) {
        partial_.reset();
        return stopsOn(kErrorOutput,
                       texts::kMclReason.arg(texts::kMclCannotRename.arg(output), e.reason()));
    }
    partial_.reset();
    return true;
}

}  // namespace

std::unique_ptr<Converter> createConverter() {
    return std::make_unique<FfmpegConverter>();
}

}  // namespace vellumo::mcl
