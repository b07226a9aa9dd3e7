#pragma once

// The sample song: an original melody synthesised here, so the program folder carries music
// that is entirely our own.

#include <QByteArray>
#include <QString>
#include <vector>

namespace vellumo::datagen {

inline constexpr int kSampleRate = 44100;

struct StereoSamples {
    std::vector<float> left;
    std::vector<float> right;
};

// The whole song, deterministic, in [-1, 1].
StereoSamples synthesiseSampleSong();

// Seconds from the start of the song at which each sung phrase begins (the lyric times).
std::vector<double> phraseStartTimes();

// 16-bit interleaved stereo PCM, as the encoder takes it.
QByteArray toPcm(const StereoSamples& samples);

}  // namespace vellumo::datagen
