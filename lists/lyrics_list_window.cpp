#include "lists/lyrics_list_window.h"

#include <QFileInfo>
#include <QPushButton>
#include <QTreeWidget>

#include "album/lyric_settings_window.h"
#include "album/music_lyrics_texts.h"
#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "preview/music_preview_window.h"
#include "project/album.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/program_folder.h"

namespace vellumo {

LyricsListWindow::LyricsListWindow(Album& album, MusicPreviewWindow& preview,
                                   LyricSettingsWindow& settings, QWidget* parent)
    : SkinnedDialog(kSize, texts::kLyricsListCaption, parent),
      album_(album),
      previewWindow_(preview),
      settingsWindow_(settings) {
    using namespace texts;
    list_ = makeRecordList(
        this, {kLyricsColumnNumber, kLyricsColumnName, kLyricsColumnFormat, kLyricsColumnLocation},
        kSize.width());
    info_ = makeInfoPanel(this, {kInfoNumber, kInfoName, kInfoFormat, kInfoLocation});
    add_ = makeListButton(this, kAddLyricsButton, 0);
    add_->setProperty("accent", true);
    delete_ = makeListButton(this, kDeleteLyricsButton, 1);
    deleteAll_ = makeListButton(this, kDeleteAllButton, 2);
    preview_ = makeListButton(this, kLyricsPreviewButton, 3);
    settings_ = makeListButton(this, kLyricSettingsButton, 4);
    return_ = makeListButton(this, kLyricsReturnButton, 5);

    connect(list_, &QTreeWidget::itemSelectionChanged, this, &LyricsListWindow::showSelected);
    connect(add_, &QPushButton::clicked, this, &LyricsListWindow::addLyrics);
    connect(delete_, &QPushButton::clicked, this, &LyricsListWindow::deleteSelected);
    connect(deleteAll_, &QPushButton::clicked, this, &LyricsListWindow::deleteAll);
    connect(preview_, &QPushButton::clicked, this, &LyricsListWindow::openPreview);
    connect(settings_, &QPushButton::clicked, this, &LyricsListWindow::editSettings);
    connect(return_, &QPushButton::clicked, this, &QDialog::reject);
}

QString LyricsListWindow::firstOpenFlag() const {
    return dialogOpened_ ? QStringLiteral("1") : QStringLiteral("0");
}

void LyricsListWindow::addLyrics() {
    // Only the first dialog of the run offers the sample lyrics.
    QString preset;
    if (!dialogOpened_) {
        const QString sample = dataPath(paths::kSampleLyrics);
        if (QFileInfo::exists(sample)) {
            preset = sample;
        }
        dialogOpened_ = true;
    }
    const QStringList files =
        chooser_(this, texts::kLyricsListCaption, texts::kAddLyricsFilter, preset);
    if (files.isEmpty()) {
        return;
    }
    try {
        ProgressWindow& progress = ProgressWindow::shared();
        progress.run(texts::kAddLyricsProgress, static_cast<int>(files.size()), [&] {
            for (const QString& file : files) {
                album_.lyrics().add(file);
                progress.advance();
            }
        });
    } catch (const Error& error) {
        showMessage(error.message());
    }
    refreshList();
}

void LyricsListWindow::deleteSelected() {
    if (album_.lyrics().isEmpty()) {
        showMessage(texts::kNoLyrics);
        return;
    }
    if (!confirm(texts::kDeleteLyricsCaption, texts::kDeleteLyricsQuestion)) {
        return;
    }
    const int row = selectedRow(list_);
    if (row < 0 || row >= album_.lyrics().size()) {
        showMessage(texts::kNoLyricsSelected);
        return;
    }
    // The settings record goes with its lyric file.
    album_.lyrics().remove(row);
    refreshList();
    showMessage(texts::kLyricsDeleted);
    info_->clear();
}

void LyricsListWindow::deleteAll() {
    if (album_.lyrics().isEmpty()) {
        showMessage(texts::kNoLyrics);
        return;
    }
    if (!confirm(texts::kDeleteLyricsCaption, texts::kDeleteAllLyricsQuestion)) {
        return;
    }
    album_.lyrics().clear();
    refreshList();
    showMessage(texts::kAllLyricsDeleted);
    info_->clear();
}

void LyricsListWindow::openPreview() {
    previewWindow_.openInMode(MusicPreviewMode::Lyrics);
}

void LyricsListWindow::editSettings() {
    if (album_.lyrics().isEmpty()) {
        showMessage(texts::kNoLyrics);
        return;
    }
    const int row = selectedRow(list_);
    if (row < 0 || row >= album_.lyrics().size()) {
        showMessage(texts::kNoLyricsSelected);
        return;
    }
    settingsWindow_.edit(row);
}

void LyricsListWindow::refreshList() {
    const QSignalBlocker block(list_);
    list_->clear();
    const LyricsList& lyrics = album_.lyrics();
    for (int row = 0; row < lyrics.size(); ++row) {
        const LyricFileRecord& record = lyrics.at(row);
        list_->addTopLevelItem(new QTreeWidgetItem(
            {QString::number(row + 1), record.name, record.format, record.location}));
    }
    info_->clear();
}

void LyricsListWindow::showSelected() {
    const int row = selectedRow(list_);
    if (row < 0 || row >= album_.lyrics().size()) {
        info_->clear();
        return;
    }
    const LyricFileRecord& record = album_.lyrics().at(row);
    info_->showValues({QString::number(row + 1), record.name, record.format, record.location});
}

void LyricsListWindow::showEvent(QShowEvent* event) {
    refreshList();
    SkinnedDialog::showEvent(event);
}

}  // namespace vellumo
