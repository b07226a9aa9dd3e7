#include "media/mcl.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include "media/audio_decoder.h"
#include "media/ffmpeg_handles.h"
#include "media/media_texts.h"
#include "workspace/errors.h"
#include "workspace/leftovers.h"
#include "workspace/regular_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

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

using av::CodecDeleter;
using av::FrameDeleter;
using av::InputDeleter;
using av::OutputDeleter;
using av::PacketDeleter;
using av::ResamplerDeleter;

// ---------------------------------------------------------------------------------------------
// Presets

struct PresetFormat {
    const char* muxer;
    const char* videoEncoder;
    const char* audioEncoder;
    int sampleRate;
    int audioBitRate;
    int standardKbps;  // the preset's own rate
    int standardMaxKbps;
    int highKbps;  // ceiling of videoSetBitRate
    int highMaxKbps;
    int vbvBits;  // 0: one second at the maximum rate
    int gopPal;
    int gopNtsc;
    int bFrames;
};

// Order of Preset.
constexpr PresetFormat kPresets[] = {
    {"mpeg", "mpeg1video", "mp2", 44100, 224000, 1150, 1150, 3000, 3000, 327680, 15, 18, 2},
    {"svcd", "mpeg2video", "mp2", 44100, 224000, 2500, 2600, 6000, 8000, 917504, 15, 18, 2},
    {"dvd", "mpeg2video", "ac3", 48000, 192000, 5000, 8000, 8000, 9000, 1835008, 15, 18, 2},
    {"avi", "mpeg4", "libmp3lame", 44100, 192000, 2000, 4000, 8000, 12000, 0, 50, 60, 0},
    {"mp4", "libx264", "aac", 48000, 160000, 2500, 5000, 8000, 12000, 0, 50, 60, 2},
};

constexpr int kAlbumFramesPerSecond = 25;
constexpr int kQueueLength = 4;       // pictures waiting for colour conversion
constexpr int kFrameQueueLength = 3;  // converted frames waiting for the encoder
constexpr int kConversionThreads = 2;
constexpr int kFrameAlign = 32;
// How long the caller's thread waits on the converter's threads before it tells the caller.
constexpr auto kWaitSlice = std::chrono::milliseconds(20);

QString ffmpegReason(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

// An error inside the encoder: code and the text the user sees.
struct Failure {
    int code;
    QString text;
};

[[noreturn]] void fail(int code, const QString& text, int ffmpegCode = 0) {
    throw Failure{code,
                  ffmpegCode < 0 ? texts::kMclReason.arg(text, ffmpegReason(ffmpegCode)) : text};
}

struct FifoDeleter {
    void operator()(AVAudioFifo* f) const { av_audio_fifo_free(f); }
};
struct PoolDeleter {
    void operator()(AVBufferPool* p) const { av_buffer_pool_uninit(&p); }
};
struct ScalerDeleter {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

using CodecPtr = std::unique_ptr<AVCodecContext, CodecDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerDeleter>;

// ---------------------------------------------------------------------------------------------
// Sound input: one file decoded and resampled to planar float stereo at the output rate.

class SoundReader {
public:
    SoundReader(const QString& path, int sampleRate) : path_(path), sampleRate_(sampleRate) {
        if (const QString problem = regularFileProblem(path); !problem.isEmpty()) {
            failHere(problem, 0);
        }
        AVFormatContext* raw = nullptr;
        const QByteArray file = QFile::encodeName(path);
        int ret = avformat_open_input(&raw, file.constData(), nullptr, nullptr);
        if (ret < 0) {
            failHere(texts::kAudioCannotOpen, ret);
        }
        input_.reset(raw);
        if ((ret = avformat_find_stream_info(raw, nullptr)) < 0) {
            failHere(texts::kAudioDamaged, ret);
        }
        const AVCodec* decoder = nullptr;
        stream_ = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
        if (stream_ < 0 || decoder == nullptr) {
            failHere(texts::kAudioNoSound, 0);
        }
        codec_.reset(avcodec_alloc_context3(decoder));
        if (!codec_ ||
            (ret = avcodec_parameters_to_context(codec_.get(), raw->streams[stream_]->codecpar)) <
                0 ||
            (ret = avcodec_open2(codec_.get(), decoder, nullptr)) < 0) {
            failHere(texts::kAudioDamaged, ret);
        }
        AVChannelLayout inputLayout = codec_->ch_layout;
        if (inputLayout.order == AV_CHANNEL_ORDER_UNSPEC) {
            av_channel_layout_default(&inputLayout, inputLayout.nb_channels);
        }
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        SwrContext* resampler = nullptr;
        ret = swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_FLTP, sampleRate, &inputLayout,
                                  codec_->sample_fmt, codec_->sample_rate, 0, nullptr);
        resampler_.reset(resampler);
        if (ret < 0 || (ret = swr_init(resampler)) < 0) {
            failHere(texts::kAudioDamaged, ret);
        }
        packet_.reset(av_packet_alloc());
        frame_.reset(av_frame_alloc());
    }

    // Decodes at least one more frame into fifo; false once the file is exhausted.
    bool readInto(AVAudioFifo* fifo) {
        while (!ended_) {
            if (receive(fifo)) {
                return true;
            }
            const int ret = av_read_frame(input_.get(), packet_.get());
            if (ret < 0) {
                avcodec_send_packet(codec_.get(), nullptr);
                receive(fifo);
                convert(fifo, nullptr, 0);  // what the resampler still holds
                ended_ = true;
                noteEnd(ret);
                return true;
            }
            if (packet_->stream_index == stream_) {
                // A damaged packet is skipped, as players do.
                avcodec_send_packet(codec_.get(), packet_.get());
            }
            av_packet_unref(packet_.get());
        }
        return false;
    }

    // Why the sound of the file ended before its end, empty when it was read whole.
    const QString& problem() const { return problem_; }

private:
    [[noreturn]] void failHere(const QString& reason, int ret) const {
        fail(kErrorSoundFile, texts::kMclSoundFile.arg(path_, reason), ret);
    }

    // A read error, or an end well before the length the file announces, cuts the song short.
    void noteEnd(int ret) {
        const qint64 readMs = readSamples_ * 1000 / sampleRate_;
        if (ret != AVERROR_EOF) {
            problem_ = texts::kMclSoundReadError.arg(path_, makeTimeStr(readMs / 1000.0),
                                                     ffmpegReason(ret));
            return;
        }
        const qint64 lengthMs = input_->duration > 0 ? input_->duration / 1000 : 0;
        if (lengthMs - readMs > std::max<qint64>(kShortfallMs, lengthMs / 20)) {
            problem_ = texts::kMclSoundEndedEarly.arg(path_, makeTimeStr(readMs / 1000.0),
                                                      makeTimeStr(lengthMs / 1000.0));
        }
    }

    bool receive(AVAudioFifo* fifo) {
        bool any = false;
        while (avcodec_receive_frame(codec_.get(), frame_.get()) >= 0) {
            convert(fifo, const_cast<const uint8_t**>(frame_->extended_data), frame_->nb_samples);
            av_frame_unref(frame_.get());
            any = true;
        }
        return any;
    }

    void convert(AVAudioFifo* fifo, const uint8_t** data, int samples) {
        const int room = swr_get_out_samples(resampler_.get(), samples);
        if (room <= 0) {
            return;
        }
        // Convert into a scratch frame, then queue it.
        if (!scratch_ || scratch_->nb_samples < room) {
            scratch_.reset(av_frame_alloc());
            scratch_->format = AV_SAMPLE_FMT_FLTP;
            scratch_->nb_samples = room;
            scratch_->ch_layout = AV_CHANNEL_LAYOUT_STEREO;
            if (av_frame_get_buffer(scratch_.get(), 0) < 0) {
                fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR(ENOMEM));
            }
        }
        const int done = swr_convert(resampler_.get(), scratch_->data, room, data, samples);
        if (done > 0) {
            av_audio_fifo_write(fifo, reinterpret_cast<void**>(scratch_->data), done);
            readSamples_ += done;
        }
    }

    // Sound shorter than its announced length by more than this (or a twentieth) is noted.
    static constexpr qint64 kShortfallMs = 2000;

    QString path_;
    int sampleRate_ = 44100;
    qint64 readSamples_ = 0;
    QString problem_;
    std::unique_ptr<AVFormatContext, InputDeleter> input_;
    CodecPtr codec_;
    ResamplerPtr resampler_;
    PacketPtr packet_;
    FramePtr frame_;
    FramePtr scratch_;
    int stream_ = -1;
    bool ended_ = false;
};

// ---------------------------------------------------------------------------------------------
// The encoder: output file, video and sound streams. Used by one thread at a time.

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
    qint64 outputFrames = 0;
    const std::atomic<bool>* aborted = nullptr;  // makes every write fail at once
};

// The output goes through our own descriptor: the partial file was created exclusively, and is
// never opened again by name for writing.
struct OutputIo {
    int fd = -1;
    const std::atomic<bool>* aborted = nullptr;

    static int write(void* opaque, uint8_t* data, int size) {
        const auto* io = static_cast<const OutputIo*>(opaque);
        if (io->aborted != nullptr && io->aborted->load()) {
            return AVERROR_EXIT;
        }
        int written = 0;
        while (written < size) {
            const ssize_t n = ::write(io->fd, data + written, static_cast<size_t>(size - written));
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return AVERROR(errno);
            }
            written += static_cast<int>(n);
        }
        return written;
    }

    static int64_t seek(void* opaque, int64_t offset, int whence) {
        const auto* io = static_cast<const OutputIo*>(opaque);
        if (whence == AVSEEK_SIZE) {
            struct stat status {};
            return ::fstat(io->fd, &status) == 0 ? static_cast<int64_t>(status.st_size)
                                                 : AVERROR(errno);
        }
        const off_t at = ::lseek(io->fd, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
        return at < 0 ? AVERROR(errno) : static_cast<int64_t>(at);
    }
};

struct IoDeleter {
    void operator()(AVIOContext* io) const {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};

constexpr int kOutputBufferBytes = 1 << 16;

class Encoder {
public:
    explicit Encoder(const EncoderSettings& settings) : s_(settings) {
        const QByteArray path = QFile::encodeName(s_.path);
        AVFormatContext* raw = nullptr;
        int ret = avformat_alloc_output_context2(&raw, nullptr, s_.format->muxer, path.constData());
        if (ret < 0 || raw == nullptr) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
        }
        output_.reset(raw);
        output_->max_delay = 700000;
        openVideo();
        if (!s_.soundFiles.isEmpty()) {
            openAudio();
        }
        ioTarget_ = OutputIo{s_.fd, s_.aborted};
        auto* buffer = static_cast<unsigned char*>(av_malloc(kOutputBufferBytes));
        io_.reset(buffer != nullptr ? avio_alloc_context(buffer, kOutputBufferBytes, 1, &ioTarget_,
                                                         nullptr, &OutputIo::write, &OutputIo::seek)
                                    : nullptr);
        if (!io_) {
            av_free(buffer);
            fail(kErrorOutput, texts::kMclCannotWrite.arg(s_.outputName), AVERROR(ENOMEM));
        }
        output_->pb = io_.get();
        output_->flags |= AVFMT_FLAG_CUSTOM_IO;
        AVDictionary* options = nullptr;
        if (QByteArray(s_.format->muxer) == "mp4") {
            av_dict_set(&options, "movflags", "+faststart", 0);
        }
        ret = avformat_write_header(output_.get(), &options);
        av_dict_free(&options);
        if (ret < 0) {
            fail(kErrorOutput, texts::kMclWriteFailed.arg(s_.outputName), ret);
        }
        packet_.reset(av_packet_alloc());
    }

    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    // Colour conversion, on the conversion thread: the picture as YUV 4:2:0 at the output size.
    FramePtr convertPicture(int thread, const QImage& picture) {
        QImage image = picture;
        if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32 &&
            image.format() != QImage::Format_ARGB32_Premultiplied) {
            image = image.convertToFormat(QImage::Format_RGB32);
        }
        Scaler& scaler = scalers_[thread];
        if (!scaler.context || image.size() != scaler.input) {
            scaler.context.reset(sws_getContext(image.width(), image.height(), AV_PIX_FMT_RGB32,
                                                s_.width, s_.height, AV_PIX_FMT_YUV420P,
                                                SWS_BICUBIC, nullptr, nullptr, nullptr));
            if (!scaler.context) {
                fail(kErrorEncoder, texts::kMclEncoderFailed);
            }
            const int matrix = hd() ? SWS_CS_ITU709 : SWS_CS_ITU601;
            sws_setColorspaceDetails(scaler.context.get(), sws_getCoefficients(SWS_CS_DEFAULT), 1,
                                     sws_getCoefficients(matrix), 0, 0, 1 << 16, 1 << 16);
            scaler.input = image.size();
        }
        FramePtr frame(av_frame_alloc());
        if (!frame || (frame->buf[0] = av_buffer_pool_get(framePool_.get())) == nullptr) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR(ENOMEM));
        }
        frame->format = AV_PIX_FMT_YUV420P;
        frame->width = s_.width;
        frame->height = s_.height;
        av_image_fill_arrays(frame->data, frame->linesize, frame->buf[0]->data, AV_PIX_FMT_YUV420P,
                             s_.width, s_.height, kFrameAlign);
        const uint8_t* source[4] = {image.constBits(), nullptr, nullptr, nullptr};
        const int stride[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
        sws_scale(scaler.context.get(), source, stride, 0, image.height(), frame->data,
                  frame->linesize);
        return frame;
    }

    // Encoding, on the encoder thread: the frame shown for repeats output frames, and the sound
    // up to its end.
    void encodeFrame(AVFrame* frame, int repeats) {
        for (int i = 0; i < repeats; ++i) {
            frame->pts = videoPts_++;
            send(video_.get(), videoStream_, frame);
            pumpAudio(std::min(audioLimit_, samplesAt(videoPts_)));
        }
    }

    // Flushes the encoders, ends the sound at the pictures' end and writes the trailer.
    void finish() {
        send(video_.get(), videoStream_, nullptr);
        if (audio_) {
            pumpAudio(audioLimit_);
            send(audio_.get(), audioStream_, nullptr);
        }
        int ret = av_write_trailer(output_.get());
        if (ret < 0) {
            fail(kErrorOutput, texts::kMclWriteFailed.arg(s_.outputName), ret);
        }
        avio_flush(io_.get());
        if (io_->error < 0) {
            fail(kErrorOutput, texts::kMclWriteFailed.arg(s_.outputName), io_->error);
        }
        // On the disk before it takes the output's name; here, so the caller's thread never
        // waits for the disk without telling its window.
        if (::fsync(s_.fd) != 0) {
            fail(kErrorOutput, texts::kMclWriteFailed.arg(s_.outputName), AVERROR(errno));
        }
    }

    // Songs whose sound ended before their end, one line each.
    QStringList soundProblems() const {
        std::lock_guard lock(problemsMutex_);
        return soundProblems_;
    }

    int audioFrames() const { return audioFrames_.load(); }
    // Sound written so far, in samples at kSampleCountRate.
    qint64 samplesWritten() const {
        return audio_ ? audioSamples_.load() * kSampleCountRate / s_.format->sampleRate : 0;
    }

private:
    bool hd() const { return s_.height >= 720; }

    AVRational frameDuration() const {
        return s_.tv == TvSystem::Ntsc ? AVRational{1001, 30000} : AVRational{1, 25};
    }

    // Sound samples up to the start of output frame pts.
    qint64 samplesAt(qint64 pts) const {
        if (!audio_) {
            return 0;
        }
        const AVRational d = frameDuration();
        return av_rescale(pts, static_cast<int64_t>(d.num) * s_.format->sampleRate, d.den);
    }

    void openVideo() {
        const AVCodec* codec = avcodec_find_encoder_by_name(s_.format->videoEncoder);
        if (codec == nullptr) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR_ENCODER_NOT_FOUND);
        }
        video_.reset(avcodec_alloc_context3(codec));
        AVCodecContext* c = video_.get();
        c->width = s_.width;
        c->height = s_.height;
        c->pix_fmt = AV_PIX_FMT_YUV420P;
        c->time_base = frameDuration();
        c->framerate = av_inv_q(c->time_base);
        c->sample_aspect_ratio = AVRational{1, 1};
        c->gop_size = s_.tv == TvSystem::Ntsc ? s_.format->gopNtsc : s_.format->gopPal;
        c->max_b_frames = s_.format->bFrames;
        c->bit_rate = static_cast<int64_t>(s_.videoKbps) * 1000;
        c->rc_max_rate = static_cast<int64_t>(s_.videoMaxKbps) * 1000;
        c->rc_min_rate = static_cast<int64_t>(s_.videoMinKbps) * 1000;
        c->rc_buffer_size =
            s_.format->vbvBits > 0 ? s_.format->vbvBits : static_cast<int>(c->rc_max_rate);
        c->thread_count = 0;  // as many as the machine has, the way the ffmpeg program does
        if (hd()) {
            c->colorspace = AVCOL_SPC_BT709;
            c->color_primaries = AVCOL_PRI_BT709;
            c->color_trc = AVCOL_TRC_BT709;
        } else {
            c->colorspace = AVCOL_SPC_SMPTE170M;
        }
        if (codec->id == AV_CODEC_ID_MPEG4) {
            c->codec_tag = MKTAG('X', 'V', 'I', 'D');
        }
        if (codec->id == AV_CODEC_ID_H264) {
            av_opt_set(c->priv_data, "preset", "veryfast", 0);
        }
        if (output_->oformat->flags & AVFMT_GLOBALHEADER) {
            c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        }
        int ret = avcodec_open2(c, codec, nullptr);
        if (ret < 0) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
        }
        videoStream_ = newStream(c);
        videoStream_->avg_frame_rate = c->framerate;
        const int bytes =
            av_image_get_buffer_size(AV_PIX_FMT_YUV420P, s_.width, s_.height, kFrameAlign);
        framePool_.reset(bytes > 0 ? av_buffer_pool_init(static_cast<size_t>(bytes), nullptr)
                                   : nullptr);
        if (!framePool_) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR(ENOMEM));
        }
    }

    void openAudio() {
        const AVCodec* codec = avcodec_find_encoder_by_name(s_.format->audioEncoder);
        if (codec == nullptr) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR_ENCODER_NOT_FOUND);
        }
        audio_.reset(avcodec_alloc_context3(codec));
        AVCodecContext* c = audio_.get();
        c->sample_rate = s_.format->sampleRate;
        c->ch_layout = AV_CHANNEL_LAYOUT_STEREO;
        c->bit_rate = s_.format->audioBitRate;
        c->time_base = AVRational{1, s_.format->sampleRate};
        c->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
        for (const AVSampleFormat* f = codec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f) {
            if (*f == AV_SAMPLE_FMT_FLTP) {
                c->sample_fmt = AV_SAMPLE_FMT_FLTP;
            }
        }
        if (output_->oformat->flags & AVFMT_GLOBALHEADER) {
            c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        }
        int ret = avcodec_open2(c, codec, nullptr);
        if (ret < 0) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
        }
        audioStream_ = newStream(c);
        frameSize_ = c->frame_size > 0 ? c->frame_size : 1152;

        fifo_.reset(av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, 2, frameSize_ * 4));
        floatFrame_ = makeAudioFrame(AV_SAMPLE_FMT_FLTP);
        if (c->sample_fmt != AV_SAMPLE_FMT_FLTP) {
            encoderFrame_ = makeAudioFrame(c->sample_fmt);
            SwrContext* raw = nullptr;
            ret =
                swr_alloc_set_opts2(&raw, &c->ch_layout, c->sample_fmt, c->sample_rate,
                                    &c->ch_layout, AV_SAMPLE_FMT_FLTP, c->sample_rate, 0, nullptr);
            toEncoder_.reset(raw);
            if (ret < 0 || (ret = swr_init(raw)) < 0) {
                fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
            }
        }
        audioLimit_ = samplesAt(s_.outputFrames);
        // Without gapless information in the container the decoder also plays the encoder's
        // priming samples; they count towards the length.
        if (QByteArray(s_.format->muxer) == "avi") {
            audioLimit_ = std::max<qint64>(0, audioLimit_ - c->initial_padding);
        }
        fadeSamples_ =
            std::max<qint64>(1, std::min<qint64>(s_.format->sampleRate, audioLimit_ / 2));
    }

    FramePtr makeAudioFrame(AVSampleFormat format) const {
        FramePtr frame(av_frame_alloc());
        frame->format = format;
        frame->nb_samples = frameSize_;
        frame->sample_rate = s_.format->sampleRate;
        frame->ch_layout = AV_CHANNEL_LAYOUT_STEREO;
        const int ret = av_frame_get_buffer(frame.get(), 0);
        if (ret < 0) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
        }
        return frame;
    }

    AVStream* newStream(AVCodecContext* c) {
        AVStream* stream = avformat_new_stream(output_.get(), nullptr);
        if (stream == nullptr) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR(ENOMEM));
        }
        stream->time_base = c->time_base;
        int ret = avcodec_parameters_from_context(stream->codecpar, c);
        if (ret < 0) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
        }
        // The rate-control properties (CPB) tell the muxer the buffer sizes.
        for (int i = 0; i < c->nb_coded_side_data; ++i) {
            const AVPacketSideData& side = c->coded_side_data[i];
            uint8_t* copy = av_stream_new_side_data(stream, side.type, side.size);
            if (copy == nullptr) {
                fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR(ENOMEM));
            }
            std::copy(side.data, side.data + side.size, copy);
        }
        return stream;
    }

    void send(AVCodecContext* c, AVStream* stream, AVFrame* frame) {
        int ret = avcodec_send_frame(c, frame);
        if (ret < 0) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
        }
        while ((ret = avcodec_receive_packet(c, packet_.get())) >= 0) {
            av_packet_rescale_ts(packet_.get(), c->time_base, stream->time_base);
            packet_->stream_index = stream->index;
            ret = av_interleaved_write_frame(output_.get(), packet_.get());
            if (ret < 0) {
                fail(kErrorOutput, texts::kMclWriteFailed.arg(s_.outputName), ret);
            }
        }
        if (ret != AVERROR(EAGAIN) && ret != AVERROR_EOF) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
        }
    }

    // Encodes whole sound frames up to sample limit (or until the sound files run out).
    void pumpAudio(qint64 limit) {
        if (!audio_) {
            return;
        }
        while (audioSamples_.load() + frameSize_ <= limit) {
            while (av_audio_fifo_size(fifo_.get()) < frameSize_) {
                if (!readSound()) {
                    return;
                }
            }
            int ret = av_frame_make_writable(floatFrame_.get());
            if (ret < 0) {
                fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
            }
            av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(floatFrame_->data),
                               frameSize_);
            fadeOut(floatFrame_.get());
            AVFrame* frame = floatFrame_.get();
            if (toEncoder_) {
                if ((ret = av_frame_make_writable(encoderFrame_.get())) < 0) {
                    fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
                }
                swr_convert(toEncoder_.get(), encoderFrame_->data, frameSize_,
                            const_cast<const uint8_t**>(floatFrame_->data), frameSize_);
                frame = encoderFrame_.get();
            }
            frame->pts = audioSamples_.load();
            send(audio_.get(), audioStream_, frame);
            audioSamples_ += frameSize_;
            ++audioFrames_;
        }
    }

    // The sound fades out over the last second before the pictures end.
    void fadeOut(AVFrame* frame) const {
        const qint64 first = audioSamples_.load();
        if (first + frameSize_ < audioLimit_ - fadeSamples_) {
            return;
        }
        for (int ch = 0; ch < 2; ++ch) {
            auto* samples = reinterpret_cast<float*>(frame->data[ch]);
            for (int i = 0; i < frameSize_; ++i) {
                const qint64 left = audioLimit_ - (first + i);
                if (left < fadeSamples_) {
                    samples[i] *= static_cast<float>(std::max<qint64>(left, 0)) /
                                  static_cast<float>(fadeSamples_);
                }
            }
        }
    }

    // Decodes more of the sound files into the queue; false when all are used up.
    bool readSound() {
        while (true) {
            if (!reader_) {
                if (nextSound_ >= s_.soundFiles.size()) {
                    return false;
                }
                reader_ = std::make_unique<SoundReader>(s_.soundFiles[nextSound_++],
                                                        s_.format->sampleRate);
            }
            if (reader_->readInto(fifo_.get())) {
                return true;
            }
            if (!reader_->problem().isEmpty()) {
                std::lock_guard lock(problemsMutex_);
                if (!soundProblems_.contains(reader_->problem())) {
                    soundProblems_.append(reader_->problem());
                }
            }
            reader_.reset();
        }
    }

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
    std::unique_ptr<SoundReader> reader_;
    qsizetype nextSound_ = 0;
    int frameSize_ = 1152;
    qint64 audioLimit_ = 0;
    qint64 fadeSamples_ = 1;
    std::atomic<qint64> audioSamples_{0};
    std::atomic<int> audioFrames_{0};
};

// ---------------------------------------------------------------------------------------------
// The converter: the caller's loop, then a conversion thread and an encoder thread, joined by
// short queues.

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
};

struct QueuedFrame {
    FramePtr frame;
    int repeats = 1;
    bool end = false;
};

// Converted frames from several conversion threads, taken out in picture order. A frame more
// than window places ahead of the next one waits.
class FrameReorder {
public:
    explicit FrameReorder(qint64 window) : window_(window) {}

    bool push(qint64 index, QueuedFrame frame) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopped_ || index < next_ + window_; });
        if (stopped_) {
            return false;
        }
        items_.emplace(index, std::move(frame));
        changed_.notify_all();
        return true;
    }

    std::optional<QueuedFrame> pop() {
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
        next_ = 0;
    }

private:
    qint64 window_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<qint64, QueuedFrame> items_;
    qint64 next_ = 0;
    bool stopped_ = false;
};

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
    void audioSetCodec(int) override {}
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
                if (!frames_.push(picture->index,
                                  QueuedFrame{std::move(frame), picture->repeats, false})) {
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
                encoder_->encodeFrame(frame->frame.get(), frame->repeats);
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
    int width_ = 352;
    int height_ = 288;
    std::optional<BitRate> bitRate_;
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
    s.format = &kPresets[static_cast<int>(preset_)];
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
    s.aborted = &aborted_;
    s.outputFrames = outputFrames;
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
        QueuedPicture queued{i, std::move(image), static_cast<int>(repeats), false};
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
