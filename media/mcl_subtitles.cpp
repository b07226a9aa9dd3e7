#include "media/mcl_subtitles.h"

#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace vellumo::mcl::detail {

namespace {

// The style the lines are shown in: white on the picture, centred at the bottom.
constexpr char kAssHeader[] =
    "[Script Info]\r\nScriptType: v4.00+\r\nPlayResX: 384\r\nPlayResY: 288\r\n\r\n"
    "[V4+ Styles]\r\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, "
    "OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, "
    "Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\r\n"
    "Style: Default,Sans,16,&Hffffff,&Hffffff,&H0,&H0,0,0,0,0,100,100,0,0,1,1,0,2,10,10,10,0\r\n"
    "\r\n[Events]\r\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, "
    "Text\r\n";

}  // namespace

SubtitleTrack::SubtitleTrack(AVFormatContext* output, QVector<Subtitle> lines)
    : lines_(std::move(lines)) {
    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_MOV_TEXT);
    if (encoder == nullptr) {
        fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR_ENCODER_NOT_FOUND);
    }
    codec_.reset(avcodec_alloc_context3(encoder));
    if (!codec_) {
        fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR(ENOMEM));
    }
    codec_->time_base = AVRational{1, 1000};
    const size_t headerBytes = sizeof(kAssHeader);
    codec_->subtitle_header = static_cast<uint8_t*>(av_malloc(headerBytes));
    if (codec_->subtitle_header == nullptr) {
        fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR(ENOMEM));
    }
    std::copy(kAssHeader, kAssHeader + headerBytes, codec_->subtitle_header);
    codec_->subtitle_header_size = static_cast<int>(headerBytes - 1);
    int ret = avcodec_open2(codec_.get(), encoder, nullptr);
    if (ret < 0) {
        fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
    }
    stream_ = avformat_new_stream(output, nullptr);
    if (stream_ == nullptr) {
        fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR(ENOMEM));
    }
    stream_->time_base = codec_->time_base;
    if ((ret = avcodec_parameters_from_context(stream_->codecpar, codec_.get())) < 0) {
        fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
    }
    av_dict_set(&stream_->metadata, "language", "zho", 0);
}

void SubtitleTrack::write(AVFormatContext* output, AVPacket* packet, const QString& outputName) {
    std::vector<uint8_t> buffer;
    for (const Subtitle& line : lines_) {
        if (line.endMs <= line.startMs) {
            continue;
        }
        QString text = line.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\\N"));
        text.replace(u'\n', QStringLiteral("\\N"));
        const QByteArray event = "0,0,Default,,0,0,0,," + text.toUtf8();
        AVSubtitle subtitle{};
        subtitle.end_display_time = static_cast<uint32_t>(line.endMs - line.startMs);
        subtitle.num_rects = 1;
        subtitle.rects = static_cast<AVSubtitleRect**>(av_mallocz(sizeof(AVSubtitleRect*)));
        if (subtitle.rects != nullptr) {
            subtitle.rects[0] = static_cast<AVSubtitleRect*>(av_mallocz(sizeof(AVSubtitleRect)));
        }
        if (subtitle.rects == nullptr || subtitle.rects[0] == nullptr) {
            avsubtitle_free(&subtitle);
            fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR(ENOMEM));
        }
        subtitle.rects[0]->type = SUBTITLE_ASS;
        subtitle.rects[0]->ass = av_strdup(event.constData());
        buffer.resize(static_cast<size_t>(event.size()) * 2 + 1024);
        const int bytes = avcodec_encode_subtitle(codec_.get(), buffer.data(),
                                                  static_cast<int>(buffer.size()), &subtitle);
        avsubtitle_free(&subtitle);
        if (bytes < 0) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, bytes);
        }
        int ret = av_new_packet(packet, bytes);
        if (ret < 0) {
            fail(kErrorEncoder, texts::kMclEncoderFailed, ret);
        }
        std::copy(buffer.data(), buffer.data() + bytes, packet->data);
        packet->pts = packet->dts = line.startMs;
        packet->duration = line.endMs - line.startMs;
        packet->stream_index = stream_->index;
        av_packet_rescale_ts(packet, codec_->time_base, stream_->time_base);
        ret = av_interleaved_write_frame(output, packet);
        if (ret < 0) {
            fail(kErrorOutput, texts::kMclWriteFailed.arg(outputName), ret);
        }
    }
}

}  // namespace vellumo::mcl::detail
