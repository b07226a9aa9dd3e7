#pragma once

// The album's pictures as the production hands them to the encoder. Picture 0 is black; picture
// n > 0 is the movie of the sequence at that frame, drawn at the output size, with the lyric
// line of the music heard then laid over it. Each movie starts from the last picture of the one
// before, without its lyric line (the lead-in picture); a movie that cannot be played keeps
// that picture on screen.
//
// AlbumFrames draws them on the thread that asks; it belongs to one thread at a time. Pictures
// asked for in order are fastest (a movie is loaded once). FramesAhead draws them in order on a
// thread of its own, a few pictures ahead of the encoder that takes them, so that drawing and
// encoding share the machine's cores.

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "timeline/album_sequence.h"
#include "timeline/lyric_overlay.h"

namespace vellumo {

class Album;

namespace movie {
class MovieRenderer;
}

class AlbumFrames {
public:
    // The album and the sequence are only read, and must outlive the frames. With
    // writeLeadInFiles the lead-in picture of each movie is also written to the lead-in
    // picture and bitmap files, for whoever looks at them.
    AlbumFrames(const Album& album, const AlbumSequence& sequence, QSize size,
                bool writeLeadInFiles);
    ~AlbumFrames();

    AlbumFrames(const AlbumFrames&) = delete;
    AlbumFrames& operator=(const AlbumFrames&) = delete;

    QImage frame(int n);

    // Called on the drawing thread before a movie is loaded, with its used template (-1 for the
    // closing movie): where the production waits for the template's staging.
    std::function<void(int usedTemplate)> beforeLoading;
    // A still stretch of a movie (frames that draw alike) is drawn once and its picture repeated
    // with each frame's lyric line; tests turn it off to compare.
    bool repeatStills = true;

    // What happened on the way: the stage log (lines without their numbers), the error list
    // (movies that could not be played, lead-in files that could not be written), what the
    // user is told, and the lyric files that could not be read.
    const QStringList& stageLog() const { return stageLog_; }
    const QStringList& errorList() const { return errorList_; }
    const QStringList& notices() const { return notices_; }
    QStringList lyricProblems() const { return lyrics_.problems(); }

private:
    class Buffers;

    void loadMovie(int movieIndex);
    QImage blackPicture() const;
    // The movie's picture of shownFrame_, without the lyric line: drawn, or the still one.
    QImage moviePicture(int n, const AlbumFrame& f);

    const Album& album_;
    const AlbumSequence& sequence_;
    QSize size_;
    bool writeLeadInFiles_;
    SequenceLyrics lyrics_;
    LyricOverlay overlay_;
    std::shared_ptr<Buffers> buffers_;
    std::shared_ptr<const movie::MovieRenderer> renderer_;  // null while no movie plays
    int loadedMovie_ = -1;                                  // index in the sequence's movies
    int shownFrame_ = -1;  // the frame of the movie drawn last, -1 when none
    QImage kept_;          // shown while a movie that cannot be played lasts
    // The movie's picture of frame stillFrame_ without the lyric line, kept while the next
    // frame draws alike or the next movie starts from it.
    QImage still_;
    int stillFrame_ = -1;
    QString lastHealth_;
    QStringList stageLog_;
    QStringList errorList_;
    QStringList notices_;
};

class FramesAhead {
public:
    using Draw = std::function<QImage(int n)>;

    // Starts drawing pictures 0 .. count - 1 of frames on a thread of its own, at most depth of
    // them waiting. frames belongs to that thread until this object is destroyed.
    FramesAhead(AlbumFrames& frames, int count, int depth);
    // The same with any drawing (called on that thread, in order).
    FramesAhead(Draw draw, int count, int depth);
    // Stops drawing after the picture being drawn and waits for the thread.
    ~FramesAhead();

    FramesAhead(const FramesAhead&) = delete;
    FramesAhead& operator=(const FramesAhead&) = delete;

    // The next picture in order; waits for it, asking stopRequested every few milliseconds
    // meanwhile (where a window keeps itself alive). Null once stopRequested said true or all
    // count pictures were taken. Throws what drawing a picture threw.
    QImage take(const std::function<bool()>& stopRequested);

    // Asks the thread to stop after the picture being drawn; waitForEnd() waits at most
    // timeout for it and tells whether it has ended (the destructor then returns at once).
    void cancel();
    bool waitForEnd(std::chrono::milliseconds timeout);

private:
    void drawAll(const Draw& draw, int count);

    const size_t depth_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<QImage> ready_;
    bool cancelled_ = false;
    bool ended_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace vellumo
