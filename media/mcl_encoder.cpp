#include "media/mcl_encoder.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace vellumo::mcl::detail {

namespace {

constexpr int kFrameAlign = 32;
constexpr int kOutputBufferBytes = 1 << 16;

}  // namespace

int OutputIo::write(void* opaque, uint8_t* data, int size) {
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

int64_t OutputIo::seek(void* opaque, int64_t offset, int whence) {
    const auto* io = static_cast<const OutputIo*>(opaque);
    if (whence == AVSEEK_SIZE) {
        struct stat status {};
        return ::fstat(io->fd, &status) == 0 ? static_cast<int64_t>(status.st_size)
                                             : AVERROR(errno);
    }
    const off_t at = ::lseek(io->fd, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : static_cast<int64_t>(at);
}

Encoder::Encoder(const EncoderSettings& settings) : s_(settings) {
    const QByteArray path = QFile::encodeName(s_.path);
    AVFormatContext* raw = nullptr;
    int ret = avformat_alloc_output_context2(&raw, nullptr, s_.format->muxer, path.constData());
    if (ret < 0 || raw == nullptr) {
        fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
    }
    output_.reset(raw);
    output_->max_delay = 700000;
    openVideo();
    if (!s_.soundFiles.isEmpty() || s_.format->soundAlways) {
        openAudio();
    }
    if (!s_.subtitles.isEmpty() &&
        (QByteArray(s_.format->muxer) == "mp4" || QByteArray(s_.format->muxer) == "mov")) {
        subtitles_ = std::make_unique<SubtitleTrack>(output_.get(), s_.subtitles);
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
        addChapters();
    }
    if (s_.format->packetSize > 0) {
        output_->packet_size = static_cast<unsigned>(s_.format->packetSize);
    }
    if (s_.format->muxRate > 0) {
        av_dict_set_int(&options, "muxrate", s_.format->muxRate, 0);
    }
    if (s_.format->preloadUs > 0) {
        av_dict_set_int(&options, "preload", s_.format->preloadUs, 0);
    }
    ret = avformat_write_header(output_.get(), &options);
    av_dict_free(&options);
    if (ret < 0) {
        fail(kErrorOutput, texts::kMclWriteFailed.arg(s_.outputName), ret);
    }
    packet_.reset(av_packet_alloc());
}

void Encoder::addChapters() {
    if (s_.chapters.isEmpty()) {
        return;
    }
    const auto count = static_cast<size_t>(s_.chapters.size());
    output_->chapters = static_cast<AVChapter**>(av_calloc(count, sizeof(AVChapter*)));
    if (output_->chapters == nullptr) {
        fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR(ENOMEM));
    }
    const AVRational frame = frameDuration();
    for (size_t i = 0; i < count; ++i) {
        // The context frees each chapter and its title with itself.
        auto* chapter = static_cast<AVChapter*>(av_mallocz(sizeof(AVChapter)));
        if (chapter == nullptr) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR(ENOMEM));
        }
        output_->chapters[i] = chapter;
        output_->nb_chapters = static_cast<unsigned>(i + 1);
        const qint64 end =
            i + 1 < count ? s_.chapters[static_cast<qsizetype>(i + 1)].first : s_.outputFrames;
        chapter->id = static_cast<int64_t>(i + 1);
        chapter->time_base = frame;
        chapter->start = s_.chapters[static_cast<qsizetype>(i)].first;
        chapter->end = std::max<int64_t>(chapter->start + 1, end);
        av_dict_set(&chapter->metadata, "title",
                    s_.chapters[static_cast<qsizetype>(i)].second.toUtf8().constData(), 0);
    }
}

QRect Encoder::pictureArea(QSize picture) const {
    const QRect frame(0, 0, s_.width, s_.height);
    if (s_.format->displayAspectNum <= 0 || picture.isEmpty()) {
        return frame;
    }
    // Shown at the display aspect, the frame is displayAspect wide; the picture keeps its own.
    const double display =
        static_cast<double>(s_.format->displayAspectNum) / s_.format->displayAspectDen;
    const double shape = static_cast<double>(picture.width()) / picture.height();
    QRect area = frame;
    if (shape > display * 1.01) {
        area.setHeight(static_cast<int>(s_.height * display / shape) & ~1);
    } else if (shape < display / 1.01) {
        area.setWidth(static_cast<int>(s_.width * shape / display) & ~1);
    }
    // Even offsets keep the chroma rows and columns aligned.
    area.moveTo(((s_.width - area.width()) / 2) & ~1, ((s_.height - area.height()) / 2) & ~1);
    return area;
}

FramePtr Encoder::convertPicture(int thread, const QImage& picture) {
    QImage image = picture;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32 &&
        image.format() != QImage::Format_ARGB32_Premultiplied) {
        image = image.convertToFormat(QImage::Format_RGB32);
    }
    Scaler& scaler = scalers_[thread];
    const QRect area = pictureArea(image.size());
    if (!scaler.context || image.size() != scaler.input) {
        scaler.context.reset(sws_getContext(image.width(), image.height(), AV_PIX_FMT_RGB32,
                                            area.width(), area.height(), AV_PIX_FMT_YUV420P,
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
    uint8_t* target[4] = {frame->data[0], frame->data[1], frame->data[2], nullptr};
    if (area.size() != QSize(s_.width, s_.height)) {
        // Black bars (video black: Y 16, no colour) around the picture.
        std::fill_n(frame->data[0], static_cast<size_t>(frame->linesize[0]) * s_.height, 16);
        for (int plane = 1; plane < 3; ++plane) {
            std::fill_n(frame->data[plane],
                        static_cast<size_t>(frame->linesize[plane]) * (s_.height / 2), 128);
        }
        target[0] += area.y() * frame->linesize[0] + area.x();
        for (int plane = 1; plane < 3; ++plane) {
            target[plane] += (area.y() / 2) * frame->linesize[plane] + area.x() / 2;
        }
    }
    sws_scale(scaler.context.get(), source, stride, 0, image.height(), target, frame->linesize);
    return frame;
}

void Encoder::encodeFrame(AVFrame* frame, int repeats, bool key) {
    for (int i = 0; i < repeats; ++i) {
        frame->pts = videoPts_++;
        frame->pict_type = key && i == 0 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
        send(video_.get(), videoStream_, frame);
        pumpAudio(std::min(audioLimit_, samplesAt(videoPts_)));
    }
}

void Encoder::finish() {
    send(video_.get(), videoStream_, nullptr);
    if (audio_) {
        pumpAudio(audioLimit_);
        send(audio_.get(), audioStream_, nullptr);
    }
    if (subtitles_) {
        subtitles_->write(output_.get(), packet_.get(), s_.outputName);
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

QStringList Encoder::soundProblems() const {
    std::lock_guard lock(problemsMutex_);
    return soundProblems_;
}

qint64 Encoder::samplesWritten() const {
    return audio_ ? audioSamples_.load() * kSampleCountRate / s_.format->sampleRate : 0;
}

AVRational Encoder::frameDuration() const {
    return s_.tv == TvSystem::Ntsc ? AVRational{1001, 30000} : AVRational{1, 25};
}

qint64 Encoder::samplesAt(qint64 pts) const {
    if (!audio_) {
        return 0;
    }
    const AVRational d = frameDuration();
    return av_rescale(pts, static_cast<int64_t>(d.num) * s_.format->sampleRate, d.den);
}

void Encoder::openVideo() {
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
    if (s_.format->displayAspectNum > 0) {
        // Pixels as wide as the frame shown at the display aspect makes them.
        av_reduce(&c->sample_aspect_ratio.num, &c->sample_aspect_ratio.den,
                  static_cast<int64_t>(s_.format->displayAspectNum) * s_.height,
                  static_cast<int64_t>(s_.format->displayAspectDen) * s_.width, 1 << 16);
    }
    if (s_.format->closedGops) {
        // The encoder closes GOPs only where it places them itself, not at scene changes.
        c->flags |= AV_CODEC_FLAG_CLOSED_GOP;
        av_opt_set_int(c->priv_data, "sc_threshold", 1000000000, 0);
    }
    if (s_.format->scanOffsets) {
        av_opt_set_int(c->priv_data, "scan_offset", 1, 0);
    }
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
    if (codec->id == AV_CODEC_ID_HEVC) {
        // H.265 costs several times H.264's work per frame: its fastest preset keeps an album
        // within a few times its length; players of Apple's make want the "hvc1" tag.
        av_opt_set(c->priv_data, "preset", "ultrafast", 0);
        av_opt_set(c->priv_data, "x265-params", "log-level=error", 0);
        c->codec_tag = MKTAG('h', 'v', 'c', '1');
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

void Encoder::openAudio() {
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
        ret = swr_alloc_set_opts2(&raw, &c->ch_layout, c->sample_fmt, c->sample_rate, &c->ch_layout,
                                  AV_SAMPLE_FMT_FLTP, c->sample_rate, 0, nullptr);
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
    const qint64 rate = s_.format->sampleRate;
    fadeSamples_ = std::max<qint64>(
        1, std::min<qint64>(rate * std::max(0, s_.mixing.fadeOutMs) / 1000, audioLimit_ / 2));
    fadeInSamples_ =
        std::min<qint64>(rate * std::max(0, s_.mixing.fadeInMs) / 1000, audioLimit_ / 2);
    joiner_ = std::make_unique<SoundJoiner>(s_.soundFiles, s_.mixing, s_.format->sampleRate);
}

FramePtr Encoder::makeAudioFrame(AVSampleFormat format) const {
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

AVStream* Encoder::newStream(AVCodecContext* c) {
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

void Encoder::send(AVCodecContext* c, AVStream* stream, AVFrame* frame) {
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

void Encoder::pumpAudio(qint64 limit) {
    if (!audio_) {
        return;
    }
    while (audioSamples_.load() + frameSize_ <= limit) {
        while (av_audio_fifo_size(fifo_.get()) < frameSize_) {
            if (readSound()) {
                continue;
            }
            if (!s_.format->soundAlways) {
                return;
            }
            // Silence to the end of the pictures.
            std::vector<float> silence(static_cast<size_t>(frameSize_), 0.0F);
            void* planes[2] = {silence.data(), silence.data()};
            av_audio_fifo_write(fifo_.get(), planes, frameSize_);
        }
        int ret = av_frame_make_writable(floatFrame_.get());
        if (ret < 0) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
        }
        av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(floatFrame_->data), frameSize_);
        fade(floatFrame_.get());
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

void Encoder::fade(AVFrame* frame) const {
    const qint64 first = audioSamples_.load();
    const bool fadingIn = first < fadeInSamples_;
    const bool fadingOut = first + frameSize_ >= audioLimit_ - fadeSamples_;
    if (!fadingIn && !fadingOut) {
        return;
    }
    for (int ch = 0; ch < 2; ++ch) {
        auto* samples = reinterpret_cast<float*>(frame->data[ch]);
        for (int i = 0; i < frameSize_; ++i) {
            const qint64 at = first + i;
            if (at < fadeInSamples_) {
                samples[i] *= static_cast<float>(at) / static_cast<float>(fadeInSamples_);
            }
            const qint64 left = audioLimit_ - at;
            if (left < fadeSamples_) {
                samples[i] *= static_cast<float>(std::max<qint64>(left, 0)) /
                              static_cast<float>(fadeSamples_);
            }
        }
    }
}

bool Encoder::readSound() {
    const bool more = joiner_ && joiner_->readInto(fifo_.get());
    if (joiner_) {
        const QStringList problems = joiner_->takeProblems();
        if (!problems.isEmpty()) {
            std::lock_guard lock(problemsMutex_);
            for (const QString& problem : problems) {
                if (!soundProblems_.contains(problem)) {
                    soundProblems_.append(problem);
                }
            }
        }
    }
    return more;
}

}  // namespace vellumo::mcl::detail
