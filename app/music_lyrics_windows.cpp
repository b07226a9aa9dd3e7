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
    setObjectName(QStringLiteral("musicLyricsWindows"));
    preview_ = new MusicPreviewWindow(album, player, &main);
    lyricSettings_ = new LyricSettingsWindow(album.lyrics(), &main);
    musicList_ = new MusicListWindow(album, player, *preview_, &main);
    lyricsList_ = new LyricsListWindow(album, *preview_, *lyricSettings_, &main);

    main.setCommandHandler(Command::AddMusic, [this] {
        musicList_->exec();
        refreshSummaries();
    });
    main.setCommandHandler(Command::AddLyrics, [this] {
        lyricsList_->exec();
        refreshSummaries();
    });
    main.setCommandHandler(Command::MusicPreview,
                           [this] { preview_->openInMode(MusicPreviewMode::Music); });
    main.setCommandHandler(Command::LyricsPreview,
                           [this] { preview_->openInMode(MusicPreviewMode::Lyrics); });
}

MusicLyricsWindows* MusicLyricsWindows::of(const MainWindow& main) {
    return main.findChild<MusicLyricsWindows*>(QStringLiteral("musicLyricsWindows"),
                                               Qt::FindDirectChildrenOnly);
}

void MusicLyricsWindows::refreshSummaries() {
    main_.setSummary(SummaryKind::Music, musicSummaryRows(album_.music()));
    main_.setSummary(SummaryKind::Lyrics, lyricsSummaryRows(album_.lyrics()));
}

}  // namespace vellumo
