#include "lists/lyrics_list_window.h"

#include <QPushButton>

#include "album/lyric_settings_window.h"
#include "album/music_lyrics_texts.h"
#include "lists/album_rows.h"
#include "project/album.h"
#include "workspace/data_paths.h"

namespace vellumo {

LyricsListWindow::LyricsListWindow(Album& album, MusicPreviewWindow& preview,
                                   LyricSettingsWindow& settings, QWidget* parent)
    : FileListWindow(QSize(800, 480), texts::kLyricsListCaption,
                     std::make_unique<FileRows<LyricsList>>(album.lyrics()),
                     {texts::kNoLyrics, texts::kNoLyricsSelected, texts::kDeleteLyricsCaption,
                      texts::kDeleteLyricsQuestion, texts::kLyricsDeleted,
                      texts::kDeleteAllLyricsQuestion, texts::kAllLyricsDeleted},
                     {texts::kAddLyricsFilter, paths::kSampleLyrics, texts::kAddLyricsProgress,
                      MusicPreviewMode::Lyrics},
                     preview, parent),
      lyrics_(album.lyrics()),
      settingsWindow_(settings) {
    using namespace texts;
    buildBelowList(
        {kLyricsColumnNumber, kLyricsColumnName, kLyricsColumnFormat, kLyricsColumnLocation},
        {kInfoNumber, kInfoName, kInfoFormat, kInfoLocation});
    makeRecordButtons(kAddLyricsButton, kDeleteLyricsButton, kDeleteAllButton,
                      [this] { addLyrics(); });
    makePreviewButton(kLyricsPreviewButton);
    settings_ = makeButton(kLyricSettingsButton);
    connect(settings_, &QPushButton::clicked, this, &LyricsListWindow::editSettings);
    makeReturnButton(kLyricsReturnButton, false);
}

void LyricsListWindow::addLyrics() {
    addFiles([this](const QString& file) {
        lyrics_.add(file);
        return QString();
    });
}

void LyricsListWindow::editSettings() {
    if (const int row = selectedRecord(); row >= 0) {
        settingsWindow_.edit(row);
    }
}

}  // namespace vellumo
