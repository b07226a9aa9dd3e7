#include "lists/music_list_window.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "album/music_lyrics_texts.h"
#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "preview/music_preview_window.h"
#include "project/album.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

constexpr int kMargin = 15;
constexpr int kListTop = 50;
constexpr int kListHeight = 232;
constexpr int kPanelTop = kListTop + kListHeight + 8;
constexpr int kButtonsLeft = 592;
constexpr int kButtonWidth = 92;
constexpr int kButtonHeight = 30;
constexpr int kButtonGap = 10;
constexpr int kFieldHeight = 24;

}  // namespace

QStringList chooseFilesToAdd(QWidget* parent, const QString& caption, const QString& filter,
                             const QString& preset) {
    QPointer<QFileDialog> dialog = new QFileDialog(parent, caption);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setNameFilter(filter);
    if (!preset.isEmpty()) {
        dialog->setDirectory(QFileInfo(preset).absolutePath());
        dialog->selectFile(preset);
    }
    const int result = dialog->exec();
    QStringList chosen;
    if (dialog && result == QDialog::Accepted) {
        chosen = dialog->selectedFiles();
    }
    delete dialog.data();
    return chosen;
}

InfoPanel::InfoPanel(const QStringList& labels, QWidget* parent) : QGroupBox(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 4, 10, 4);
    layout->setSpacing(4);
    for (const QString& caption : labels) {
        auto* row = new QWidget(this);
        auto* label = new QLabel(caption, row);
        label->setGeometry(0, 0, 66, kFieldHeight);
        auto* field = new QLineEdit(row);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::ClickFocus);
        field->setGeometry(70, 0, kButtonsLeft - 2 * kMargin - 96, kFieldHeight);
        row->setFixedHeight(kFieldHeight);
        layout->addWidget(row);
        fields_.append(field);
    }
    layout->addStretch(1);
}

void InfoPanel::showValues(const QStringList& values) {
    for (int i = 0; i < fields_.size(); ++i) {
        fields_[i]->setText(i < values.size() ? values[i] : QString());
        fields_[i]->setCursorPosition(0);
    }
}

void InfoPanel::clear() {
    for (QLineEdit* field : fields_) {
        field->clear();
    }
}

QString InfoPanel::value(int field) const {
    return field >= 0 && field < fields_.size() ? fields_[field]->text() : QString();
}

QList<QStringList> musicSummaryRows(const MusicList& music) {
    QList<QStringList> rows;
    for (int row = 0; row < music.size(); ++row) {
        rows.append({QString::number(row + 1), music.at(row).name, music.at(row).duration});
    }
    return rows;
}

QList<QStringList> lyricsSummaryRows(const LyricsList& lyrics) {
    QList<QStringList> rows;
    for (int row = 0; row < lyrics.size(); ++row) {
        rows.append({QString::number(row + 1), lyrics.at(row).name, lyrics.at(row).format});
    }
    return rows;
}

int selectedRow(const QTreeWidget* list) {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.constFirst());
}

QTreeWidget* makeRecordList(QWidget* parent, const QStringList& columns, int width) {
    auto* list = new QTreeWidget(parent);
    list->setGeometry(kMargin, kListTop, width - 2 * kMargin, kListHeight);
    list->setColumnCount(static_cast<int>(columns.size()));
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setAlternatingRowColors(true);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setSectionsMovable(false);
    list->header()->setStretchLastSection(true);
    list->setColumnWidth(0, 50);
    list->setColumnWidth(1, 200);
    for (int column = 2; column < columns.size() - 1; ++column) {
        list->setColumnWidth(column, 80);
    }
    return list;
}

InfoPanel* makeInfoPanel(QWidget* parent, const QStringList& labels) {
    auto* panel = new InfoPanel(labels, parent);
    panel->setGeometry(kMargin, kPanelTop, kButtonsLeft - 2 * kMargin,
                       parent->height() - kPanelTop - SkinnedDialog::kBottomHeight - 10);
    return panel;
}

QPushButton* makeListButton(QWidget* parent, const QString& caption, int index) {
    auto* button = new QPushButton(caption, parent);
    const int column = index % 2;
    const int row = index / 2;
    button->setGeometry(kButtonsLeft + column * (kButtonWidth + kButtonGap),
                        kPanelTop + 12 + row * (kButtonHeight + kButtonGap), kButtonWidth,
                        kButtonHeight);
    return button;
}

MusicListWindow::MusicListWindow(Album& album, MusicPlayer& player, MusicPreviewWindow& preview,
                                 QWidget* parent)
    : SkinnedDialog(kSize, texts::kMusicListCaption, parent),
      album_(album),
      player_(player),
      previewWindow_(preview) {
    using namespace texts;
    list_ = makeRecordList(this,
                           {kMusicColumnNumber, kMusicColumnName, kMusicColumnFormat,
                            kMusicColumnDuration, kMusicColumnLocation},
                           kSize.width());
    info_ =
        makeInfoPanel(this, {kInfoNumber, kInfoName, kInfoFormat, kInfoDuration, kInfoLocation});
    add_ = makeListButton(this, kAddMusicButton, 0);
    add_->setProperty("accent", true);
    delete_ = makeListButton(this, kDeleteMusicButton, 1);
    deleteAll_ = makeListButton(this, kDeleteAllButton, 2);
    preview_ = makeListButton(this, kMusicPreviewButton, 3);
    return_ = makeListButton(this, kMusicReturnButton, 4);

    connect(list_, &QTreeWidget::itemSelectionChanged, this, &MusicListWindow::showSelected);
    connect(add_, &QPushButton::clicked, this, &MusicListWindow::addMusic);
    connect(delete_, &QPushButton::clicked, this, &MusicListWindow::deleteSelected);
    connect(deleteAll_, &QPushButton::clicked, this, &MusicListWindow::deleteAll);
    connect(preview_, &QPushButton::clicked, this, &MusicListWindow::openPreview);
    connect(return_, &QPushButton::clicked, this, &QDialog::reject);
}

QString MusicListWindow::firstOpenFlag() const {
    return dialogOpened_ ? QStringLiteral("1") : QStringLiteral("0");
}

void MusicListWindow::addMusic() {
    // Only the first dialog of the run offers the sample song.
    QString preset;
    if (!dialogOpened_) {
        const QString sample = dataPath(paths::kSampleMusic);
        if (QFileInfo::exists(sample)) {
            preset = sample;
        }
        dialogOpened_ = true;
    }
    const QStringList files =
        chooser_(this, texts::kMusicListCaption, texts::kAddMusicFilter, preset);
    if (files.isEmpty()) {
        return;
    }
    QStringList leftOut;
    try {
        ProgressWindow& progress = ProgressWindow::shared();
        progress.run(texts::kAddMusicProgress, static_cast<int>(files.size()), [&] {
            for (const QString& file : files) {
                const QString problem =
                    album_.music().add(file, player_, &ProgressWindow::letEventsThrough);
                if (!problem.isEmpty()) {
                    leftOut.append(problem);
                }
                progress.advance();
            }
        });
    } catch (const Error& error) {
        leftOut.append(error.message());
    }
    refreshList();
    if (!leftOut.isEmpty()) {
        showMessage(leftOut.join(u'\n'));
    }
}

void MusicListWindow::deleteSelected() {
    if (album_.music().isEmpty()) {
        showMessage(texts::kNoMusic);
        return;
    }
    if (!confirm(texts::kDeleteMusicCaption, texts::kDeleteMusicQuestion)) {
        return;
    }
    const int row = selectedRow(list_);
    if (row < 0 || row >= album_.music().size()) {
        showMessage(texts::kNoMusicSelected);
        return;
    }
    album_.music().remove(row);
    refreshList();
    showMessage(texts::kMusicDeleted);
    info_->clear();
}

void MusicListWindow::deleteAll() {
    if (album_.music().isEmpty()) {
        showMessage(texts::kNoMusic);
        return;
    }
    if (!confirm(texts::kDeleteMusicCaption, texts::kDeleteAllMusicQuestion)) {
        return;
    }
    album_.music().clear();
    refreshList();
    showMessage(texts::kAllMusicDeleted);
    info_->clear();
}

void MusicListWindow::openPreview() {
    previewWindow_.openInMode(MusicPreviewMode::Music);
}

void MusicListWindow::refreshList() {
    const QSignalBlocker block(list_);
    list_->clear();
    const MusicList& music = album_.music();
    for (int row = 0; row < music.size(); ++row) {
        const MusicRecord& record = music.at(row);
        list_->addTopLevelItem(
            new QTreeWidgetItem({QString::number(row + 1), record.name, record.format,
                                 record.duration, record.location}));
    }
    info_->clear();
}

void MusicListWindow::showSelected() {
    const int row = selectedRow(list_);
    if (row < 0 || row >= album_.music().size()) {
        info_->clear();
        return;
    }
    const MusicRecord& record = album_.music().at(row);
    info_->showValues(
        {QString::number(row + 1), record.name, record.format, record.duration, record.location});
}

void MusicListWindow::showEvent(QShowEvent* event) {
    refreshList();
    SkinnedDialog::showEvent(event);
}

}  // namespace vellumo
