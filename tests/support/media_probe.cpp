#include "tests/support/media_probe.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "media/audio_decoder.h"
#include "media/audio_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace vellumo::test {

namespace {

struct Decoder {
    AVCodecContext* codec = nullptr;
    ~Decoder() { avcodec_free_context(&codec); }
    void open(const AVStream* stream) {
        const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
        if (decoder == nullptr) {
            throw std::runtime_error("no decoder");
        }
        codec = avcodec_alloc_context3(decoder);
        avcodec_parameters_to_context(codec, stream->codecpar);
        if (avcodec_open2(codec, decoder, nullptr) < 0) {
            throw std::runtime_error("cannot open decoder");
        }
    }
};

// The rate and buffer an MPEG-1/2 sequence header (and its MPEG-2 extension) announce.
void readSequenceHeader(const uint8_t* data, int size, MediaFacts& facts) {
    for (int i = 0; i + 12 <= size; ++i) {
        if (data[i] != 0 || data[i + 1] != 0 || data[i + 2] != 1) {
            continue;
        }
        const uint8_t* p = data + i + 4;
        if (data[i + 3] == 0xB3) {
            // 12 + 12 + 4 + 4 bits, then bit_rate_value (18), marker, vbv_buffer_size (10).
            const qint64 rate = (qint64{p[4]} << 10) | (p[5] << 2) | (p[6] >> 6);
            const qint64 vbv = ((p[6] & 0x1F) << 5) | (p[7] >> 3);
            facts.videoBitRate = rate * 400;
            facts.vbvBufferBits = vbv * 16 * 1024;
        } else if (data[i + 3] == 0xB5 && (p[0] >> 4) == 1 && facts.videoBitRate > 0) {
            // Sequence extension: bit_rate_extension (12) above the 18 bits, vbv extension (8).
            const qint64 rateExtension = ((p[2] & 0x1F) << 7) | (p[3] >> 1);
            const qint64 vbvExtension = p[4];
            facts.videoBitRate += (rateExtension << 18) * 400;
            facts.vbvBufferBits += (vbvExtension << 10) * 16 * 1024;
            return;
        } else if (data[i + 3] == 0x00 && facts.videoBitRate > 0) {
            return;  // the first picture: no extension came
        }
    }
}

}  // namespace

MediaFacts probeMedia(const QString& path, const QVector<int>& keepPictures) {
    AVFormatContext* input = nullptr;
    const QByteArray file = QFile::encodeName(path);
    if (avformat_open_input(&input, file.constData(), nullptr, nullptr) < 0) {
        throw std::runtime_error("cannot open " + file.toStdString());
    }
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> guard(
        input, [](AVFormatContext* c) { avformat_close_input(&c); });
    avformat_find_stream_info(input, nullptr);

    MediaFacts facts;
    facts.container = QString::fromLatin1(input->iformat->name);
    for (unsigned i = 0; i < input->nb_chapters; ++i) {
        const AVChapter* chapter = input->chapters[i];
        const AVDictionaryEntry* title = av_dict_get(chapter->metadata, "title", nullptr, 0);
        facts.chapters.append({static_cast<double>(chapter->start) * av_q2d(chapter->time_base),
                               static_cast<double>(chapter->end) * av_q2d(chapter->time_base),
                               title != nullptr ? QString::fromUtf8(title->value) : QString()});
    }
    int video = -1;
    int audio = -1;
    Decoder videoDecoder;
    Decoder audioDecoder;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        const AVCodecParameters* par = stream->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && video < 0) {
            video = static_cast<int>(i);
            facts.videoCodec = QString::fromLatin1(avcodec_get_name(par->codec_id));
            for (int shift = 0; shift < 32 && par->codec_tag != 0; shift += 8) {
                facts.videoTag.append(
                    QLatin1Char(static_cast<char>((par->codec_tag >> shift) & 0xFF)));
            }
            facts.width = par->width;
            facts.height = par->height;
            const AVRational rate =
                stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
            facts.frameRate = av_q2d(rate);
            facts.videoProfile = par->profile;
            facts.videoLevel = par->level;
            videoDecoder.open(stream);
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO && audio < 0) {
            audio = static_cast<int>(i);
            facts.hasAudio = true;
            facts.audioCodec = QString::fromLatin1(avcodec_get_name(par->codec_id));
            facts.sampleRate = par->sample_rate;
            facts.audioBitRate = par->bit_rate;
            facts.audioChannels = par->ch_layout.nb_channels;
            audioDecoder.open(stream);
        }
        if (par->codec_type == AVMEDIA_TYPE_VIDEO || par->codec_type == AVMEDIA_TYPE_AUDIO) {
            ++facts.streams;
        }
    }

    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    SwsContext* scaler = nullptr;
    SwrContext* resampler = nullptr;
    qint64 samples = 0;
    double windowSum = 0;
    qint64 windowCount = 0;
    const auto takeVideo = [&] {
        while (avcodec_receive_frame(videoDecoder.codec, frame) >= 0) {
            if (frame->pict_type == AV_PICTURE_TYPE_I) {
                facts.keyFrames.append(facts.videoFrames);
            }
            if (facts.videoFrames == 0 && frame->sample_aspect_ratio.num > 0) {
                facts.sampleAspectNum = frame->sample_aspect_ratio.num;
                facts.sampleAspectDen = frame->sample_aspect_ratio.den;
                facts.displayAspect =
                    av_q2d(frame->sample_aspect_ratio) * frame->width / std::max(frame->height, 1);
            }
            ++facts.videoFrames;
            scaler = sws_getCachedContext(scaler, frame->width, frame->height,
                                          static_cast<AVPixelFormat>(frame->format), frame->width,
                                          frame->height, AV_PIX_FMT_RGB32, SWS_POINT, nullptr,
                                          nullptr, nullptr);
            QVector<quint32> rgb(static_cast<qsizetype>(frame->width) * frame->height);
            uint8_t* out[4] = {reinterpret_cast<uint8_t*>(rgb.data()), nullptr, nullptr, nullptr};
            const int stride[4] = {frame->width * 4, 0, 0, 0};
            sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, out, stride);
            facts.centres.append(rgb[(frame->height / 2) * frame->width + frame->width / 2]);
            if (keepPictures.contains(facts.videoFrames - 1)) {
                QImage picture(frame->width, frame->height, QImage::Format_RGB32);
                for (int y = 0; y < frame->height; ++y) {
                    std::memcpy(picture.scanLine(y), rgb.constData() + y * frame->width,
                                static_cast<size_t>(frame->width) * 4);
                }
                facts.pictures.insert(facts.videoFrames - 1, picture);
            }
            av_frame_unref(frame);
        }
    };
    const auto takeAudio = [&] {
        while (avcodec_receive_frame(audioDecoder.codec, frame) >= 0) {
            if (resampler == nullptr) {
                AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
                swr_alloc_set_opts2(&resampler, &mono, AV_SAMPLE_FMT_FLT, frame->sample_rate,
                                    &frame->ch_layout, static_cast<AVSampleFormat>(frame->format),
                                    frame->sample_rate, 0, nullptr);
                swr_init(resampler);
            }
            QVector<float> mono(frame->nb_samples + 64);
            uint8_t* out[1] = {reinterpret_cast<uint8_t*>(mono.data())};
            const int n =
                swr_convert(resampler, out, static_cast<int>(mono.size()),
                            const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
            for (int i = 0; i < n; ++i) {
                windowSum += static_cast<double>(mono[i]) * mono[i];
                if (++windowCount == frame->sample_rate / 10) {
                    facts.audioLevels.append(static_cast<float>(
                        std::sqrt(windowSum / static_cast<double>(windowCount))));
                    windowSum = 0;
                    windowCount = 0;
                }
            }
            samples += frame->nb_samples;
            av_frame_unref(frame);
        }
    };
    QHash<qint64, qint64> videoBytesPerSecond;
    qint64 videoBytes = 0;
    while (av_read_frame(input, packet) >= 0) {
        if (packet->stream_index == video) {
            const AVRational base = input->streams[video]->time_base;
            const qint64 at = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
            if (at != AV_NOPTS_VALUE) {
                videoBytesPerSecond[static_cast<qint64>(std::floor(at * av_q2d(base)))] +=
                    packet->size;
            }
            videoBytes += packet->size;
            if (facts.videoBitRate == 0) {
                readSequenceHeader(packet->data, packet->size, facts);
            }
            avcodec_send_packet(videoDecoder.codec, packet);
            takeVideo();
        } else if (packet->stream_index == audio) {
            avcodec_send_packet(audioDecoder.codec, packet);
            takeAudio();
        }
        av_packet_unref(packet);
    }
    if (video >= 0) {
        avcodec_send_packet(videoDecoder.codec, nullptr);
        takeVideo();
    }
    if (audio >= 0) {
        avcodec_send_packet(audioDecoder.codec, nullptr);
        takeAudio();
        facts.audioSeconds = static_cast<double>(samples) / facts.sampleRate;
    }
    if (facts.frameRate > 0) {
        facts.videoSeconds = facts.videoFrames / facts.frameRate;
    }
    if (video >= 0) {
        for (const qint64 bytes : videoBytesPerSecond) {
            facts.peakVideoKbps = std::max(facts.peakVideoKbps, bytes * 8 / 1000.0);
        }
        if (facts.videoSeconds > 0) {
            facts.videoKbps = videoBytes * 8 / 1000.0 / facts.videoSeconds;
        }
    }
    sws_freeContext(scaler);
    swr_free(&resampler);
    av_frame_free(&frame);
    av_packet_free(&packet);
    return facts;
}

QString writeToneMp3(const QString& path, double seconds, double hz) {
    const int samples = static_cast<int>(seconds * kPcmSampleRate);
    QByteArray pcm(samples * kPcmBytesPerFrame, '\0');
    auto* out = reinterpret_cast<qint16*>(pcm.data());
    for (int i = 0; i < samples; ++i) {
        const auto v = static_cast<qint16>(8000 * std::sin(2 * M_PI * hz * i / kPcmSampleRate));
        out[2 * i] = v;
        out[2 * i + 1] = v;
    }
    encodeAudio(path, "mp3", AudioCodec::Mp3, 128000, pcm);
    return path;
}

int whitePixelsInLyricBand(const QImage& picture) {
    int white = 0;
    for (int y = picture.height() * 3 / 4; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            white += qRed(p) > 190 && qGreen(p) > 190 && qBlue(p) > 190 ? 1 : 0;
        }
    }
    return white;
}

}  // namespace vellumo::test
