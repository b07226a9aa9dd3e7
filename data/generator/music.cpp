#include "data/generator/music.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace vellumo::datagen {

namespace {

constexpr double kBeat = 60.0 / 80.0;  // 80 beats a minute, four to a bar
constexpr double kBar = 4 * kBeat;
constexpr int kIntroBars = 2;

// Notes as semitones above middle C (C4 = 0). The melody keeps to the pentatonic scale.
struct Note {
    int pitch;     // semitones from C4; kRest for silence
    double beats;  // length
};
constexpr int kRest = -100;

// Eight phrases of two bars (eight beats) each: verse, verse, chorus, chorus, bridge, chorus.
const std::vector<std::vector<Note>>& phrases() {
    static const std::vector<std::vector<Note>> p = {
        // Verse 1
        {{4, 1}, {7, 1}, {9, 1.5}, {7, 0.5}, {4, 1}, {2, 1}, {0, 2}},
        {{2, 1}, {4, 1}, {7, 1}, {4, 1}, {2, 1.5}, {0, 0.5}, {-3, 2}},
        {{4, 1}, {7, 1}, {9, 1}, {12, 1}, {9, 1.5}, {7, 0.5}, {9, 2}},
        {{7, 1}, {4, 1}, {2, 1}, {4, 1}, {2, 1}, {0, 1}, {0, 2}},
        // Chorus
        {{12, 1.5}, {9, 0.5}, {12, 1}, {14, 1}, {16, 2}, {14, 1}, {12, 1}},
        {{9, 1}, {12, 1}, {9, 1}, {7, 1}, {9, 3}, {kRest, 1}},
        {{12, 1.5}, {9, 0.5}, {12, 1}, {14, 1}, {16, 1}, {19, 1}, {16, 2}},
        {{14, 1}, {12, 1}, {9, 1}, {7, 1}, {12, 3}, {kRest, 1}},
        // Verse 2 (the verse again, a little ornamented)
        {{4, 1}, {7, 1}, {9, 1}, {12, 0.5}, {9, 0.5}, {7, 1}, {4, 1}, {2, 2}},
        {{2, 1}, {4, 1}, {7, 1}, {9, 1}, {7, 1.5}, {4, 0.5}, {2, 2}},
        // Chorus again
        {{12, 1.5}, {9, 0.5}, {12, 1}, {14, 1}, {16, 2}, {14, 1}, {12, 1}},
        {{14, 1}, {12, 1}, {9, 1}, {7, 1}, {12, 4}},
    };
    return p;
}

// One chord (root and two more notes, semitones from C3) per bar.
const std::vector<std::vector<int>>& chords() {
    static const std::vector<int> C = {0, 4, 7}, Am = {-3, 0, 4}, F = {-7, -3, 0}, G = {-5, -1, 2},
                                  Em = {-8, -5, -1}, Dm = {-10, -7, -3};
    static const std::vector<std::vector<int>> c = {
        C, G,                         // intro
        C, Am, F,  G,  C, Am, Dm, G,  // verse
        F, G,  Em, Am, F, G,  Dm, C,  // chorus
        C, Am, F,  G,                 // verse 2
        F, G,  Dm, C,                 // chorus
        F, C,                         // outro
    };
    return c;
}

double frequency(int semitonesFromC4) {
    return 261.6256 * std::pow(2.0, semitonesFromC4 / 12.0);
}

// A deterministic noise source.
struct Random {
    uint32_t state = 0x12345678u;
    float next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / static_cast<float>(1u << 23) - 1.0f;
    }
};

// A plucked string (Karplus-Strong), bright at the attack and mellow as it fades.
void pluck(std::vector<float>& out, double start, double seconds, double hz, float gain,
           Random& random) {
    const size_t first = static_cast<size_t>(start * kSampleRate);
    const size_t count = static_cast<size_t>(seconds * kSampleRate);
    const size_t period = std::max<size_t>(2, static_cast<size_t>(kSampleRate / hz));
    std::vector<float> line(period);
    for (float& v : line) {
        v = random.next();
    }
    size_t index = 0;
    float previous = 0;
    for (size_t i = 0; i < count && first + i < out.size(); ++i) {
        const float current = line[index];
        const float filtered = 0.4985f * (current + previous);
        previous = current;
        line[index] = filtered;
        index = (index + 1) % period;
        // A short release at the note's end avoids clicks.
        const double remaining = static_cast<double>(count - i) / kSampleRate;
        const float release = static_cast<float>(std::min(1.0, remaining / 0.05));
        out[first + i] += gain * current * release;
    }
}

// A soft pad: detuned triangles with a slow attack and release.
void pad(std::vector<float>& out, double start, double seconds, double hz, float gain) {
    const size_t first = static_cast<size_t>(start * kSampleRate);
    const size_t count = static_cast<size_t>(seconds * kSampleRate);
    for (size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double envelope = std::min({1.0, t / 0.6, (seconds - t) / 0.8});
        double v = 0;
        for (double detune : {-0.004, 0.0, 0.005}) {
            const double phase = std::fmod(t * hz * (1 + detune), 1.0);
            v += 1.0 - 4.0 * std::abs(phase - 0.5);
        }
        out[first + i] += static_cast<float>(gain * envelope * v / 3.0);
    }
}

// A round bass note.
void bass(std::vector<float>& out, double start, double seconds, double hz, float gain) {
    const size_t first = static_cast<size_t>(start * kSampleRate);
    const size_t count = static_cast<size_t>(seconds * kSampleRate);
    for (size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double envelope =
            std::min(1.0, t / 0.01) * std::exp(-t * 1.8) * std::min(1.0, (seconds - t) / 0.05);
        const double v = std::sin(2 * std::numbers::pi * hz * t) +
                         0.25 * std::sin(4 * std::numbers::pi * hz * t);
        out[first + i] += static_cast<float>(gain * envelope * v);
    }
}

// A brushed shaker on the off-beats.
void shaker(std::vector<float>& out, double start, float gain, Random& random) {
    const size_t first = static_cast<size_t>(start * kSampleRate);
    const size_t count = static_cast<size_t>(0.09 * kSampleRate);
    float low = 0;
    for (size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const float noise = random.next();
        low += 0.3f * (noise - low);
        out[first + i] += gain * static_cast<float>(std::exp(-t * 45)) * (noise - low);
    }
}

// A stereo echo that gives the dry voices some room.
void addRoom(std::vector<float>& left, std::vector<float>& right) {
    const size_t delayLeft = static_cast<size_t>(0.231 * kSampleRate);
    const size_t delayRight = static_cast<size_t>(0.347 * kSampleRate);
    for (size_t i = 0; i < left.size(); ++i) {
        if (i >= delayLeft) {
            left[i] += 0.28f * right[i - delayLeft];
        }
        if (i >= delayRight) {
            right[i] += 0.28f * left[i - delayRight];
        }
    }
}

}  // namespace

QByteArray toPcm(const StereoSamples& samples) {
    QByteArray pcm(static_cast<qsizetype>(samples.left.size() * 4), Qt::Uninitialized);
    auto* out = reinterpret_cast<int16_t*>(pcm.data());
    for (size_t i = 0; i < samples.left.size(); ++i) {
        out[2 * i] = static_cast<int16_t>(std::lround(samples.left[i] * 32767.0f));
        out[2 * i + 1] = static_cast<int16_t>(std::lround(samples.right[i] * 32767.0f));
    }
    return pcm;
}

std::vector<double> phraseStartTimes() {
    std::vector<double> times;
    double t = kIntroBars * kBar;
    for (size_t i = 0; i < phrases().size(); ++i) {
        times.push_back(t);
        t += 2 * kBar;
    }
    return times;
}

StereoSamples synthesiseSampleSong() {
    const double length = static_cast<double>(chords().size()) * kBar + 3.0;
    const size_t total = static_cast<size_t>(length * kSampleRate);
    std::vector<float> melody(total), accompaniment(total), low(total), percussion(total);
    Random random;

    const std::vector<double> starts = phraseStartTimes();
    for (size_t p = 0; p < phrases().size(); ++p) {
        double t = starts[p];
        for (const Note& note : phrases()[p]) {
            const double seconds = note.beats * kBeat;
            if (note.pitch != kRest) {
                pluck(melody, t, seconds + 0.3, frequency(note.pitch), 0.55f, random);
            }
            t += seconds;
        }
    }

    for (size_t bar = 0; bar < chords().size(); ++bar) {
        const double t = static_cast<double>(bar) * kBar;
        const auto& chord = chords()[bar];
        for (int note : chord) {
            pad(accompaniment, t, kBar + 0.4, frequency(note - 12), 0.11f);
        }
        // Arpeggio on the off-beats, a little quieter than the melody.
        for (int beat = 0; beat < 4; ++beat) {
            const int note = chord[static_cast<size_t>(beat % 3)];
            pluck(accompaniment, t + (beat + 0.5) * kBeat, kBeat, frequency(note), 0.16f, random);
        }
        const double root = frequency(chord[0] - 24);
        bass(low, t, 2 * kBeat, root, 0.35f);
        bass(low, t + 2 * kBeat, 2 * kBeat, root * 1.5, 0.28f);
        const bool quietPart = bar < static_cast<size_t>(kIntroBars) || bar + 2 >= chords().size();
        if (!quietPart) {
            for (int beat = 0; beat < 4; ++beat) {
                shaker(percussion, t + (beat + 0.5) * kBeat, 0.05f, random);
            }
        }
    }

    StereoSamples song;
    song.left.resize(total);
    song.right.resize(total);
    for (size_t i = 0; i < total; ++i) {
        // The melody a little left of centre, the arpeggio a little right.
        song.left[i] = 0.60f * melody[i] + 0.45f * accompaniment[i] + low[i] + 0.8f * percussion[i];
        song.right[i] = 0.45f * melody[i] + 0.60f * accompaniment[i] + low[i] + percussion[i];
    }
    addRoom(song.left, song.right);

    // Fade in and out, then bring the peak to about -1 dBFS.
    float peak = 0;
    for (size_t i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const float fade = static_cast<float>(std::min({1.0, t / 1.5, (length - t) / 3.0}));
        song.left[i] *= fade;
        song.right[i] *= fade;
        peak = std::max({peak, std::abs(song.left[i]), std::abs(song.right[i])});
    }
    const float scale = peak > 0 ? 0.89f / peak : 1.0f;
    for (size_t i = 0; i < total; ++i) {
        song.left[i] *= scale;
        song.right[i] *= scale;
    }
    return song;
}

}  // namespace vellumo::datagen
