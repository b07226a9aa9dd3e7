// MP3 encoding of the sample song through FFmpeg's libraries (libmp3lame).

#include <QByteArray>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "data/generator/music.h"
#include "workspace/errors.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

namespace vellumo::datagen {

namespace {

void check(int status, const char* what) {
    if (status < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(status, text, sizeof text);
        throw Error(QStringLiteral("MP3: %1: %2").arg(QLatin1String(what), QLatin1String(text)));
    }
}

struct FormatDeleter {
    void operator()(AVFormatContext* c) const {
        if (c->pb) {
            avio_closep(&c->pb);
        }
        avformat_free_context(c);
    }
};
struct CodecDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};

void drain(AVCodecContext* codec, AVFormatContext* format, AVStream* stream, AVPacket* packet) {
    while (true) {
        const int status = avcodec_receive_packet(codec, packet);
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF) {
            return;
        }
        check(status, "receive packet");
        av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        check(av_interleaved_write_frame(format, packet), "write frame");
    }
}

}  // namespace

void writeMp3(const QString& path, const StereoSamples& samples, const QString& title,
              const QString& artist, const QString& album) {
    const QByteArray file = path.toUtf8();
    AVFormatContext* rawFormat = nullptr;
    check(avformat_alloc_output_context2(&rawFormat, nullptr, "mp3", file.constData()),
          "output context");
    std::unique_ptr<AVFormatContext, FormatDeleter> format(rawFormat);

    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_MP3);
    if (encoder == nullptr) {
        throw Error(QStringLiteral("MP3: no MP3 encoder in this FFmpeg"));
    }
    std::unique_ptr<AVCodecContext, CodecDeleter> codec(avcodec_alloc_context3(encoder));
    codec->sample_rate = kSampleRate;
    codec->sample_fmt = AV_SAMPLE_FMT_FLTP;
    av_channel_layout_default(&codec->ch_layout, 2);
    codec->bit_rate = 192000;
    codec->time_base = AVRational{1, kSampleRate};
    check(avcodec_open2(codec.get(), encoder, nullptr), "open encoder");

    AVStream* stream = avformat_new_stream(format.get(), nullptr);
    if (stream == nullptr) {
        throw Error(QStringLiteral("MP3: cannot add a stream"));
    }
    stream->time_base = codec->time_base;
    check(avcodec_parameters_from_context(stream->codecpar, codec.get()), "stream parameters");
    av_dict_set(&format->metadata, "title", title.toUtf8().constData(), 0);
    av_dict_set(&format->metadata, "artist", artist.toUtf8().constData(), 0);
    av_dict_set(&format->metadata, "album", album.toUtf8().constData(), 0);

    check(avio_open(&format->pb, file.constData(), AVIO_FLAG_WRITE), "open file");
    check(avformat_write_header(format.get(), nullptr), "write header");

    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    const int frameSize = codec->frame_size > 0 ? codec->frame_size : 1152;
    const size_t total = samples.left.size();
    for (size_t offset = 0; offset < total; offset += static_cast<size_t>(frameSize)) {
        const int count = static_cast<int>(std::min<size_t>(frameSize, total - offset));
        frame->nb_samples = frameSize;
        frame->format = codec->sample_fmt;
        frame->sample_rate = kSampleRate;
        check(av_channel_layout_copy(&frame->ch_layout, &codec->ch_layout), "layout");
        check(av_frame_get_buffer(frame.get(), 0), "frame buffer");
        auto* left = reinterpret_cast<float*>(frame->data[0]);
        auto* right = reinterpret_cast<float*>(frame->data[1]);
        std::fill(left, left + frameSize, 0.0f);
        std::fill(right, right + frameSize, 0.0f);
        std::copy_n(samples.left.data() + offset, count, left);
        std::copy_n(samples.right.data() + offset, count, right);
        frame->pts = static_cast<int64_t>(offset);
        check(avcodec_send_frame(codec.get(), frame.get()), "send frame");
        drain(codec.get(), format.get(), stream, packet.get());
        av_frame_unref(frame.get());
    }
    check(avcodec_send_frame(codec.get(), nullptr), "flush");
    drain(codec.get(), format.get(), stream, packet.get());
    check(av_write_trailer(format.get()), "write trailer");
}

}  // namespace vellumo::datagen
