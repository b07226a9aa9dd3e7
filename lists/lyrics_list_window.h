#pragma once

// The lyrics list window ("添加歌词"): the album's lyric files with their settings records kept
// in step; adds LRC files, deletes one or all, opens the lyrics preview and the lyric settings
// window for the selected file.

#include "lists/music_list_window.h"

namespace vellumo {

class LyricSettingsWindow;

class LyricsListWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize = MusicListWindow::kSize;

    LyricsListWindow(Album& album, MusicPreviewWindow& preview, LyricSettingsWindow& settings,
                     QWidget* parent = nullptr);

    void setFileChooser(AddFilesChooser chooser) { chooser_ = std::move(chooser); }
    // "0" until the add-lyrics dialog has been opened in this run, "1" after.
    QString firstOpenFlag() const;

    void addLyrics();
    void deleteSelected();
    void deleteAll();
    void openPreview();
    void editSettings();
    void refreshList();

    QTreeWidget* list() const { return list_; }
    InfoPanel* info() const { return info_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* deleteAllButton() const { return deleteAll_; }
    QPushButton* previewButton() const { return preview_; }
    QPushButton* settingsButton() const { return settings_; }
    QPushButton* returnButton() const { return return_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showSelected();

    Album& album_;
    MusicPreviewWindow& previewWindow_;
    LyricSettingsWindow& settingsWindow_;
    AddFilesChooser chooser_ = chooseFilesToAdd;
    bool dialogOpened_ = false;

    QTreeWidget* list_ = nullptr;
    InfoPanel* info_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* deleteAll_ = nullptr;
    QPushButton* preview_ = nullptr;
    QPushButton* settings_ = nullptr;
    QPushButton* return_ = nullptr;
};

}  // namespace vellumo
