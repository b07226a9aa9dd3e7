#include "media/mcl_sound_join.h"

#include <cmath>
#include <numbers>

extern "C" {
#include <libavutil/audio_fifo.h>
}

namespace vellumo::mcl::detail {

SoundJoiner::SoundJoiner(QStringList files, SoundMixing mixing, int sampleRate)
    : files_(std::move(files)), mixing_(std::move(mixing)), sampleRate_(sampleRate) {
    pending_.reset(av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, 2, sampleRate));
    if (!pending_) {
        fail(kErrorEncoder, texts::kMclEncoderFailed, AVERROR(ENOMEM));
    }
}

SoundJoiner::~SoundJoiner() = default;

bool SoundJoiner::readInto(AVAudioFifo* out) {
    if (!reader_) {
        if (next_ >= files_.size()) {
            if (tailUsed_ < tail_[0].size()) {
                flushTail(out);
                return true;
            }
            return false;
        }
        const qsizetype index = next_++;
        reader_ = std::make_unique<SoundReader>(files_[index], sampleRate_);
        if (index < mixing_.gainsDb.size()) {
            reader_->setGain(static_cast<float>(std::pow(10.0, mixing_.gainsDb[index] / 20.0)));
        }
        holdBack_ = 0;
        if (index + 1 < files_.size() && index < mixing_.crossfadesMs.size()) {
            holdBack_ = static_cast<int>(qint64{sampleRate_} *
                                         std::max(0, mixing_.crossfadesMs[index]) / 1000);
        }
    }
    if (reader_->readInto(pending_.get())) {
        const int ready = av_audio_fifo_size(pending_.get()) - holdBack_;
        if (ready > 0) {
            release(out, ready);
        }
        return true;
    }
    if (!reader_->problem().isEmpty()) {
        problems_.append(reader_->problem());
    }
    reader_.reset();
    endFile(out);
    return true;
}

QStringList SoundJoiner::takeProblems() {
    QStringList problems;
    problems.swap(problems_);
    return problems;
}

void SoundJoiner::release(AVAudioFifo* out, int count) {
    if (count <= 0) {
        return;
    }
    for (std::vector<float>& channel : scratch_) {
        channel.resize(static_cast<size_t>(count));
    }
    void* planes[2] = {scratch_[0].data(), scratch_[1].data()};
    const int got = av_audio_fifo_read(pending_.get(), planes, count);
    const size_t tailLength = tail_[0].size();
    for (int i = 0; i < got && tailUsed_ < tailLength; ++i, ++tailUsed_) {
        const double t = (static_cast<double>(tailUsed_) + 0.5) / static_cast<double>(tailLength);
        const auto in = static_cast<float>(std::sin(t * std::numbers::pi / 2));
        const auto outGain = static_cast<float>(std::cos(t * std::numbers::pi / 2));
        for (int ch = 0; ch < 2; ++ch) {
            scratch_[ch][i] = scratch_[ch][i] * in + tail_[ch][tailUsed_] * outGain;
        }
    }
    if (got > 0) {
        av_audio_fifo_write(out, planes, got);
    }
}

void SoundJoiner::flushTail(AVAudioFifo* out) {
    const size_t tailLength = tail_[0].size();
    const size_t left = tailLength - std::min(tailUsed_, tailLength);
    if (left > 0) {
        for (int ch = 0; ch < 2; ++ch) {
            scratch_[ch].resize(left);
            for (size_t i = 0; i < left; ++i) {
                const size_t at = tailUsed_ + i;
                const double t = (static_cast<double>(at) + 0.5) / static_cast<double>(tailLength);
                scratch_[ch][i] =
                    tail_[ch][at] * static_cast<float>(std::cos(t * std::numbers::pi / 2));
            }
        }
        void* planes[2] = {scratch_[0].data(), scratch_[1].data()};
        av_audio_fifo_write(out, planes, static_cast<int>(left));
    }
    tail_[0].clear();
    tail_[1].clear();
    tailUsed_ = 0;
}

void SoundJoiner::endFile(AVAudioFifo* out) {
    const int left = av_audio_fifo_size(pending_.get());
    if (tailUsed_ < tail_[0].size()) {
        // A file shorter than the tail it fades in over: all of it goes into the mix, the rest
        // of the tail follows, and the next join is plain.
        release(out, left);
        flushTail(out);
        return;
    }
    for (std::vector<float>& channel : tail_) {
        channel.resize(static_cast<size_t>(left));
    }
    void* planes[2] = {tail_[0].data(), tail_[1].data()};
    if (left > 0) {
        av_audio_fifo_read(pending_.get(), planes, left);
    }
    tailUsed_ = 0;
}

}  // namespace vellumo::mcl::detail
