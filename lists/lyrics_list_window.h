#pragma once

// The lyrics list window ("添加歌词"): the album's lyric files with their settings records kept
// in step; adds LRC files, deletes one or all, opens the lyrics preview and the lyric settings
// window for the selected file.

#include "lists/file_list_window.h"

namespace vellumo {

class Album;
class LyricSettingsWindow;
class LyricsList;

class LyricsListWindow : public FileListWindow {
    Q_OBJECT
public:
    LyricsListWindow(Album& album, MusicPreviewWindow& preview, LyricSettingsWindow& settings,
                     QWidget* parent = nullptr);

    void addLyrics();
    void editSettings();
    QPushButton* settingsButton() const { return settings_; }

private:
    Album& album_;
    LyricSettingsWindow& settingsWindow_;
    QPushButton* settings_ = nullptr;
};

}  // namespace vellumo
