#include "lists/photo_list_window.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

#include "album/album_texts.h"
#include "album/photo_list_texts.h"
#include "assignment/photo_adding.h"
#include "assignment/placement.h"
#include "assignment/template_options_window.h"
#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "project/album.h"
#include "settings/system_settings.h"
#include "workspace/errors.h"

namespace vellumo {

namespace {

constexpr int kMargin = 15;
constexpr int kListTop = 50;
constexpr int kListWidth = 600;
constexpr int kListHeight = 404;
constexpr int kSideLeft = kMargin + kListWidth + 15;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 30;
constexpr int kButtonGap = 12;
constexpr int kFieldHeight = 24;
constexpr int kFieldGap = 6;

QPushButton* makeButton(QWidget* parent, const QString& caption, int index, int top) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(kMargin + index * (kButtonWidth + kButtonGap), top, kButtonWidth,
                        kButtonHeight);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QString photoCell(int value) {
    return QString::number(value);
}

}  // namespace

QString anyCaseNameFilter(const QString& filter) {
    const qsizetype bar = filter.indexOf(u'|');
    const QString description = bar < 0 ? filter : filter.left(bar);
    QStringList patterns;
    for (const QString& pattern :
         (bar < 0 ? QString() : filter.mid(bar + 1)).split(u';', Qt::SkipEmptyParts)) {
        QString anyCase;
        for (const QChar c : pattern.trimmed()) {
            if (c.isLetter() && c.toLower() != c.toUpper()) {
                anyCase += u'[' + QString(c.toLower()) + QString(c.toUpper()) + u']';
            } else {
                anyCase += c;
            }
        }
        patterns << anyCase;
    }
    return description + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

QStringList choosePhotoFiles(QWidget* parent, const QString& caption, bool several) {
    QPointer<QFileDialog> dialog = new QFileDialog(parent, caption);
    dialog->setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog->setNameFilter(anyCaseNameFilter(texts::kPhotoFileFilter));
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    const int result = dialog->exec();
    QStringList chosen;
    if (dialog && result == QDialog::Accepted) {
        chosen = dialog->selectedFiles();
    }
    delete dialog.data();
    return chosen;
}

FieldPanel::FieldPanel(const QStringList& labels, int labelWidth, QWidget* parent)
    : QWidget(parent) {
    int top = 0;
    for (const QString& caption : labels) {
        auto* label = new QLabel(caption, this);
        label->setGeometry(0, top, labelWidth, kFieldHeight);
        auto* field = new QLineEdit(this);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::ClickFocus);
        field->setObjectName(caption);
        fields_.append(field);
        top += kFieldHeight + kFieldGap;
    }
    setFixedHeight(top - kFieldGap);
}

void FieldPanel::showValues(const QStringList& values) {
    for (int i = 0; i < fields_.size(); ++i) {
        fields_[i]->setText(values.value(i));
        fields_[i]->setCursorPosition(0);
    }
}

void FieldPanel::clear() {
    for (QLineEdit* field : fields_) {
        field->clear();
    }
}

QString FieldPanel::value(int field) const {
    return fields_.at(field)->text();
}

int selectedListRow(const QTreeWidget* list) {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.first());
}

PhotoListWindow::PhotoListWindow(Album& album, const SystemSettings& settings, QWidget* parent)
    : SkinnedDialog(kSize, texts::kPhotoListCaption, parent), album_(album), settings_(settings) {
    using namespace texts;
    list_ = new QTreeWidget(this);
    list_->setGeometry(kMargin, kListTop, kListWidth, kListHeight);
    list_->setHeaderLabels({kPhotoColumnNumber, kPhotoColumnName, kPhotoColumnFormat,
                            kPhotoColumnWidth, kPhotoColumnHeight, kPhotoColumnLocation,
                            kPhotoColumnInTemplate});
    list_->setRootIsDecorated(false);
    list_->setAlternatingRowColors(true);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->setSectionsMovable(false);
    list_->header()->setStretchLastSection(false);
    for (const auto& [column, width] :
         {std::pair{0, 44}, {1, 130}, {2, 48}, {3, 56}, {4, 56}, {5, 212}, {6, 48}}) {
        list_->setColumnWidth(column, width);
    }
    connect(list_, &QTreeWidget::itemClicked, this, [this] { showSelected(); });

    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("photoPreview"));
    preview_->setGeometry(
        kSideLeft + (kSize.width() - kMargin - kSideLeft - kPreviewBox.width()) / 2, kListTop,
        kPreviewBox.width(), kPreviewBox.height());
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setStyleSheet(QStringLiteral("background: #2a2d33; border: 1px solid #4a4f58;"));

    info_ = new FieldPanel({kPhotoFieldNumber, kPhotoFieldName, kPhotoFieldFormat, kPhotoFieldWidth,
                            kPhotoFieldHeight, kPhotoFieldLocation},
                           64, this);
    info_->setGeometry(kSideLeft, kListTop + kPreviewBox.height() + 20,
                       kSize.width() - kMargin - kSideLeft, info_->height());
    for (int i = 0; i < 6; ++i) {
        info_->field(i)->setGeometry(66, i * (kFieldHeight + kFieldGap), info_->width() - 66,
                                     kFieldHeight);
    }

    const int buttonsTop = kListTop + kListHeight + 12;
    add_ = makeButton(this, kAddPhotoButton, 0, buttonsTop);
    add_->setProperty("accent", true);
    delete_ = makeButton(this, kDeletePhotoButton, 1, buttonsTop);
    deleteAll_ = makeButton(this, kDeleteAllButton, 2, buttonsTop);
    autoPlace_ = makeButton(this, kAutoPlaceButton, 3, buttonsTop);
    return_ = makeButton(this, kPhotoListClose, 4, buttonsTop);
    connect(add_, &QPushButton::clicked, this, &PhotoListWindow::addPhotos);
    connect(delete_, &QPushButton::clicked, this, &PhotoListWindow::deleteSelected);
    connect(deleteAll_, &QPushButton::clicked, this, &PhotoListWindow::deleteAll);
    connect(autoPlace_, &QPushButton::clicked, this, &PhotoListWindow::placeUnassigned);
    connect(return_, &QPushButton::clicked, this, &QDialog::accept);
}

ProgressWindow& PhotoListWindow::progress() const {
    return progress_ ? *progress_ : ProgressWindow::shared();
}

void PhotoListWindow::showEvent(QShowEvent* event) {
    refreshList();
    clearPreview();
    SkinnedDialog::showEvent(event);
}

void PhotoListWindow::refreshList() {
    list_->clear();
    const PhotoList& photos = album_.photos();
    QList<QTreeWidgetItem*> items;
    for (int row = 0; row < photos.size(); ++row) {
        const PhotoRecord& p = photos.at(row);
        items << new QTreeWidgetItem(QStringList{
            photoCell(row + 1), p.name, p.format, photoCell(p.width), photoCell(p.height),
            p.location, p.inTemplate ? texts::kInTemplate : QString()});
    }
    list_->addTopLevelItems(items);
    list_->clearSelection();
    list_->setCurrentItem(nullptr);
}

void PhotoListWindow::clearPreview() {
    preview_->clear();
    preview_->setToolTip(QString());
    info_->clear();
}

void PhotoListWindow::showSelected() {
    clearPreview();
    const int k = selectedListRow(list_);
    if (!album_.photos().isValidRow(k)) {
        return;
    }
    const PhotoRecord& photo = album_.photos().at(k);
    canvas_.hideBadge();
    canvas_.clearPicture();
    canvas_.apply(
        fitContainWithFrame(kPreviewBox.width(), kPreviewBox.height(), photo.width, photo.height));
    canvas_.loadPhoto(photo.location);
    preview_->setPixmap(QPixmap::fromImage(canvas_.capture()));
    preview_->setToolTip(texts::kPhotoPreviewHint.arg(k + 1).arg(photo.name));
    info_->showValues({photoCell(k + 1), photo.name, photo.format, photoCell(photo.width),
                       photoCell(photo.height), photo.location});
}

void PhotoListWindow::addPhotos() {
    if (settings_.useTemplateCombination() && options_) {
        if (options_->chooseAssignmentWay() == PlacementMode::Combined) {
            album_.setPlacementMode(PlacementMode::Combined);
            addWithCombination();
            return;
        }
    }
    album_.setPlacementMode(PlacementMode::Random);
    addWithRotation();
}

void PhotoListWindow::addWithRotation() {
    const QStringList files = chooser_(this, texts::kPhotoListCaption, true);
    if (files.isEmpty()) {
        return;
    }
    lastChosen_ = static_cast<int>(files.size());
    PhotoAdder adder(album_);
    ProgressWindow& window = progress();
    try {
        window.run(texts::kAddPhotosTitle, lastChosen_, [&] {
            adder.addAll(files, [&window] { window.advance(); });
            album_.refreshDefaultBackgrounds();
            window.setRange(0, album_.photos().size());
            PlacementRun run = placementRun(album_);
            run.start();
            while (!run.finished() && run.pass()) {
                window.advance();
            }
        });
    } catch (const Error& error) {
        showMessage(error.message());
    }
    refreshList();
    clearPreview();
    emit albumChanged();
    if (const QString leftOut = leftOutPhotosMessage(adder.leftOut()); !leftOut.isEmpty()) {
        showMessage(leftOut);
    }
    if (const QString unplaced = unplacedPhotosMessage(album_.photos(), UnplacedReason::Catalogue);
        !unplaced.isEmpty()) {
        showMessage(unplaced);
    }
}

void PhotoListWindow::addWithCombination() {
    const std::optional<Combination> combination = options_->selectedCombination();
    if (!combination) {
        return;
    }
    const bool added = runCombinedAdd(
        album_, *combination, options_->selectedPackage(),
        [this] { return chooser_(this, texts::kPhotoListCaption, true); }, progress());
    if (added) {
        refreshList();
        clearPreview();
        emit albumChanged();
    }
}

void PhotoListWindow::deleteSelected() {
    if (album_.photos().isEmpty()) {
        showMessage(texts::kNoPhotos);
        return;
    }
    const int k = selectedListRow(list_);
    const int used = album_.photos().isValidRow(k) ? album_.templates().slotsUsingPhoto(k) : 0;
    const QString question =
        used == 0 ? texts::kDeletePhotoQuestion : texts::kDeleteUsedPhotoQuestion.arg(used);
    if (!confirm(texts::kDeletePhotoCaption, question)) {
        return;
    }
    if (!album_.photos().isValidRow(k)) {
        showMessage(texts::kNoPhotoSelected);
        return;
    }
    album_.deletePhoto(k);
    emit albumChanged();
    showMessage(texts::kPhotoDeleted);
    refreshList();
    if (album_.photos().isEmpty()) {
        emit photosCleared();
    }
    clearPreview();
}

void PhotoListWindow::deleteAll() {
    if (album_.photos().isEmpty()) {
        showMessage(texts::kNoPhotos);
        return;
    }
    if (!confirm(texts::kDeletePhotoCaption, texts::kDeleteAllQuestion)) {
        return;
    }
    album_.deleteAllPhotos();
    emit albumChanged();
    showMessage(texts::kAllPhotosDeleted);
    emit photosCleared();
    refreshList();
    clearPreview();
}

void PhotoListWindow::placeUnassigned() {
    const PhotoList& photos = album_.photos();
    if (photos.isEmpty()) {
        showMessage(texts::kNoPhotos);
        return;
    }
    const bool waiting = std::any_of(photos.records().begin(), photos.records().end(),
                                     [](const PhotoRecord& p) { return !p.inTemplate; });
    if (!waiting) {
        showMessage(texts::kAutoPlacementDone);
        return;
    }
    runPlacement();
    refreshList();
    clearPreview();
    emit albumChanged();
    // Photos no template could take are named instead of a "completed" that would not be true.
    const QString unplaced = unplacedPhotosMessage(photos, UnplacedReason::Catalogue);
    showMessage(unplaced.isEmpty() ? texts::kAutoPlacementDone : unplaced);
}

void PhotoListWindow::runPlacement() {
    ProgressWindow& window = progress();
    try {
        window.run(texts::kAutoPlacementTitle, std::max(1, 2 * lastChosen_), [&] {
            PlacementRun run = placementRun(album_);
            run.start();
            while (!run.finished() && run.pass()) {
                window.advance();
            }
        });
    } catch (const Error& error) {
        showMessage(error.message());
    }
}

}  // namespace vellumo
