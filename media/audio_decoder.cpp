#include "media/audio_decoder.h"

#include <QFile>

#include <algorithm>
#include <memory>

#include "media/ffmpeg_handles.h"
#include "media/media_texts.h"
#include "workspace/errors.h"
#include "workspace/regular_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
}

namespace vellumo {

namespace {

using av::CodecDeleter;
using av::FrameDeleter;
using av::InputDeleter;
using av::PacketDeleter;
using av::ResamplerDeleter;

using Input = std::unique_ptr<AVFormatContext, InputDeleter>;
using Codec = std::unique_ptr<AVCodecContext, CodecDeleter>;

bool isPlayableCodec(AVCodecID id, const char* formatName) {
    switch (id) {
        case AV_CODEC_ID_MP1:
        case AV_CODEC_ID_MP2:
        case AV_CODEC_ID_MP3:
            return true;
        case AV_CODEC_ID_PCM_U8:
        case AV_CODEC_ID_PCM_S16LE:
        case AV_CODEC_ID_PCM_S24LE:
        case AV_CODEC_ID_PCM_S32LE:
        case AV_CODEC_ID_PCM_F32LE:
            return formatName != nullptr && QByteArray(formatName) == "wav";
        default:
            return false;
    }
}

struct OpenAudio {
    Input input;
    Codec codec;
    int stream = -1;
};

OpenAudio openAudio(const QString& path) {
    OpenAudio audio;
    // A pipe would keep the demuxer waiting for a writer, a device feed it for ever.
    if (const QString problem = regularFileProblem(path); !problem.isEmpty()) {
        throw FileError(path, problem);
    }
    AVFormatContext* raw = nullptr;
    const QByteArray file = QFile::encodeName(path);
    if (avformat_open_input(&raw, file.constData(), nullptr, nullptr) < 0) {
        throw FileError(path, texts::kAudioCannotOpen);
    }
    audio.input.reset(raw);
    if (avformat_find_stream_info(raw, nullptr) < 0) {
        throw FileError(path, texts::kAudioDamaged);
    }
    const AVCodec* decoder = nullptr;
    audio.stream = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (audio.stream < 0 || decoder == nullptr) {
        throw FileError(path, texts::kAudioNoSound);
    }
    audio.codec.reset(avcodec_alloc_context3(decoder));
    if (!audio.codec ||
        avcodec_parameters_to_context(audio.codec.get(), raw->streams[audio.stream]->codecpar) <
            0 ||
        avcodec_open2(audio.codec.get(), decoder, nullptr) < 0) {
        throw FileError(path, texts::kAudioDamaged);
    }
    return audio;
}

}  // namespace

AudioInfo probeAudio(const QString& path) {
    OpenAudio audio = openAudio(path);
    AVStream* stream = audio.input->streams[audio.stream];
    AudioInfo info;
    info.playable = isPlayableCodec(stream->codecpar->codec_id, audio.input->iformat->name);

    // The length from the packets themselves: exact for variable bit rates, no decoding.
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    int64_t total = 0;
    int64_t first = AV_NOPTS_VALUE;
    bool decodedOne = false;
    while (av_read_frame(audio.input.get(), packet.get()) >= 0) {
        if (packet->stream_index == audio.stream) {
            if (first == AV_NOPTS_VALUE && packet->pts != AV_NOPTS_VALUE) {
                first = packet->pts;
            }
            total += packet->duration;
            // Damaged data shows itself in the first frames.
            if (!decodedOne && avcodec_send_packet(audio.codec.get(), packet.get()) >= 0 &&
                avcodec_receive_frame(audio.codec.get(), frame.get()) >= 0) {
                decodedOne = true;
            }
        }
        av_packet_unref(packet.get());
    }
    if (!decodedOne) {
        throw FileError(path, texts::kAudioDamaged);
    }
    if (total <= 0 && stream->duration != AV_NOPTS_VALUE) {
        total = stream->duration;
    }
    info.lengthMs = av_rescale_q(total, stream->time_base, AVRational{1, 1000});
    return info;
}

bool decodeAudio(const QString& path, const PcmSink& sink) {
    OpenAudio audio = openAudio(path);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    AVChannelLayout inputLayout = audio.codec->ch_layout;
    if (inputLayout.order == AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_default(&inputLayout, inputLayout.nb_channels);
    }
    SwrContext* rawResampler = nullptr;
    if (swr_alloc_set_opts2(&rawResampler, &stereo, AV_SAMPLE_FMT_S16, kPcmSampleRate, &inputLayout,
                            audio.codec->sample_fmt, audio.codec->sample_rate, 0, nullptr) < 0 ||
        swr_init(rawResampler) < 0) {
        swr_free(&rawResampler);
        throw FileError(path, texts::kAudioDamaged);
    }
    std::unique_ptr<SwrContext, ResamplerDeleter> resampler(rawResampler);

    QByteArray piece;
    qint64 delivered = 0;
    bool wanted = true;
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    // Converts samples and hands them on; false once the sink wants no more.
    const auto convert = [&](const uint8_t** data, int samples) {
        const int room = swr_get_out_samples(resampler.get(), samples);
        if (room <= 0) {
            return wanted;
        }
        piece.resize(static_cast<qsizetype>(room) * kPcmBytesPerFrame);
        auto* out = reinterpret_cast<uint8_t*>(piece.data());
        const int done = swr_convert(resampler.get(), &out, room, data, samples);
        const qsizetype bytes = static_cast<qsizetype>(std::max(done, 0)) * kPcmBytesPerFrame;
        if (bytes > 0) {
            delivered += bytes;
            wanted = sink(piece.constData(), bytes);
        }
        return wanted;
    };
    const auto receive = [&] {
        while (wanted && avcodec_receive_frame(audio.codec.get(), frame.get()) >= 0) {
            convert(const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
            av_frame_unref(frame.get());
        }
    };
    while (wanted && av_read_frame(audio.input.get(), packet.get()) >= 0) {
        if (packet->stream_index == audio.stream) {
            // A damaged packet is skipped, as players do; the rest of the sound still plays.
            if (avcodec_send_packet(audio.codec.get(), packet.get()) >= 0) {
                receive();
            }
        }
        av_packet_unref(packet.get());
    }
    if (!wanted) {
        return false;
    }
    avcodec_send_packet(audio.codec.get(), nullptr);
    receive();
    if (wanted) {
        convert(nullptr, 0);  // Flush the resampler.
    }
    if (delivered == 0) {
        throw FileError(path, texts::kAudioDamaged);
    }
    return wanted;
}

QByteArray decodeAudio(const QString& path) {
    QByteArray pcm;
    decodeAudio(path, [&pcm](const char* data, qsizetype bytes) {
        pcm.append(data, bytes);
        return true;
    });
    return pcm;
}

void silenceFfmpegLog() {
    av_log_set_level(AV_LOG_QUIET);
}

void writeWav(const QString& path, const QByteArray& pcm) {
    QByteArray header;
    const auto u32 = [&](quint32 v) {
        for (int i = 0; i < 4; ++i) {
            header += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    const auto u16 = [&](quint16 v) {
        header += static_cast<char>(v & 0xFF);
        header += static_cast<char>(v >> 8);
    };
    header += "RIFF";
    u32(static_cast<quint32>(36 + pcm.size()));
    header += "WAVEfmt ";
    u32(16);
    u16(1);  // PCM
    u16(kPcmChannels);
    u32(kPcmSampleRate);
    u32(kPcmSampleRate * kPcmBytesPerFrame);
    u16(kPcmBytesPerFrame);
    u16(16);
    header += "data";
    u32(static_cast<quint32>(pcm.size()));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(header) != 44 ||
        file.write(pcm) != pcm.size()) {
        throw FileError(path, texts::kAudioCannotWrite);
    }
}

}  // namespace vellumo
