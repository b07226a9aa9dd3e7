#include "lists/music_list_window.h"

#include "album/music_lyrics_texts.h"
#include "dialogs/progress_window.h"
#include "lists/album_rows.h"
#include "project/album.h"
#include "workspace/data_paths.h"

namespace vellumo {

MusicListWindow::MusicListWindow(Album& album, MusicPlayer& player, MusicPreviewWindow& preview,
                                 QWidget* parent)
    : FileListWindow(QSize(800, 480), texts::kMusicListCaption, std::make_unique<MusicRows>(album),
                     {texts::kNoMusic, texts::kNoMusicSelected, texts::kDeleteMusicCaption,
                      texts::kDeleteMusicQuestion, texts::kMusicDeleted,
                      texts::kDeleteAllMusicQuestion, texts::kAllMusicDeleted},
                     {texts::kAddMusicFilter, paths::kSampleMusic, texts::kAddMusicProgress,
                      MusicPreviewMode::Music},
                     preview, parent),
      album_(album),
      player_(player) {
    using namespace texts;
    buildBelowList(
        {kMusicColumnNumber, kMusicColumnName, kMusicColumnFormat, kMusicColumnDuration,
         kMusicColumnLocation},
        {kMusicInfoNumber, kMusicInfoName, kMusicInfoFormat, kInfoDuration, kMusicInfoLocation});
    makeRecordButtons(kAddMusicButton, kDeleteMusicButton, kDeleteAllButton,
                      [this] { addMusic(); });
    makePreviewButton(kMusicPreviewButton);
    makeReturnButton(kMusicReturnButton, false);
    followAlbum(album, AlbumPart::Music);
}

void MusicListWindow::addMusic() {
    // The files chosen together go in as one change.
    Album::Edit edit(album_);
    addFiles([this](const QString& file) {
        return album_.addMusic(file, player_, &ProgressWindow::letEventsThrough);
    });
}

}  // namespace vellumo
