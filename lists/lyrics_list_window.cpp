#include "lists/lyrics_list_window.h"

#include <QPushButton>

#include "album/lyric_settings_window.h"
#include "album/lyrics.h"
#include "album/music_lyrics_texts.h"
#include "lists/album_rows.h"
#include "project/album.h"
#include "timeline/shown_lyrics.h"
#include "workspace/data_paths.h"
#include "workspace/regular_file.h"
#include "workspace/workspace_texts.h"

namespace vellumo {

LyricsListWindow::LyricsListWindow(Album& album, MusicPreviewWindow& preview,
                                   LyricSettingsWindow& settings, QWidget* parent)
    : FileListWindow(QSize(800, 480), texts::kLyricsListCaption,
                     std::make_unique<LyricsRows>(album),
                     {texts::kNoLyrics, texts::kNoLyricsSelected, texts::kDeleteLyricsCaption,
                      texts::kDeleteLyricsQuestion, texts::kLyricsDeleted,
                      texts::kDeleteAllLyricsQuestion, texts::kAllLyricsDeleted},
                     {texts::kAddLyricsFilter, paths::kSampleLyrics, texts::kAddLyricsProgress,
                      MusicPreviewMode::Lyrics},
                     preview, parent),
      album_(album),
      settingsWindow_(settings) {
    using namespace texts;
    buildBelowList(
        {kLyricsColumnNumber, kLyricsColumnName, kLyricsColumnFormat, kLyricsColumnLocation},
        {kLyricsInfoNumber, kLyricsInfoName, kLyricsInfoFormat, kLyricsInfoLocation});
    makeRecordButtons(kAddLyricsButton, kDeleteLyricsButton, kDeleteAllButton,
                      [this] { addLyrics(); });
    makePreviewButton(kLyricsPreviewButton);
    settings_ = makeButton(kLyricSettingsButton);
    connect(settings_, &QPushButton::clicked, this, &LyricsListWindow::editSettings);
    makeReturnButton(kLyricsReturnButton, false);
    followAlbum(album, AlbumPart::Lyrics);
}

void LyricsListWindow::addLyrics() {
    // The files chosen together go in as one change.
    Album::Edit edit(album_);
    addFiles([this](const QString& file) {
        if (regularFileProblem(file) == texts::kNotRegularFile) {
            return texts::kNotARegularFileNotAdded.arg(file);
        }
        album_.addLyrics(file);
        // Kept, for its row goes with a song; the user hears now that it shows nothing.
        LyricTable table;
        return readShownLyrics(file, table);
    });
}

void LyricsListWindow::editSettings() {
    if (const int row = selectedRecord(); row >= 0) {
        settingsWindow_.edit(row);
    }
}

}  // namespace vellumo
