#pragma once

// How loud a song is, as broadcasters measure it (EBU R128 through libebur128): its integrated
// loudness and its true peak, and the gain that brings it to the album's common loudness.

#include <QString>

#include <functional>

namespace vellumo {

// The album's songs are played and produced at this loudness, their true peak at most at the
// ceiling.
inline constexpr double kTargetLufs = -16.0;
inline constexpr double kPeakCeilingDbtp = -1.0;
// What a silent song measures: the quietest loudness and peak kept.
inline constexpr double kSilentLufs = -70.0;
inline constexpr double kSilentDbtp = -100.0;

struct Loudness {
    double integratedLufs = kSilentLufs;
    double truePeakDbtp = kSilentDbtp;
    friend bool operator==(const Loudness&, const Loudness&) = default;
};

// Measures a sound file from its start to its end. Nothing when stopRequested said true on the
// way. Throws FileError when the file cannot be decoded.
bool measureLoudness(const QString& path, Loudness& loudness,
                     const std::function<bool()>& stopRequested = {});

// The gain in dB that brings a song to kTargetLufs without its true peak passing the ceiling;
// 0 for a silent song.
double levellingGainDb(const Loudness& loudness);

// A gain in dB as a factor on the samples.
double gainFactor(double gainDb);

}  // namespace vellumo
