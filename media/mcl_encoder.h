#pragma once

// The conversion library's output: the video and sound encoders and the muxer that writes them
// into the file. Used by one thread at a time, except that colour conversion runs on the
// conversion threads, one scaler each.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <memory>
#include <mutex>

#include "media/mcl_common.h"
#include "media/mcl_presets.h"
#include "media/mcl_sound_join.h"
#include "media/mcl_subtitles.h"

namespace vellumo::mcl::detail {

inline constexpr int kConversionThreads = 2;

struct EncoderSettings {
    const PresetFormat* format = nullptr;
    TvSystem tv = TvSystem::Pal;
    int width = 0;
    int height = 0;
    int videoKbps = 0;
    int videoMaxKbps = 0;
    int videoMinKbps = 0;
    QString path;  // the partial file, open for writing as fd
    int fd = -1;
    QString outputName;  // for messages
    QStringList soundFiles;
    SoundMixing mixing;
    QVector<Subtitle> subtitles;  // written into MP4 and MOV files only
    qint64 outputFrames = 0;
    // Chapters: the output frame each starts at and its title, in order (MP4 only).
    QVector<QPair<qint64, QString>> chapters;
    const std::atomic<bool>* aborted = nullptr;  // makes every write fail at once
};

// The output goes through our own descriptor: the partial file was created exclusively, and is
// never opened again by name for writing.
struct OutputIo {
    int fd = -1;
    const std::atomic<bool>* aborted = nullptr;

    static int write(void* opaque, uint8_t* data, int size);
    static int64_t seek(void* opaque, int64_t offset, int whence);
};

struct IoDeleter {
    void operator()(AVIOContext* io) const {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};

class Encoder {
public:
    // Opens the encoders and writes the file's header; fails with a Failure.
    explicit Encoder(const EncoderSettings& settings);

    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    // Colour conversion, on the conversion thread: the picture as YUV 4:2:0 at the output size.
    FramePtr convertPicture(int thread, const QImage& picture);
    // Encoding, on the encoder thread: the frame shown for repeats output frames, and the sound
    // up to its end. With key the first of them starts a GOP of its own.
    void encodeFrame(AVFrame* frame, int repeats, bool key = false);
    // Flushes the encoders, ends the sound at the pictures' end and writes the trailer.
    void finish();

    // Songs whose sound ended before their end, one line each.
    QStringList soundProblems() const;

    int audioFrames() const { return audioFrames_.load(); }
    // Sound written so far, in samples at kSampleCountRate.
    qint64 samplesWritten() const;

private:
    bool hd() const { return s_.height >= 720; }
    // The chapters of the settings as the muxer's, before the header is written.
    void addChapters();
    // Where the picture goes in the frame: the whole frame, or for a disc preset the part that
    // keeps the picture's shape on the display (letterboxed or pillarboxed).
    QRect pictureArea(QSize picture) const;

    AVRational frameDuration() const;
    // Sound samples up to the start of output frame pts.
    qint64 samplesAt(qint64 pts) const;
    void openVideo();
    void openAudio();
    FramePtr makeAudioFrame(AVSampleFormat format) const;
    AVStream* newStream(AVCodecContext* c);
    void send(AVCodecContext* c, AVStream* stream, AVFrame* frame);
    // Encodes whole sound frames up to sample limit (or until the sound files run out).
    void pumpAudio(qint64 limit);
    // The sound fades in over its first samples and out over its last before the pictures
    // end (the mixing's lengths).
    void fade(AVFrame* frame) const;
    // Decodes more of the sound files into the queue; false when all are used up.
    bool readSound();

    EncoderSettings s_;
    std::unique_ptr<AVFormatContext, OutputDeleter> output_;
    OutputIo ioTarget_;
    std::unique_ptr<AVIOContext, IoDeleter> io_;
    mutable std::mutex problemsMutex_;
    QStringList soundProblems_;
    CodecPtr video_;
    CodecPtr audio_;
    AVStream* videoStream_ = nullptr;
    AVStream* audioStream_ = nullptr;
    std::unique_ptr<AVBufferPool, PoolDeleter> framePool_;
    PacketPtr packet_;
    struct Scaler {
        std::unique_ptr<SwsContext, ScalerDeleter> context;
        QSize input;
    };
    Scaler scalers_[kConversionThreads];  // one per conversion thread
    qint64 videoPts_ = 0;

    std::unique_ptr<AVAudioFifo, FifoDeleter> fifo_;
    FramePtr floatFrame_;
    FramePtr encoderFrame_;
    ResamplerPtr toEncoder_;
    std::unique_ptr<SoundJoiner> joiner_;
    std::unique_ptr<SubtitleTrack> subtitles_;
    int frameSize_ = 1152;
    qint64 audioLimit_ = 0;
    qint64 fadeSamples_ = 1;
    qint64 fadeInSamples_ = 0;
    std::atomic<qint64> audioSamples_{0};
    std::atomic<int> audioFrames_{0};
};

}  // namespace vellumo::mcl::detail
