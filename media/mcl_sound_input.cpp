#include "media/mcl_sound_input.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

#include "workspace/regular_file.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

namespace vellumo::mcl::detail {

SoundReader::SoundReader(const QString& path, int sampleRate)
    : path_(path), sampleRate_(sampleRate) {
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
        (ret = avcodec_parameters_to_context(codec_.get(), raw->streams[stream_]->codecpar)) < 0 ||
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

bool SoundReader::readInto(AVAudioFifo* fifo) {
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

void SoundReader::failHere(const QString& reason, int ret) const {
    fail(kErrorSoundFile, texts::kMclSoundFile.arg(path_, reason), ret);
}

void SoundReader::noteEnd(int ret) {
    const qint64 readMs = readSamples_ * 1000 / sampleRate_;
    if (ret != AVERROR_EOF) {
        problem_ =
            texts::kMclSoundReadError.arg(path_, makeTimeStr(readMs / 1000.0), ffmpegReason(ret));
        return;
    }
    const qint64 lengthMs = input_->duration > 0 ? input_->duration / 1000 : 0;
    if (lengthMs - readMs > std::max<qint64>(kShortfallMs, lengthMs / 20)) {
        problem_ = texts::kMclSoundEndedEarly.arg(path_, makeTimeStr(readMs / 1000.0),
                                                  makeTimeStr(lengthMs / 1000.0));
    }
}

bool SoundReader::receive(AVAudioFifo* fifo) {
    bool any = false;
    while (avcodec_receive_frame(codec_.get(), frame_.get()) >= 0) {
        convert(fifo, const_cast<const uint8_t**>(frame_->extended_data), frame_->nb_samples);
        av_frame_unref(frame_.get());
        any = true;
    }
    return any;
}

void SoundReader::convert(AVAudioFifo* fifo, const uint8_t** data, int samples) {
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
    if (done > 0 && gain_ != 1.0F) {
        for (int ch = 0; ch < 2; ++ch) {
            auto* out = reinterpret_cast<float*>(scratch_->data[ch]);
            for (int i = 0; i < done; ++i) {
                out[i] *= gain_;
            }
        }
    }
    if (done > 0) {
        av_audio_fifo_write(fifo, reinterpret_cast<void**>(scratch_->data), done);
        readSamples_ += done;
    }
}

}  // namespace vellumo::mcl::detail
