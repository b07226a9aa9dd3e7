#include "app/music_lyrics_windows.h"

#include "album/lyric_settings_window.h"
#include "app/main_window.h"
#include "app/summary_lists.h"
#include "lists/album_rows.h"
#include "lists/lyrics_list_window.h"
#include "lists/music_list_window.h"
#include "preview/music_preview_window.h"
#include "project/album.h"

namespace vellumo {

MusicLyricsWindows::MusicLyricsWindows(MainWindow& main, Album& album, MusicPlayer& player)
    : QObject(&main), main_(main), album_(album) {
    preview_ = new MusicPreviewWindow(album, player, &main);
    lyricSettings_ = new LyricSettingsWindow(
        album.lyrics(),
        [&album](int row, const LyricSettings& settings) { album.setLyricSettings(row, settings); },
        &main);
    musicList_ = new MusicListWindow(album, player, *preview_, &main);
    lyricsList_ = new LyricsListWindow(album, *preview_, *lyricSettings_, &main);

    connect(&album, &Album::changed, this, [this](AlbumParts parts) {
        if (parts & (AlbumPart::Music | AlbumPart::Lyrics)) {
            showSummaries();
        }
    });

    main.setCommandHandler(Command::AddMusic, [this] { musicList_->exec(); });
    main.setCommandHandler(Command::AddLyrics, [this] { lyricsList_->exec(); });
    main.setCommandHandler(Command::MusicPreview,
                           [this] { preview_->openInMode(MusicPreviewMode::Music); });
    main.setCommandHandler(Command::LyricsPreview,
                           [this] { preview_->openInMode(MusicPreviewMode::Lyrics); });
}

void MusicLyricsWindows::showSummaries() {
    main_.setSummary(SummaryKind::Music, musicSummaryRows(album_.music()));
    main_.setSummary(SummaryKind::Lyrics, lyricsSummaryRows(album_.lyrics()));
}

}  // namespace vellumo
