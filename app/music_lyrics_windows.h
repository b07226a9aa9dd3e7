#pragma once

// The music and lyrics windows of the program, created once as children of the main window:
// the music list, the lyrics list, the music and lyrics preview and the lyric settings window.
// They take the main window's commands "添加音乐" and "添加歌词" and the double-clicks on the
// music and lyrics summaries; the music and lyrics summaries follow the album's changes.

#include <QObject>

namespace vellumo {

class Album;
class LyricSettingsWindow;
class LyricsListWindow;
class MainWindow;
class MusicListWindow;
class MusicPlayer;
class MusicPreviewWindow;

class MusicLyricsWindows : public QObject {
    Q_OBJECT
public:
    MusicLyricsWindows(MainWindow& main, Album& album, MusicPlayer& player);

    MusicListWindow* musicList() const { return musicList_; }
    LyricsListWindow* lyricsList() const { return lyricsList_; }
    MusicPreviewWindow* preview() const { return preview_; }
    LyricSettingsWindow* lyricSettings() const { return lyricSettings_; }

private:
    // The main window's music and lyrics summaries, rebuilt from the album.
    void showSummaries();

    MainWindow& main_;
    Album& album_;
    MusicListWindow* musicList_ = nullptr;
    LyricsListWindow* lyricsList_ = nullptr;
    MusicPreviewWindow* preview_ = nullptr;
    LyricSettingsWindow* lyricSettings_ = nullptr;
};

}  // namespace vellumo
