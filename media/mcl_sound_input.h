#pragma once

// Sound input of the conversion library: one sound file decoded and resampled to planar float
// stereo at the output rate.

#include <QString>

#include "media/mcl_common.h"

namespace vellumo::mcl::detail {

class SoundReader {
public:
    // Opens path; a file that is not sound fails with kErrorSoundFile.
    SoundReader(const QString& path, int sampleRate);

    // Every sample read from now on is multiplied by factor.
    void setGain(float factor) { gain_ = factor; }

    // Decodes at least one more frame into fifo; false once the file is exhausted.
    bool readInto(AVAudioFifo* fifo);

    // Why the sound of the file ended before its end, empty when it was read whole.
    const QString& problem() const { return problem_; }

private:
    [[noreturn]] void failHere(const QString& reason, int ret) const;
    // A read error, or an end well before the length the file announces, cuts the song short.
    void noteEnd(int ret);
    bool receive(AVAudioFifo* fifo);
    void convert(AVAudioFifo* fifo, const uint8_t** data, int samples);

    // Sound shorter than its announced length by more than this (or a twentieth) is noted.
    static constexpr qint64 kShortfallMs = 2000;

    QString path_;
    int sampleRate_ = 44100;
    float gain_ = 1.0F;
    qint64 readSamples_ = 0;
    QString problem_;
    std::unique_ptr<AVFormatContext, InputDeleter> input_;
    CodecPtr codec_;
    ResamplerPtr resampler_;
    PacketPtr packet_;
    FramePtr frame_;
    FramePtr scratch_;
    int stream_ = -1;
    bool ended_ = false;
};

}  // namespace vellumo::mcl::detail
