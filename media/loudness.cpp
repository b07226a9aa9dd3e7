#include "media/loudness.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "media/audio_decoder.h"

#include <ebur128.h>

namespace vellumo {

namespace {

struct StateDeleter {
    void operator()(ebur128_state* state) const { ebur128_destroy(&state); }
};
using State = std::unique_ptr<ebur128_state, StateDeleter>;

// 100 ms pieces: the measurement's own block step.
constexpr int kChunkFrames = kPcmSampleRate / 10;
// Frames fed before a piece whose true peak is wanted, so that the oversampling filter starts
// from the sound before it rather than from wherever the previous piece ended.
constexpr int kContextFrames = 32;
// The true peak is looked for only in pieces whose sample peak comes within this factor
// (-4 dB) of the loudest sample so far: the oversampled peak between samples of music does not
// rise that far above them, and the oversampling is most of the cost of a measurement.
const double kPeakCandidate = std::pow(10.0, -4.0 / 20.0);

double dbOf(double linear, double floor) {
    return linear > 0 ? std::max(floor, 20.0 * std::log10(linear)) : floor;
}

}  // namespace

bool measureLoudness(const QString& path, Loudness& loudness,
                     const std::function<bool()>& stopRequested) {
    const State integrated(
        ebur128_init(kPcmChannels, kPcmSampleRate, EBUR128_MODE_I | EBUR128_MODE_HISTOGRAM));
    const State peaks(ebur128_init(kPcmChannels, kPcmSampleRate, EBUR128_MODE_TRUE_PEAK));
    if (!integrated || !peaks) {
        throw std::bad_alloc();
    }
    std::vector<qint16> chunk;
    chunk.reserve(static_cast<size_t>(kChunkFrames + kContextFrames) * kPcmChannels);
    std::vector<qint16> context(static_cast<size_t>(kContextFrames) * kPcmChannels, 0);
    int loudestSample = 0;
    double truePeak = 0;

    const auto measureChunk = [&] {
        const size_t frames = chunk.size() / kPcmChannels;
        if (frames == 0) {
            return;
        }
        ebur128_add_frames_short(integrated.get(), chunk.data(), frames);
        int loudest = 0;
        for (const qint16 s : chunk) {
            loudest = std::max(loudest, std::abs(static_cast<int>(s)));
        }
        if (loudest > 0 && loudest >= loudestSample * kPeakCandidate) {
            loudestSample = std::max(loudestSample, loudest);
            ebur128_add_frames_short(peaks.get(), context.data(), kContextFrames);
            ebur128_add_frames_short(peaks.get(), chunk.data(), frames);
            for (unsigned ch = 0; ch < static_cast<unsigned>(kPcmChannels); ++ch) {
                double peak = 0;
                if (ebur128_prev_true_peak(peaks.get(), ch, &peak) == EBUR128_SUCCESS) {
                    truePeak = std::max(truePeak, peak);
                }
            }
        }
        if (frames >= static_cast<size_t>(kContextFrames)) {
            std::copy(chunk.end() - kContextFrames * kPcmChannels, chunk.end(), context.begin());
        }
        chunk.clear();
    };

    bool stopped = false;
    const bool whole = decodeAudio(path, [&](const char* data, qsizetype bytes) {
        const auto* samples = reinterpret_cast<const qint16*>(data);
        qsizetype count = bytes / static_cast<qsizetype>(sizeof(qint16));
        while (count > 0) {
            const qsizetype room = static_cast<qsizetype>(kChunkFrames) * kPcmChannels -
                                   static_cast<qsizetype>(chunk.size());
            const qsizetype take = std::min(room, count);
            chunk.insert(chunk.end(), samples, samples + take);
            samples += take;
            count -= take;
            if (chunk.size() == static_cast<size_t>(kChunkFrames) * kPcmChannels) {
                measureChunk();
                if (stopRequested && stopRequested()) {
                    stopped = true;
                    return false;
                }
            }
        }
        return true;
    });
    if (!whole || stopped) {
        return false;
    }
    measureChunk();
    double lufs = -HUGE_VAL;
    ebur128_loudness_global(integrated.get(), &lufs);
    loudness.integratedLufs = std::isfinite(lufs) ? std::max(kSilentLufs, lufs) : kSilentLufs;
    loudness.truePeakDbtp = dbOf(truePeak, kSilentDbtp);
    return true;
}

double levellingGainDb(const Loudness& loudness) {
    if (loudness.integratedLufs <= kSilentLufs) {
        return 0;
    }
    return std::min(kTargetLufs - loudness.integratedLufs,
                    kPeakCeilingDbtp - loudness.truePeakDbtp);
}

double gainFactor(double gainDb) {
    return std::pow(10.0, gainDb / 20.0);
}

}  // namespace vellumo
