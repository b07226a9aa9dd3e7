#pragma once

// The album as a sequence of frames at 25 a second: which movie plays and which of its frames
// at album frame n, which music row is heard then and which lyric line shows in which look.
// The preview timeline and the production run both read it, so the video is the preview.
//
// Layout by sync mode:
//  - with template: every complete used template once, in list order, then the closing movie
//    (150 frames). The music list repeats from its start until its rows cover the album; a row
//    counts its file's whole seconds × 25 frames. The sound is cut at the video's end.
//  - with music: the complete templates repeat, each whole and in list order, until their
//    frames reach the length of the music list played once; then the closing movie. The sound
//    track is the music list once.
// A music row is heard from the end of the rows before it (their real lengths), so the lyric
// lines stay with the sound the encoder joins; with the album's crossfade each row starts
// kCrossfadeMs before the end of the row before it.

#include <QHash>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

#include "album/lyric_settings.h"
#include "album/lyrics.h"
#include "album/output_options.h"

namespace vellumo {

class Album;

inline constexpr int kAlbumFrameRate = 25;
inline constexpr int kAlbumFrameMs = 1000 / kAlbumFrameRate;
inline constexpr int kClosingMovieFrames = 150;
// "歌曲淡入淡出": two songs overlap by this much, one fading out as the next fades in.
inline constexpr qint64 kCrossfadeMs = 2000;
// The album's sound fades in over its first half second and out over its last two.
inline constexpr int kSoundFadeInMs = 500;
inline constexpr int kSoundFadeOutMs = 2000;

// One movie of the sequence.
struct SequenceMovie {
    int usedTemplate = -1;  // row in the used-template list; -1 for the closing movie
    qint64 firstFrame = 0;  // the album frame of its frame 0
    int frames = 0;         // album frames it lasts (its catalogue frame count)
    bool isClosing() const { return usedTemplate < 0; }
};

// One row of the music heard (the production music list).
struct MusicRow {
    int music = 0;  // index in the music list, also the index of its lyric file
    QString location;
    qint64 lengthMs = 0;
    int neededFrames = 0;  // whole seconds × 25
    qint64 startMs = 0;    // album time at which it starts
};

// What album frame n shows and plays.
struct AlbumFrame {
    int movie = -1;      // index in movies(), -1 when there is none
    int movieFrame = 0;  // frame of that movie
    int musicRow = -1;   // index in musicRows(), -1 when no music is heard
    qint64 musicMs = 0;  // position within that row's file
};

// Length of a music file in milliseconds; 0 when it cannot be read.
using MusicLengthFunc = std::function<qint64(const QString& location)>;
// The length the music player reads, through the audio probe.
MusicLengthFunc probedMusicLength();

class AlbumSequence {
public:
    AlbumSequence() = default;

    struct Input {
        QVector<int> playList;  // used-template rows to play, in order (the complete ones)
        SyncMode sync = SyncMode::WithTemplate;
        MusicLengthFunc musicLength;  // probedMusicLength() when empty
        // Asked before each music row; true ends the building at once (stopped() is then set).
        std::function<bool()> stopRequested;
    };
    static AlbumSequence build(const Album& album, const Input& input);
    // The complete used templates in list order.
    static QVector<int> completeTemplates(const Album& album);

    SyncMode sync() const { return sync_; }
    qint64 totalFrames() const { return totalFrames_; }
    const QVector<SequenceMovie>& movies() const { return movies_; }
    // The used-template rows in play order: with sync with music the templates come round
    // again.
    QVector<int> playList() const;
    const QVector<MusicRow>& musicRows() const { return musicRows_; }
    // The music rows' files in order: the sound track.
    QStringList soundFiles() const;
    // False when the music list could not cover the album (every file shorter than a second):
    // it is heard once and the user is told.
    bool musicCoversAlbum() const { return musicCovers_; }
    // The building was ended by stopRequested.
    bool stopped() const { return stopped_; }

    AlbumFrame at(qint64 frame) const;

private:
    SyncMode sync_ = SyncMode::WithTemplate;
    qint64 totalFrames_ = 0;
    QVector<SequenceMovie> movies_;
    QVector<MusicRow> musicRows_;
    bool musicCovers_ = true;
    bool stopped_ = false;
};

// The lyric line shown at each album frame: the lyric file of the music row heard (file i goes
// with music file i), looked up at the whole second of the row's position; between two tags
// the last line found stays, and each row starts with an empty line. Lyric files are read once.
class SequenceLyrics {
public:
    SequenceLyrics(const Album& album, const AlbumSequence& sequence);

    // The line at album frame n in the look of its lyric settings on a display of that size.
    LyricLine lineAt(qint64 frame, QSize display);
    // Lyric files that could not be read, one message each.
    const QStringList& problems() const { return problems_; }

private:
    struct Track {
        LyricTable table;
        QVector<int> shownEntry;  // per second: index of the entry shown, -1 for none
    };
    Track& track(int lyricFile);
    int shownAt(Track& track, qint64 second) const;

    const Album& album_;
    const AlbumSequence& sequence_;
    QHash<int, Track> tracks_;
    QStringList problems_;
    // The last line made, so that frames with the same line reuse its look.
    int lastFile_ = -1;
    int lastEntry_ = -1;
    QSize lastDisplay_;
    LyricLine lastLine_;
};

}  // namespace vellumo
