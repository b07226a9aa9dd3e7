#include "media/audio_encoder.h"

#include <QFile>

#include <algorithm>
#include <memory>

#include "media/audio_decoder.h"
#include "media/ffmpeg_handles.h"
#include "workspace/errors.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace vellumo {

namespace {

using av::CodecDeleter;
using av::FrameDeleter;
using av::OutputDeleter;
using av::PacketDeleter;
using av::ResamplerDeleter;

void check(int status, const QString& path, const char* what) {
    if (status < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(status, text, sizeof text);
        throw FileError(path,
                        QStringLiteral("%1: %2").arg(QLatin1String(what), QLatin1String(text)));
    }
}

AVCodecID codecId(AudioCodec codec) {
    switch (codec) {
        case AudioCodec::Mp3:
            return AV_CODEC_ID_MP3;
        case AudioCodec::Mp2:
            return AV_CODEC_ID_MP2;
        case AudioCodec::Aac:
            return AV_CODEC_ID_AAC;
    }
    return AV_CODEC_ID_NONE;
}

}  // namespace

void encodeAudio(const QString& path, const char* container, AudioCodec codec, int bitRate,
                 const QByteArray& pcm, const QVariantMap& tags) {
    const QByteArray file = QFile::encodeName(path);
    AVFormatContext* rawOutput = nullptr;
    check(avformat_alloc_output_context2(&rawOutput, nullptr, container, file.constData()), path,
          "output");
    std::unique_ptr<AVFormatContext, OutputDeleter> output(rawOutput);

    const AVCodec* encoder = avcodec_find_encoder(codecId(codec));
    if (encoder == nullptr) {
        throw FileError(path, QStringLiteral("no encoder"));
    }
    std::unique_ptr<AVCodecContext, CodecDeleter> context(avcodec_alloc_context3(encoder));
    context->sample_rate = kPcmSampleRate;
    context->sample_fmt = encoder->sample_fmts ? encoder->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    av_channel_layout_default(&context->ch_layout, kPcmChannels);
    context->bit_rate = bitRate;
    context->time_base = AVRational{1, kPcmSampleRate};
    if (output->oformat->flags & AVFMT_GLOBALHEADER) {
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    check(avcodec_open2(context.get(), encoder, nullptr), path, "open encoder");

    AVStream* stream = avformat_new_stream(output.get(), nullptr);
    if (stream == nullptr) {
        throw FileError(path, QStringLiteral("no stream"));
    }
    stream->time_base = context->time_base;
    check(avcodec_parameters_from_context(stream->codecpar, context.get()), path, "parameters");
    for (auto it = tags.begin(); it != tags.end(); ++it) {
        av_dict_set(&output->metadata, it.key().toUtf8().constData(),
                    it.value().toString().toUtf8().constData(), 0);
    }
    check(avio_open(&output->pb, file.constData(), AVIO_FLAG_WRITE), path, "open file");
    check(avformat_write_header(output.get(), nullptr), path, "header");

    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    SwrContext* rawResampler = nullptr;
    check(
        swr_alloc_set_opts2(&rawResampler, &context->ch_layout, context->sample_fmt, kPcmSampleRate,
                            &stereo, AV_SAMPLE_FMT_S16, kPcmSampleRate, 0, nullptr),
        path, "resampler");
    std::unique_ptr<SwrContext, ResamplerDeleter> resampler(rawResampler);
    check(swr_init(resampler.get()), path, "resampler");

    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    const auto drain = [&] {
        while (avcodec_receive_packet(context.get(), packet.get()) >= 0) {
            av_packet_rescale_ts(packet.get(), context->time_base, stream->time_base);
            packet->stream_index = stream->index;
            check(av_interleaved_write_frame(output.get(), packet.get()), path, "write");
        }
    };
    const int frameSize = context->frame_size > 0 ? context->frame_size : 1152;
    const qsizetype totalFrames = pcm.size() / kPcmBytesPerFrame;
    int64_t pts = 0;
    for (qsizetype offset = 0; offset < totalFrames; offset += frameSize) {
        const int count = static_cast<int>(std::min<qsizetype>(frameSize, totalFrames - offset));
        frame->nb_samples = frameSize;
        frame->format = context->sample_fmt;
        frame->sample_rate = kPcmSampleRate;
        check(av_channel_layout_copy(&frame->ch_layout, &context->ch_layout), path, "layout");
        check(av_frame_get_buffer(frame.get(), 0), path, "frame");
        av_samples_set_silence(frame->data, 0, frameSize, context->ch_layout.nb_channels,
                               context->sample_fmt);
        const auto* in =
            reinterpret_cast<const uint8_t*>(pcm.constData() + offset * kPcmBytesPerFrame);
        check(swr_convert(resampler.get(), frame->data, frameSize, &in, count), path, "convert");
        frame->pts = pts;
        pts += frameSize;
        check(avcodec_send_frame(context.get(), frame.get()), path, "encode");
        drain();
        av_frame_unref(frame.get());
    }
    check(avcodec_send_frame(context.get(), nullptr), path, "flush");
    drain();
    check(av_write_trailer(output.get()), path, "trailer");
}

}  // namespace vellumo
