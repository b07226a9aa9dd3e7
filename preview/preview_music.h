#pragma once

// Music and lyrics while the album preview plays: the music list plays through the shared music
// player and, at each tick of the music timer, the lyric line of the current second is looked up
// and given the look of its lyric file's settings. Lyric file i goes with music file i. With sync
// with template the music list loops; with sync with music it plays once.
// The host owns the music timer: it calls start(), tick() on every timer tick while isRunning(),
// and stop(); it shows lyricLine() on its lyric label and the messages of takeMessages().

#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

#include "album/lyric_painting.h"
#include "album/lyric_settings.h"
#include "album/output_options.h"

namespace vellumo {

class Album;
struct LyricEntry;
class LyricTable;
class MusicPlayer;

class PreviewMusic {
public:
    static constexpr QSize kMainDisplaySize{800, 450};

    struct Tick {
        bool lyricChanged = false;
    };

    PreviewMusic(Album& album, MusicPlayer& player, QSize display = kMainDisplaySize);

    // Music file 0 (or the first one that opens) plays and its lyric file is read. The music
    // timer runs only when a music file plays.
    void start(SyncMode sync);
    Tick tick();
    // The player stops and the lyric label is emptied.
    void stop();

    bool isRunning() const { return running_; }
    int musicCounter() const { return musicCounter_; }
    int lyricCounter() const { return lyricCounter_; }
    // Time text of the player's position in whole seconds, "01:23".
    const QString& positionText() const { return positionText_; }
    const LyricLine& lyricLine() const { return line_; }

    // Messages for the user since the last call: music files skipped, lyric files unreadable;
    // each file is reported once per start.
    QStringList takeMessages();

private:
    // Opens and plays the first file from index `from` on that opens, trying each file once
    // (looping round the list with sync with template). False when none opens.
    bool playFrom(int from);
    void readLyricsAtCounter();
    void report(const QString& file, const QString& message);

    Album& album_;
    MusicPlayer& player_;
    QSize display_;
    SyncMode sync_ = SyncMode::WithTemplate;
    bool running_ = false;
    bool ended_ = false;  // sync with music: the last file has played to its end
    int musicCounter_ = 0;
    int lyricCounter_ = 0;
    QString positionText_;
    LyricLine line_;
    // The entry and settings the line was last made from, so that a tick finding the same
    // entry again does not convert and measure it again.
    const LyricEntry* shownEntry_ = nullptr;
    LyricSettings shownSettings_;
    QStringList messages_;
    QSet<QString> reported_;
};

}  // namespace vellumo
