#include "manager/template_manager_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

#include "assignment/assignment_texts.h"
#include "assignment/photo_adding.h"
#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "manager/manager_texts.h"
#include "manager/template_preview_window.h"
#include "photo/fitting_canvas.h"
#include "project/album.h"
#include "skin/skin_widgets.h"
#include "workspace/errors.h"

namespace vellumo {

namespace {

constexpr int kLeft = 10;
constexpr int kLeftWidth = 500;
constexpr int kRight = 518;
constexpr int kButtonHeight = 26;

constexpr QRect kCatalogueCaption{kLeft, 42, kLeftWidth, 18};
constexpr QRect kCatalogueList{kLeft, 62, kLeftWidth, 176};
constexpr int kCatalogueButtonsTop = 244;
constexpr QRect kUsedCaption{kLeft, 278, kLeftWidth, 18};
// The used-template list has nine columns: it takes the whole width, the detail panel goes
// under it in three columns of three fields.
constexpr QRect kUsedList{kLeft, 298, kLeftWidth, 172};
constexpr QRect kDetailPanel{kLeft, 474, kLeftWidth, 72};
constexpr int kDetailRowHeight = 22;
constexpr int kDetailColumns = 3;
constexpr int kDetailLabelWidth = 80;
constexpr int kUsedButtonsTop = 550;
constexpr QRect kDemonstrationCheck{370, 552, 140, 22};

constexpr QPoint kSlotPanelAt{kRight, 44};
constexpr QRect kHintTop{kRight, 262, 260, 20};
constexpr QRect kHintArrow{kRight + 268, 258, 40, 26};
constexpr QRect kHintBottom{kRight + 313, 262, 280, 20};
constexpr QPoint kPhotoPanelAt{kRight, 290};
constexpr QRect kProgressBar{kLeft, 600, 1101, 16};

// The drag tile stays this far inside the photo panel when it is picked up.
constexpr int kDragInset = 20;
constexpr int kDragRightInset = 40;

constexpr int kNameColumn = 1;

const QString kPanelStyle = QStringLiteral("background: rgb(62, 62, 62); color: yellow;");
const QString kListStyle = QStringLiteral(
    "QTreeWidget { background: rgb(62, 62, 62); color: yellow; }"
    "QTreeWidget::item { padding-right: 4px; }"
    "QTreeWidget::item:selected { background: rgb(0, 120, 215); color: white; }");
const QString kTileLabelStyle =
    QStringLiteral("color: white; background: rgb(62, 62, 62); font-size: 9pt;");
const QString kSlotBoxStyle =
    QStringLiteral("background: rgb(82, 82, 82); border: 1px solid rgb(130, 130, 130);");
// The slot box a held or carried photo would be put down on.
const QString kTargetSlotBoxStyle =
    QStringLiteral("background: rgb(82, 82, 82); border: 3px solid rgb(232, 163, 61);");

// A list whose columns fit its width: each as wide as its header and texts need, the template
// name (column 1) taking what is left, a long name cut short with "…".
QTreeWidget* makeList(QWidget* parent, const QString& name, const QStringList& columns) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->setStyleSheet(kListStyle);
    QHeaderView* header = list->header();
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    for (int column = 0; column < columns.size(); ++column) {
        header->setSectionResizeMode(
            column, column == kNameColumn ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
    }
    return list;
}

QLabel* makeCaption(QWidget* parent, const QString& text, const QRect& at, const QString& style) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(at);
    label->setStyleSheet(style);
    return label;
}

QScrollArea* makePanel(QWidget* parent, const QString& name, QPoint at, QSize size,
                       QWidget** content) {
    auto* scroll = new QScrollArea(parent);
    scroll->setObjectName(name + QStringLiteral("Scroll"));
    scroll->setGeometry(QRect(at, size));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(false);
    scroll->setStyleSheet(kPanelStyle);
    auto* panel = new QWidget;
    panel->setObjectName(name);
    panel->setAutoFillBackground(true);
    panel->setStyleSheet(kPanelStyle);
    panel->resize(size);
    scroll->setWidget(panel);
    *content = panel;
    return scroll;
}

// Sizes a panel's content for count boxes: as large as the panel at least, taller when the
// grid needs it.
void fitPanel(QScrollArea* scroll, QWidget* panel, int count) {
    const QSize view = scroll->size();
    panel->resize(view.width(),
                  std::max(view.height(), gridHeight(count, view.width(), kManagerTileBox)));
}

QLabel* makeBox(QWidget* panel, const QString& name) {
    auto* box = new QLabel(panel);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignCenter);
    box->resize(kManagerTileBox);
    return box;
}

QLabel* makeBoxLabel(QWidget* panel, const QString& name, const QString& text) {
    auto* label = new QLabel(text, panel);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    label->setStyleSheet(kTileLabelStyle);
    return label;
}

// A box and its label at grid place index of the panel.
void placeInGrid(QLabel* box, QLabel* label, int index, int panelWidth) {
    const QPoint at = gridPosition(index, panelWidth, kManagerTileBox);
    box->move(at);
    label->setGeometry(at.x(), at.y() + kManagerTileBox.height(), kManagerTileBox.width(),
                       kManagerTileLabelHeight);
    box->raise();
}

}  // namespace

TemplateManagerWindow::TemplateManagerWindow(Album& album, TemplatePreviewWindow& preview,
                                             QWidget* parent)
    : SkinnedDialog(kSize, texts::kTemplateManagerTitle, parent),
      album_(album),
      previewWindow_(preview) {
    setObjectName(QStringLiteral("templateManager"));
    buildLists();
    buildButtons();
    buildPanels();
    connect(&album_, &Album::changed, this, &TemplateManagerWindow::followAlbum);

    demonstrationLabel_ = new QLabel(this);
    demonstrationLabel_->setObjectName(QStringLiteral("demonstrationPicture"));
    demonstrationLabel_->setPixmap(QPixmap::fromImage(demonstrationPicture()));
    demonstrationLabel_->resize(kDemonstrationSize);
    demonstrationLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    demonstrationLabel_->hide();

    dragTile_ = new QLabel(this);
    dragTile_->setObjectName(QStringLiteral("dragTile"));
    dragTile_->setAlignment(Qt::AlignCenter);
    dragTile_->resize(kManagerTileBox);
    // The photo in hand, outlined so that it does not pass for a photo put down.
    dragTile_->setStyleSheet(
        QStringLiteral("background: transparent; border: 2px dashed rgb(232, 163, 61);"));
    dragTile_->setCursor(Qt::ClosedHandCursor);
    dragTile_->hide();

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("managerProgress"));
    progress_->setGeometry(kProgressBar);
    progress_->setTextVisible(false);
    progress_->setRange(0, 1);
    progress_->setValue(0);

    fillCatalogue();
    clearDetails();
}

TemplateManagerWindow::~TemplateManagerWindow() = default;

void TemplateManagerWindow::buildLists() {
    using namespace texts;
    const QString captionStyle =
        QStringLiteral("color: yellow; background: transparent; font-weight: bold;");
    makeCaption(this, kCatalogueListTitle, kCatalogueCaption, captionStyle);
    catalogue_ = makeList(
        this, QStringLiteral("catalogueList"),
        {kManagerColumnNumber, kManagerColumnTemplate, kManagerColumnKind, kManagerColumnLandscape,
         kManagerColumnPortrait, kManagerColumnDuration, kManagerColumnClass});
    catalogue_->setGeometry(kCatalogueList);
    catalogue_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(catalogue_, &QTreeWidget::itemDoubleClicked, this,
            [this] { QTimer::singleShot(0, this, &TemplateManagerWindow::useTemplate); });
    connect(catalogue_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu(this);
        menu.addAction(texts::kPreviewChosenTemplate, this,
                       &TemplateManagerWindow::previewCatalogueTemplate);
        menu.addSeparator();
        menu.addAction(texts::kUseChosenTemplate, this, &TemplateManagerWindow::useTemplate);
        menu.exec(catalogue_->viewport()->mapToGlobal(at));
    });

    makeCaption(this, kUsedListTitle, kUsedCaption, captionStyle);
    used_ = makeList(this, QStringLiteral("usedList"),
                     {kManagerColumnNumber, kManagerColumnTemplate, kManagerColumnKind,
                      kManagerColumnLandscape, kManagerColumnPortrait, kManagerColumnDuration,
                      kManagerColumnClass, kManagerColumnMatch, kManagerColumnTemplateNumber});
    used_->setGeometry(kUsedList);
    used_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(used_, &QTreeWidget::itemClicked, this,
            [this] { QTimer::singleShot(0, this, &TemplateManagerWindow::selectUsedTemplate); });
    connect(used_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu(this);
        menu.addAction(texts::kPreviewUsedTemplate, this,
                       &TemplateManagerWindow::previewUsedTemplate);
        menu.addSeparator();
        menu.addAction(texts::kDeleteUsedTemplate, this,
                       &TemplateManagerWindow::deleteUsedTemplate);
        menu.addAction(texts::kDeleteAllUsedTemplates, this,
                       &TemplateManagerWindow::deleteAllUsedTemplates);
        menu.exec(used_->viewport()->mapToGlobal(at));
    });

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("detailPanel"));
    panel->setGeometry(kDetailPanel);
    panel->setStyleSheet(QStringLiteral("QFrame#detailPanel { background: rgb(62, 62, 62); }"));
    const QString labels[kDetailFieldCount] = {
        kDetailNumber,       kDetailRow,      kDetailName,     kDetailKind,
        kDetailLandscape,    kDetailPortrait, kDetailDuration, kDetailAddedLandscape,
        kDetailAddedPortrait};
    const int cellWidth = (kDetailPanel.width() - 4) / kDetailColumns;
    for (int i = 0; i < kDetailFieldCount; ++i) {
        // Filled row by row: the template's number, row and name first.
        const int left = 4 + (i % kDetailColumns) * cellWidth;
        const int top = 4 + (i / kDetailColumns) * kDetailRowHeight;
        auto* label = new QLabel(labels[i], panel);
        label->setGeometry(left, top, kDetailLabelWidth, 20);
        label->setStyleSheet(QStringLiteral("color: yellow; background: transparent;"));
        auto* field = new QLineEdit(panel);
        field->setObjectName(QStringLiteral("detail%1").arg(i));
        field->setGeometry(left + kDetailLabelWidth, top, cellWidth - kDetailLabelWidth - 6, 20);
        field->setReadOnly(true);
        field->setStyleSheet(QStringLiteral(
            "background: rgb(62, 62, 62); color: yellow; border: 1px solid rgb(110, 110, 110);"));
        details_ << field;
    }
}

void TemplateManagerWindow::buildButtons() {
    using namespace texts;
    const auto button = [this](const QString& text, int left, int top, int width, bool bold) {
        auto* b = new QPushButton(text, this);
        b->setGeometry(left, top, width, kButtonHeight);
        b->setCursor(Qt::PointingHandCursor);
        b->setAutoDefault(false);
        if (bold) {
            QFont font = b->font();
            font.setBold(true);
            b->setFont(font);
        }
        return b;
    };
    previewTemplate_ = button(kPreviewTemplateButton, kLeft, kCatalogueButtonsTop, 110, false);
    use_ = button(kUseChosenTemplateButton, kLeft + 120, kCatalogueButtonsTop, 160, true);
    external_ = button(kAddExternalTemplate, kLeft + 290, kCatalogueButtonsTop, 150, false);
    preview_ = button(kPreviewButton, kLeft, kUsedButtonsTop, 72, true);
    delete_ = button(kDeleteButton, kLeft + 80, kUsedButtonsTop, 72, false);
    deleteAll_ = button(kDeleteAllTemplatesButton, kLeft + 160, kUsedButtonsTop, 72, false);
    autoMatch_ = button(kAutoMatchButton, kLeft + 240, kUsedButtonsTop, 110, false);
    connect(previewTemplate_, &QPushButton::clicked, this,
            &TemplateManagerWindow::previewCatalogueTemplate);
    connect(use_, &QPushButton::clicked, this, &TemplateManagerWindow::useTemplate);
    connect(external_, &QPushButton::clicked, this, &TemplateManagerWindow::addExternalTemplate);
    connect(preview_, &QPushButton::clicked, this, &TemplateManagerWindow::previewUsedTemplate);
    connect(delete_, &QPushButton::clicked, this, &TemplateManagerWindow::deleteUsedTemplate);
    connect(deleteAll_, &QPushButton::clicked, this,
            &TemplateManagerWindow::deleteAllUsedTemplates);
    connect(autoMatch_, &QPushButton::clicked, this, &TemplateManagerWindow::autoMatch);

    demonstration_ = new QCheckBox(kShowDemonstration, this);
    demonstration_->setObjectName(QStringLiteral("demonstrationCheck"));
    demonstration_->setGeometry(kDemonstrationCheck);
    demonstration_->setStyleSheet(QStringLiteral(
        "QCheckBox { color: yellow; background: transparent; spacing: 6px; }"
        "QCheckBox::indicator { width: 12px; height: 12px; border: 1px solid rgb(160, 160, 160);"
        " background: rgb(40, 40, 40); }"
        "QCheckBox::indicator:checked { background: yellow; border-color: white; }"));
    demonstration_->setChecked(false);
}

void TemplateManagerWindow::buildPanels() {
    slotScroll_ =
        makePanel(this, QStringLiteral("slotPanel"), kSlotPanelAt, kSlotPanelSize, &slotPanel_);
    photoScroll_ =
        makePanel(this, QStringLiteral("photoPanel"), kPhotoPanelAt, kPhotoPanelSize, &photoPanel_);
    const QString red = QStringLiteral("color: red; background: transparent;");
    makeCaption(this, texts::kDragHintTop, kHintTop, red);
    QLabel* arrow = makeCaption(this, texts::kDragArrow, kHintArrow,
                                red + QStringLiteral(" font-size: 18px; font-weight: bold;"));
    arrow->setAlignment(Qt::AlignCenter);
    makeCaption(this, texts::kDragHintBottom, kHintBottom, red);
}

void TemplateManagerWindow::fillCatalogue() {
    catalogue_->clear();
    for (const CatalogueEntry& entry : album_.catalogue().entries()) {
        catalogue_->addTopLevelItem(new QTreeWidgetItem(catalogueListRow(entry)));
    }
}

void TemplateManagerWindow::fillUsedList() {
    const UsedTemplates& templates = album_.templates();
    used_->clear();
    for (int t = 0; t < templates.size(); ++t) {
        used_->addTopLevelItem(new QTreeWidgetItem(usedTemplateRow(templates, t)));
    }
    if (selected_ >= 0 && selected_ < templates.size()) {
        used_->setCurrentItem(used_->topLevelItem(selected_));
    }
}

void TemplateManagerWindow::refreshUsedRow(int t) {
    QTreeWidgetItem* item = used_->topLevelItem(t);
    if (!item || t >= album_.templates().size()) {
        fillUsedList();
        return;
    }
    const QStringList row = usedTemplateRow(album_.templates(), t);
    for (int column = 0; column < row.size(); ++column) {
        item->setText(column, row[column]);
    }
}

void TemplateManagerWindow::openForUse() {
    selected_ = -1;
    cancelDrag();
    destroySlotBoxes();
    clearDetails();
    fillCatalogue();
    fillUsedList();
    used_->clearSelection();
    used_->setCurrentItem(nullptr);
    progress_->setRange(0, std::max(1, album_.photos().size()));
    progress_->setValue(0);
    exec();
}

void TemplateManagerWindow::followAlbum(AlbumParts parts) {
    if (ownChange_ || !isVisible() || loading_ || demonstrating_) {
        return;
    }
    if (parts & (AlbumPart::Templates | AlbumPart::Slots)) {
        cancelDrag();
        destroySlotBoxes();
        fillUsedList();
        if (selected_ >= 0 && selected_ < album_.templates().size()) {
            buildSlotBoxes(selected_);
            showDetails(selected_);
        } else {
            selected_ = -1;
            clearDetails();
        }
    }
    if (parts & AlbumPart::Photos) {
        cancelDrag();
        loadPhotoTiles();
    }
}

void TemplateManagerWindow::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    // The tiles are loaded once the window is on the screen.
    QTimer::singleShot(0, this, [window = QPointer<TemplateManagerWindow>(this)] {
        if (window && window->isVisible()) {
            window->loadPhotoTiles();
        }
    });
}

void TemplateManagerWindow::loadPhotoTiles() {
    destroyPhotoTiles();
    const QVector<PhotoRecord> photos = album_.photos().records();
    loading_ = true;
    setEnabled(false);
    progress_->setRange(0, std::max<int>(1, static_cast<int>(photos.size())));
    progress_->setValue(0);
    for (int i = 0; i < photos.size(); ++i) {
        QLabel* tile = makeBox(photoPanel_, QStringLiteral("Imagem_%1").arg(i));
        tile->setProperty("photoRow", i);
        tile->setCursor(Qt::PointingHandCursor);
        tile->installEventFilter(this);
        tile->hide();
        QLabel* label = makeBoxLabel(photoPanel_, QStringLiteral("Label_%1").arg(i), QString());
        label->hide();
        tiles_ << tile;
        tileLabels_ << label;
        tilePictures_ << QImage();
    }
    FittingCanvas canvas;
    captureFramedPhotos(
        canvas, photos, kManagerTilePicture,
        [&](int i, const QImage& capture) {
            tilePictures_[i] = capture;
            tiles_[i]->setPixmap(QPixmap::fromImage(capture));
            tiles_[i]->setToolTip(texts::kPhotoTileHint.arg(i + 1).arg(photos[i].name));
            tileLabels_[i]->setText(photos[i].name);
            progress_->setValue(std::min(progress_->maximum(), i + 1));
            ProgressWindow::letEventsThrough();
        },
        1);
    fitPanel(photoScroll_, photoPanel_, static_cast<int>(tiles_.size()));
    for (int i = 0; i < tiles_.size(); ++i) {
        placeInGrid(tiles_[i], tileLabels_[i], i, photoPanel_->width());
        tiles_[i]->show();
        tileLabels_[i]->show();
    }
    // A shown template's filled slot boxes take their photos' tiles.
    if (selected_ >= 0 && selected_ < album_.templates().size()) {
        destroySlotBoxes();
        buildSlotBoxes(selected_);
    }
    setEnabled(true);
    loading_ = false;
    showMessage(photos.isEmpty() ? texts::kNoPhotosToMatch : texts::kPhotosLoaded);
}

void TemplateManagerWindow::destroyPhotoTiles() {
    cancelDrag();
    qDeleteAll(tiles_);
    qDeleteAll(tileLabels_);
    tiles_.clear();
    tileLabels_.clear();
    tilePictures_.clear();
}

void TemplateManagerWindow::destroySlotBoxes() {
    qDeleteAll(slotBoxes_);
    qDeleteAll(slotLabels_);
    slotBoxes_.clear();
    slotLabels_.clear();
    slotBoxesExist_ = false;
}

void TemplateManagerWindow::buildSlotBoxes(int t) {
    const UsedTemplates& templates = album_.templates();
    const QVector<int> rows = templates.slotRows(t);
    fitPanel(slotScroll_, slotPanel_, static_cast<int>(rows.size()));
    for (int row : rows) {
        const PhotoSlot& slot = templates.slot(row);
        const int k = slot.slotIndex;
        QLabel* box = makeBox(slotPanel_, QStringLiteral("Imagem_k%1").arg(k));
        box->setStyleSheet(kSlotBoxStyle);
        box->setProperty("orientation", slotBoxWord(slot.orientation));
        box->setProperty("slotIndex", k);
        QLabel* label =
            makeBoxLabel(slotPanel_, QStringLiteral("Label_k%1").arg(k), texts::kSlotLabelEmpty);
        const bool filled = slot.matched && slot.photoRow >= 0 && slot.photoRow < tiles_.size() &&
                            !tilePictures_[slot.photoRow].isNull();
        if (filled) {
            box->setPixmap(QPixmap::fromImage(tilePictures_[slot.photoRow]));
            label->setText(tileLabels_[slot.photoRow]->text());
        } else {
            box->setPixmap(QPixmap::fromImage(slotPlaceholder(slot.orientation)));
        }
        placeInGrid(box, label, static_cast<int>(slotBoxes_.size()), slotPanel_->width());
        box->show();
        label->show();
        slotBoxes_ << box;
        slotLabels_ << label;
    }
    slotBoxesExist_ = true;
}

void TemplateManagerWindow::showDetails(int t) {
    const QStringList values = templateDetails(album_.templates(), t);
    for (int i = 0; i < kDetailFieldCount; ++i) {
        details_[i]->setText(values.value(i));
    }
}

void TemplateManagerWindow::clearDetails() {
    for (QLineEdit* field : details_) {
        field->clear();
    }
}

int TemplateManagerWindow::currentUsedRow() const {
    QTreeWidgetItem* item = used_->currentItem();
    if (!item || !item->isSelected()) {
        return -1;
    }
    const int row = used_->indexOfTopLevelItem(item);
    return row < album_.templates().size() ? row : -1;
}

QString TemplateManagerWindow::slotBoxesStateWord() const {
    return slotBoxesExist_ ? QStringLiteral("xiezai_zhaopian_kuang") : QStringLiteral("wu");
}

void TemplateManagerWindow::setControlsEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             catalogue_, used_, previewTemplate_, use_, external_, preview_, delete_, deleteAll_,
             autoMatch_, demonstration_, slotScroll_, photoScroll_, closeLabel()}) {
        control->setEnabled(enabled);
    }
}

bool TemplateManagerWindow::runDemonstration(const QVector<QPoint>& path, int pauseMs) {
    setControlsEnabled(false);
    demonstrating_ = true;
    closeAfterDemonstration_ = false;
    demonstrationLabel_->move(path.value(0));
    demonstrationLabel_->show();
    demonstrationLabel_->raise();
    // As many steps as the path has: the animation always ends, sooner when the window is to
    // close.
    for (const QPoint& at : path) {
        if (closeAfterDemonstration_) {
            break;
        }
        demonstrationLabel_->move(at);
        QApplication::processEvents();
        QThread::msleep(static_cast<unsigned long>(pauseMs));
    }
    demonstrationLabel_->hide();
    setControlsEnabled(true);
    demonstrating_ = false;
    if (closeAfterDemonstration_) {
        closeAfterDemonstration_ = false;
        reject();
        return false;
    }
    return true;
}

void TemplateManagerWindow::useTemplate() {
    const QVector<CatalogueEntry>& entries = album_.catalogue().entries();
    if (entries.isEmpty()) {
        return;
    }
    QVector<int> rows;
    for (QTreeWidgetItem* item : catalogue_->selectedItems()) {
        const int row = catalogue_->indexOfTopLevelItem(item);
        if (row >= 0 && row < entries.size()) {
            rows << row;
        }
    }
    if (rows.isEmpty()) {
        showMessage(texts::kNoTemplateSelected);
        return;
    }
    std::sort(rows.begin(), rows.end());
    if (demonstration_->isChecked() && !runDemonstration(useDemonstrationPath(), 10)) {
        return;
    }
    // Every selected entry, in list order.
    int last = -1;
    {
        const QScopedValueRollback own(ownChange_, true);
        Album::Edit edit(album_);
        for (int row : rows) {
            last = album_.addTemplate(entries[row]);
        }
    }
    fillUsedList();
    if (QTreeWidgetItem* added = used_->topLevelItem(last)) {
        used_->scrollToItem(added);
    }
}

void TemplateManagerWindow::previewCatalogueTemplate() {
    const QVector<CatalogueEntry>& entries = album_.catalogue().entries();
    if (entries.isEmpty()) {
        showMessage(texts::kNoCatalogueTemplates);
        return;
    }
    QTreeWidgetItem* item = catalogue_->currentItem();
    const int row = item && item->isSelected() ? catalogue_->indexOfTopLevelItem(item) : -1;
    if (row < 0 || row >= entries.size()) {
        showMessage(texts::kNoTemplateSelected);
        return;
    }
    TemplatePreviewRequest request;
    request.mode = TemplatePreviewMode::CatalogueTemplate;
    request.row = entries[row].catalogueIndex;
    request.info = entries[row];
    const QString package = album_.catalogue().record(request.row).packagePath;
    openTemplatePreview(previewWindow_, std::move(request), package,
                        PreviewOpener::CatalogueTemplate);
}

void TemplateManagerWindow::selectUsedTemplate() {
    if (album_.templates().size() == 0) {
        showMessage(texts::kNoTemplates);
        return;
    }
    const int t = currentUsedRow();
    if (t < 0) {
        showMessage(texts::kNoTemplateSelected);
        return;
    }
    cancelDrag();
    if (demonstration_->isChecked() && !runDemonstration(selectDemonstrationPath(), 1)) {
        return;
    }
    destroySlotBoxes();
    selected_ = t;
    showDetails(t);
    buildSlotBoxes(t);
    used_->setFocus();
}

void TemplateManagerWindow::previewUsedTemplate() {
    const UsedTemplates& templates = album_.templates();
    if (templates.size() == 0) {
        showMessage(texts::kNoTemplates);
        return;
    }
    const int t = currentUsedRow();
    // The shown template is the one previewed; a row only highlighted is not enough.
    if (t < 0 || selected_ < 0 || t != selected_) {
        showMessage(texts::kNoTemplateSelected);
        return;
    }
    if (const int empty = templates.unmatchedCount(t); empty > 0) {
        showMessage(texts::kTemplateNotMatched.arg(empty));
        return;
    }
    TemplatePreviewRequest request;
    request.mode = TemplatePreviewMode::UsedTemplate;
    request.row = t;
    request.info = *templates.at(t).info;
    request.slotRows = templates.slotRows(t);
    const QString package = album_.catalogue().record(request.info.catalogueIndex).packagePath;
    openTemplatePreview(previewWindow_, std::move(request), package, PreviewOpener::UsedTemplate);
}

void TemplateManagerWindow::deleteUsedTemplate() {
    if (album_.templates().size() == 0) {
        showMessage(texts::kNoTemplates);
        return;
    }
    const int t = currentUsedRow();
    if (t < 0) {
        showMessage(texts::kNoTemplateSelected);
        return;
    }
    if (!confirm(texts::kDeleteTemplatesCaption, texts::kDeleteTemplateQuestion)) {
        return;
    }
    removeTemplates([t](Album& album) { album.deleteTemplate(t); }, texts::kTemplateDeleted);
}

void TemplateManagerWindow::deleteAllUsedTemplates() {
    if (album_.templates().size() == 0) {
        showMessage(texts::kNoTemplates);
        return;
    }
    if (!confirm(texts::kDeleteTemplatesCaption, texts::kDeleteAllTemplatesQuestion)) {
        return;
    }
    removeTemplates([](Album& album) { album.deleteAllTemplates(); }, texts::kAllTemplatesDeleted);
}

void TemplateManagerWindow::removeTemplates(const std::function<void(Album&)>& remove,
                                            const QString& done) {
    cancelDrag();
    destroySlotBoxes();
    {
        const QScopedValueRollback own(ownChange_, true);
        remove(album_);
    }
    selected_ = -1;
    fillUsedList();
    showMessage(done);
    clearDetails();
}

void TemplateManagerWindow::autoMatch() {
    cancelDrag();
    const PhotoList& photos = album_.photos();
    if (photos.isEmpty()) {
        showMessage(texts::kNoPhotosToMatch);
        return;
    }
    const bool waiting = std::any_of(photos.records().begin(), photos.records().end(),
                                     [](const PhotoRecord& p) { return !p.inTemplate; });
    if (waiting) {
        ProgressWindow& window = ProgressWindow::shared();
        try {
            const QScopedValueRollback own(ownChange_, true);
            window.run(texts::kAutoPlacementTitle, std::max(1, photos.size()), [&] {
                placeWaitingPhotos(album_, [&window](int placed) { window.advance(placed); });
            });
        } catch (const Error& error) {
            showMessage(error.message());
        }
        // New templates come at the end: the rows and the shown template keep their numbers.
        fillUsedList();
        if (selected_ >= 0 && selected_ < album_.templates().size()) {
            destroySlotBoxes();
            buildSlotBoxes(selected_);
            showDetails(selected_);
        }
    }
    // Photos no template could take are named instead of a "completed" that would not be true.
    const QString unplaced = unplacedPhotosMessage(photos, UnplacedReason::Catalogue);
    showMessage(unplaced.isEmpty() ? texts::kAutoPlacementDone : unplaced);
}

void TemplateManagerWindow::addExternalTemplate() {
    if (!installer_) {
        return;
    }
    const QStringList parameters =
        fileChooser_(this, FileRequest{texts::kExternalParameterCaption,
                                       texts::kExternalTemplateFilter, false, QString()});
    if (parameters.isEmpty()) {
        return;
    }
    // The movie package usually lies in a folder beside the parameter package's.
    const QStringList movies =
        fileChooser_(this, FileRequest{texts::kExternalMovieCaption, texts::kExternalTemplateFilter,
                                       false, QFileInfo(parameters.first()).absolutePath() + u'/'});
    if (movies.isEmpty()) {
        return;
    }
    const TemplateInstallResult result = installer_(parameters.first(), movies.first());
    if (result.installed) {
        fillCatalogue();
        clearDetails();
    }
    showMessage(result.message);
}

void TemplateManagerWindow::pressPhotoTile(int photoRow, QPoint windowPos) {
    if (photoRow < 0 || photoRow >= tiles_.size()) {
        return;
    }
    if (selected_ < 0 || !slotBoxesExist_) {
        cancelDrag();
        showMessage(texts::kNoUsedTemplateShown);
        return;
    }
    dragRow_ = photoRow;
    dragTile_->setPixmap(QPixmap::fromImage(tilePictures_[photoRow]));
    dragTile_->setToolTip(tileLabels_[photoRow]->text());
    // Centred on the pointer, then kept inside the photo panel.
    const QRect panel(photoScroll_->pos(), photoScroll_->size());
    QRect tile(QPoint(), dragTile_->size());
    tile.moveCenter(windowPos);
    if (tile.left() <= panel.left()) {
        tile.moveLeft(panel.left() + kDragInset);
    }
    if (tile.top() <= panel.top()) {
        tile.moveTop(panel.top() + kDragInset);
    }
    if (tile.right() >= panel.right()) {
        tile.moveLeft(panel.right() - tile.width() - kDragRightInset);
    }
    if (tile.bottom() >= panel.bottom()) {
        tile.moveTop(panel.bottom() - tile.height() - kDragInset);
    }
    dragTile_->move(tile.topLeft());
    dragTile_->show();
    dragTile_->raise();
    // The button is still down: the drag goes on from here, wherever the pointer goes in the
    // window.
    dragState_ = DragState::Held;
    dragOffset_ = windowPos - tile.topLeft();
    pressPos_ = windowPos;
    qApp->installEventFilter(this);
}

void TemplateManagerWindow::moveDragTile(QPoint windowPos) {
    if (dragState_ == DragState::Idle) {
        return;
    }
    dragTile_->move(windowPos - dragOffset_);
    markTargetSlot(slotIndexAt(windowPos));
}

void TemplateManagerWindow::markTargetSlot(int slotIndex) {
    for (QLabel* box : slotBoxes_) {
        const bool target = box->property("slotIndex").toInt() == slotIndex;
        if (box->property("target").toBool() != target) {
            box->setProperty("target", target);
            box->setStyleSheet(target ? kTargetSlotBoxStyle : kSlotBoxStyle);
        }
    }
}

void TemplateManagerWindow::releaseDragTile(QPoint windowPos) {
    if (dragState_ != DragState::Held) {
        return;
    }
    // A click leaves the photo picked up: the next click puts it down.
    if ((windowPos - pressPos_).manhattanLength() < QApplication::startDragDistance()) {
        dragState_ = DragState::Carried;
        moveDragTile(windowPos);
        return;
    }
    const int row = dragRow_;
    cancelDrag();
    // A drop where no slot box is has nowhere to go: it is given up.
    const int slotIndex = slotIndexAt(windowPos);
    if (slotIndex >= 0) {
        dropPhoto(row, slotIndex);
    }
}

bool TemplateManagerWindow::dropPhoto(int photoRow, int slotIndex) {
    const int t = selected_;
    if (t < 0 || t >= album_.templates().size() || photoRow < 0 || photoRow >= tiles_.size()) {
        return false;
    }
    const PlaceResult result = [&] {
        const QScopedValueRollback own(ownChange_, true);
        return album_.placePhoto(photoRow, t, slotIndex);
    }();
    if (result != PlaceResult::Placed) {
        showMessage(placeResultMessage(result));
        return false;
    }
    const auto box = std::find_if(slotBoxes_.begin(), slotBoxes_.end(), [slotIndex](QLabel* b) {
        return b->property("slotIndex").toInt() == slotIndex;
    });
    if (box != slotBoxes_.end()) {
        (*box)->setPixmap(QPixmap::fromImage(tilePictures_[photoRow]));
        slotLabels_[box - slotBoxes_.begin()]->setText(tileLabels_[photoRow]->text());
    }
    showDetails(t);
    refreshUsedRow(t);
    return true;
}

int TemplateManagerWindow::slotIndexAt(QPoint windowPos) const {
    const QRect view(slotScroll_->viewport()->mapTo(this, QPoint()),
                     slotScroll_->viewport()->size());
    if (!view.contains(windowPos)) {
        return -1;
    }
    for (QLabel* box : slotBoxes_) {
        const QRect area(box->mapTo(this, QPoint()), box->size());
        if (area.contains(windowPos)) {
            return box->property("slotIndex").toInt();
        }
    }
    return -1;
}

int TemplateManagerWindow::photoTileAt(QPoint windowPos) const {
    const QRect view(photoScroll_->viewport()->mapTo(this, QPoint()),
                     photoScroll_->viewport()->size());
    if (!view.contains(windowPos)) {
        return -1;
    }
    for (int row = 0; row < tiles_.size(); ++row) {
        const QRect area(tiles_[row]->mapTo(this, QPoint()), tiles_[row]->size());
        if (area.contains(windowPos)) {
            return row;
        }
    }
    return -1;
}

void TemplateManagerWindow::cancelDrag() {
    if (dragState_ != DragState::Idle) {
        qApp->removeEventFilter(this);
        markTargetSlot(-1);
    }
    dragState_ = DragState::Idle;
    dragRow_ = -1;
    if (dragTile_) {
        dragTile_->hide();
    }
}

bool TemplateManagerWindow::dragEvent(QEvent* event) {
    const auto windowPos = [this](QEvent* e) {
        return mapFromGlobal(static_cast<QMouseEvent*>(e)->globalPosition().toPoint());
    };
    switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) {
                return false;
            }
            cancelDrag();
            return true;
        case QEvent::MouseMove:
            moveDragTile(windowPos(event));
            return true;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                releaseDragTile(windowPos(event));
            }
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton) {
                cancelDrag();
                return true;
            }
            if (dragState_ != DragState::Carried) {
                return true;
            }
            const QPoint at = windowPos(event);
            if (const int slotIndex = slotIndexAt(at); slotIndex >= 0) {
                const int row = dragRow_;
                cancelDrag();
                dropPhoto(row, slotIndex);
                return true;
            }
            if (const int row = photoTileAt(at); row >= 0) {
                pressPhotoTile(row, at);
                return true;
            }
            // Anywhere else the photo is given up and the click does what it does.
            cancelDrag();
            return false;
        }
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}

bool TemplateManagerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (dragState_ != DragState::Idle) {
        // Every event of this window's widgets while a photo is held or carried (the filter is
        // the application's then); the platform window's own copy of each is let through.
        auto* widget = qobject_cast<QWidget*>(watched);
        return widget && widget->window() == this && dragEvent(event);
    }
    if (watched->property("photoRow").isValid() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        pressPhotoTile(watched->property("photoRow").toInt(),
                       mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint()));
        return true;
    }
    return SkinnedDialog::eventFilter(watched, event);
}

void TemplateManagerWindow::closeLabelReleased() {
    reject();
}

void TemplateManagerWindow::reject() {
    // Not while the photos are being loaded: the window is out of use then.
    if (loading_) {
        return;
    }
    // Not in the middle of a demonstration: it stops first, and what it announced is not done.
    if (demonstrating_) {
        closeAfterDemonstration_ = true;
        return;
    }
    cancelDrag();
    destroyPhotoTiles();
    destroySlotBoxes();
    SkinnedDialog::reject();
}

}  // namespace vellumo
