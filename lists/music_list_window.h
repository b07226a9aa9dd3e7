#pragma once

// The music list window ("添加音乐"): the album's music with its five columns and an
// information panel; adds MP3 files (each measured by the shared music player, or converted to
// WAV when the player cannot open it), deletes one or all, and opens the music preview.

#include "lists/file_list_window.h"

namespace vellumo {

class Album;
class MusicPlayer;

class MusicListWindow : public FileListWindow {
    Q_OBJECT
public:
    MusicListWindow(Album& album, MusicPlayer& player, MusicPreviewWindow& preview,
                    QWidget* parent = nullptr);

    void addMusic();

private:
    Album& album_;
    MusicPlayer& player_;
};

}  // namespace vellumo
