#pragma once

// The sample song: an original melody synthesised here, so the program folder carries music
// that is entirely our own.

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

// Encodes to an MP3 file with title, artist and album tags. Throws vellumo::Error on failure.
void writeMp3(const QString& path, const StereoSamples& samples, const QString& title,
              const QString& artist, const QString& album);

}  // namespace vellumo::datagen
