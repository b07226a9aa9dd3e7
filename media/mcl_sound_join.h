#pragma once

// The sound files of a conversion joined into one sound: each at its gain, and at a join with a
// crossfade the end of one file overlapping the start of the next, one fading out as the other
// fades in (at equal power, so the join keeps its loudness).

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "media/mcl_common.h"
#include "media/mcl_sound_input.h"

namespace vellumo::mcl::detail {

class SoundJoiner {
public:
    SoundJoiner(QStringList files, SoundMixing mixing, int sampleRate);
    ~SoundJoiner();
    SoundJoiner(const SoundJoiner&) = delete;
    SoundJoiner& operator=(const SoundJoiner&) = delete;

    // Puts more of the joined sound into out; false once every file is used up. Fails like
    // SoundReader when a file cannot be opened.
    bool readInto(AVAudioFifo* out);
    // Songs whose sound ended early since the last call, one line each.
    QStringList takeProblems();

private:
    // Moves count samples from the current file's queue to out, mixing in the tail of the file
    // before while it lasts.
    void release(AVAudioFifo* out, int count);
    // What is left of the tail, faded out, goes to out.
    void flushTail(AVAudioFifo* out);
    // The file ended: what it held back is the tail for the next join.
    void endFile(AVAudioFifo* out);

    QStringList files_;
    SoundMixing mixing_;
    int sampleRate_;
    qsizetype next_ = 0;
    std::unique_ptr<SoundReader> reader_;
    std::unique_ptr<AVAudioFifo, FifoDeleter> pending_;  // the current file, not yet released
    int holdBack_ = 0;                                   // samples kept for the next join
    std::vector<float> tail_[2];                         // the end of the file before
    size_t tailUsed_ = 0;
    std::vector<float> scratch_[2];
    QStringList problems_;
};

}  // namespace vellumo::mcl::detail
