#pragma once

// The music list window ("添加音乐"): the album's music with its five columns and an
// information panel; adds MP3 files (each measured by the shared music player, or converted to
// WAV when the player cannot open it), deletes one or all, and opens the music preview. Also the
// pieces the lyrics list window shares: the information panel and the file chooser.

#include <QGroupBox>
#include <QStringList>
#include <functional>

#include "dialogs/skinned_dialog.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vellumo {

class Album;
class LyricsList;
class MusicList;
class MusicPlayer;
class MusicPreviewWindow;

// Lets the user choose files to add: caption, filter, and the file preset in the dialog (none
// when empty). Returns the chosen files in the dialog's order; none on cancel.
using AddFilesChooser = std::function<QStringList(QWidget* parent, const QString& caption,
                                                  const QString& filter, const QString& preset)>;
QStringList chooseFilesToAdd(QWidget* parent, const QString& caption, const QString& filter,
                             const QString& preset);

// The information panel of a list window: one read-only field per label.
class InfoPanel : public QGroupBox {
    Q_OBJECT
public:
    InfoPanel(const QStringList& labels, QWidget* parent);
    void showValues(const QStringList& values);
    void clear();
    QString value(int field) const;
    int fieldCount() const { return static_cast<int>(fields_.size()); }

private:
    QList<QLineEdit*> fields_;
};

// The rows of the main window's summaries: number, name, duration / number, name, format.
QList<QStringList> musicSummaryRows(const MusicList& music);
QList<QStringList> lyricsSummaryRows(const LyricsList& lyrics);

// The selected row of a list, -1 when none is selected.
int selectedRow(const QTreeWidget* list);

// The layout both list windows share: the list across the top, the information panel below
// on the left, the buttons in two columns on the right (index counts along the rows).
QTreeWidget* makeRecordList(QWidget* parent, const QStringList& columns, int width);
InfoPanel* makeInfoPanel(QWidget* parent, const QStringList& labels);
QPushButton* makeListButton(QWidget* parent, const QString& caption, int index);

class MusicListWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{800, 480};

    MusicListWindow(Album& album, MusicPlayer& player, MusicPreviewWindow& preview,
                    QWidget* parent = nullptr);

    void setFileChooser(AddFilesChooser chooser) { chooser_ = std::move(chooser); }
    // "0" until the add-music dialog has been opened in this run, "1" after.
    QString firstOpenFlag() const;

    void addMusic();
    void deleteSelected();
    void deleteAll();
    void openPreview();
    // Rebuilds the list from the album, numbered 1, 2, 3 …
    void refreshList();

    QTreeWidget* list() const { return list_; }
    InfoPanel* info() const { return info_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* deleteAllButton() const { return deleteAll_; }
    QPushButton* previewButton() const { return preview_; }
    QPushButton* returnButton() const { return return_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showSelected();

    Album& album_;
    MusicPlayer& player_;
    MusicPreviewWindow& previewWindow_;
    AddFilesChooser chooser_ = chooseFilesToAdd;
    bool dialogOpened_ = false;

    QTreeWidget* list_ = nullptr;
    InfoPanel* info_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* deleteAll_ = nullptr;
    QPushButton* preview_ = nullptr;
    QPushButton* return_ = nullptr;
};

}  // namespace vellumo
