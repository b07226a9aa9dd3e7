#include "crop/crop_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QWheelEvent>
#include <cstdlib>
#include <functional>

#include "album/photo_list_texts.h"
#include "crop/crop_texts.h"
#include "dialogs/message_dialog.h"
#include "photo/photo_loader.h"
#include "project/album.h"

namespace vellumo {

namespace {

const QColor kStageColour(62, 62, 62);
const QColor kHatchColour(150, 150, 150);

constexpr int kSideLeft = 840;
constexpr int kSideWidth = 320;
constexpr int kListTop = 520;
constexpr int kButtonWidth = 150;
constexpr int kButtonHeight = 30;

// Disables the row's buttons while a command runs; the tools follow the state afterwards.
class BusyButtons {
public:
    BusyButtons(const std::function<void(bool)>& enable, std::function<void()> done)
        : enable_(enable), done_(std::move(done)) {
        enable_(false);
    }
    ~BusyButtons() {
        enable_(true);
        done_();
    }
    BusyButtons(const BusyButtons&) = delete;
    BusyButtons& operator=(const BusyButtons&) = delete;

private:
    std::function<void(bool)> enable_;
    std::function<void()> done_;
};

}  // namespace

CropStage::CropStage(CropWindow& window) : QWidget(&window), window_(window) {
    setObjectName(QStringLiteral("cropStage"));
    setGeometry(QRect(kCropStageOrigin, kCropStageSize));
    setMouseTracking(true);
}

QRect CropStage::visiblePhoto() const {
    const CropState& state = window_.state_;
    if (window_.shown_.isNull()) {
        return {};
    }
    return state.photo.translated(state.frame.topLeft()).intersected(state.frame);
}

void CropStage::paintEvent(QPaintEvent*) {
    const CropState& state = window_.state_;
    QPainter painter(this);
    painter.fillRect(rect(), kStageColour);
    painter.fillRect(state.frame, QBrush(kHatchColour, Qt::DiagCrossPattern));
    if (!window_.shown_.isNull()) {
        painter.setClipRect(state.frame);
        painter.drawImage(state.frame.topLeft() + state.photo.topLeft(), window_.shown_);
    }
}

void CropStage::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !visiblePhoto().contains(pos)) {
        return;
    }
    CropState& state = window_.state_;
    pressCropPhoto(state, pos - state.frame.topLeft() - state.photo.topLeft());
    if (state.dragging) {
        setCursor(Qt::ClosedHandCursor);
    }
}

void CropStage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    CropState& state = window_.state_;
    if (state.dragging) {
        moveCropPhoto(state, pos + kCropStageOrigin);
        update();
        return;
    }
    setCursor(visiblePhoto().contains(pos) ? Qt::OpenHandCursor : Qt::ArrowCursor);
}

void CropStage::mouseReleaseEvent(QMouseEvent* event) {
    CropState& state = window_.state_;
    if (event->button() != Qt::LeftButton || !state.dragging) {
        return;
    }
    releaseCropPhoto(state);
    setCursor(visiblePhoto().contains(event->position().toPoint()) ? Qt::OpenHandCursor
                                                                   : Qt::ArrowCursor);
    update();
}

void CropStage::wheelEvent(QWheelEvent* event) {
    window_.turnWheel(event->angleDelta().y());
    event->accept();
}

CropWindow::CropWindow(Album& album, QWidget* parent)
    : SkinnedDialog(kSize, texts::kCropTitle, parent), album_(album) {
    using namespace texts;
    stage_ = new CropStage(*this);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("cropList"));
    list_->setGeometry(kCropStageOrigin.x(), kListTop, kCropStageSize.width(),
                       kSize.height() - kListTop - 15);
    list_->setHeaderLabels({kCropColumnNumber, kCropColumnPhotoName, kCropColumnUseCount,
                            kCropColumnPhotoPath, kCropColumnSlot, kCropColumnPhotoRow});
    list_->setRootIsDecorated(false);
    list_->setAlternatingRowColors(true);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->setSectionsMovable(false);
    for (const auto& [column, width] :
         {std::pair{0, 50}, {1, 130}, {2, 70}, {3, 400}, {4, 50}, {5, 50}}) {
        list_->setColumnWidth(column, width);
    }
    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        selectRow(item ? list_->indexOfTopLevelItem(item) : -1);
    });

    auto* details = new QWidget(this);
    details->setObjectName(QStringLiteral("cropDetails"));
    details->setGeometry(kSideLeft, kCropStageOrigin.y(), kSideWidth, 4 * 34);
    const QString labels[] = {kCropDetailNumber, kCropDetailFileName, kCropDetailUseCount,
                              kCropDetailPhotoPath};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(labels[i], details);
        label->setGeometry(0, i * 34, 80, 26);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        details_[i] = new QLineEdit(details);
        details_[i]->setReadOnly(true);
        details_[i]->setGeometry(86, i * 34, kSideWidth - 86, 26);
    }

    const int optionsTop = kCropStageOrigin.y() + 4 * 34 + 16;
    fullScreenOption_ = new QRadioButton(kCropOptionFullScreen, this);
    fullScreenOption_->setGeometry(kSideLeft + 20, optionsTop, 140, 26);
    mediumOption_ = new QRadioButton(kCropOptionMedium, this);
    mediumOption_->setGeometry(kSideLeft + 170, optionsTop, 140, 26);
    connect(fullScreenOption_, &QRadioButton::clicked, this,
            [this] { chooseOption(CropOption::FullScreen); });
    connect(mediumOption_, &QRadioButton::clicked, this,
            [this] { chooseOption(CropOption::Medium); });

    const int buttonsTop = optionsTop + 50;
    const int buttonLeft = kSideLeft + (kSideWidth - kButtonWidth) / 2;
    int i = 0;
    for (auto [button, caption] : {std::pair{&zoomIn_, kCropZoomIn},
                                   {&zoomOut_, kCropZoomOut},
                                   {&default_, kCropDefaultSize},
                                   {&save_, kCropSave},
                                   {&cancel_, kCropCancel}}) {
        *button = new QPushButton(caption, this);
        (*button)->setGeometry(buttonLeft, buttonsTop + i * (kButtonHeight + 14), kButtonWidth,
                               kButtonHeight);
        (*button)->setCursor(Qt::PointingHandCursor);
        ++i;
    }
    save_->setProperty("accent", true);
    connect(zoomIn_, &QPushButton::clicked, this, &CropWindow::zoomIn);
    connect(zoomOut_, &QPushButton::clicked, this, &CropWindow::zoomOut);
    connect(default_, &QPushButton::clicked, this, &CropWindow::defaultSize);
    connect(save_, &QPushButton::clicked, this, &CropWindow::save);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    reload();
}

void CropWindow::showEvent(QShowEvent* event) {
    // Only an opening starts afresh; a window restored from the task bar keeps its edits.
    if (!event->spontaneous()) {
        reload();
    }
    SkinnedDialog::showEvent(event);
}

void CropWindow::reload() {
    rows_ = cropRows(album_.templates(), album_.photos());
    list_->clear();
    QList<QTreeWidgetItem*> items;
    for (const CropRow& row : rows_) {
        items << new QTreeWidgetItem(QStringList{
            QString::number(row.number), row.photoName, QString::number(row.useCount),
            row.photoPath, QString::number(row.slotRow), QString::number(row.photoRow)});
    }
    list_->addTopLevelItems(items);
    clearSelection();
}

void CropWindow::clearSelection() {
    list_->clearSelection();
    list_->setCurrentItem(nullptr);
    selected_ = -1;
    state_ = openCropState();
    slot_ = CropSlot();
    shown_ = QImage();
    picture_ = QImage();
    picturePath_.clear();
    wheelAngle_ = 0;
    for (QLineEdit* field : details_) {
        field->clear();
    }
    showState();
}

void CropWindow::selectRow(int k) {
    if (k < 0 || k >= rows_.size()) {
        clearSelection();
        showMessage(texts::kNoPhotoSelected);
        return;
    }
    selected_ = k;
    list_->setCurrentItem(list_->topLevelItem(k));
    const CropRow& row = rows_.at(k);
    details_[0]->setText(QString::number(row.number));
    details_[1]->setText(row.photoName);
    details_[2]->setText(QString::number(row.useCount));
    details_[3]->setText(row.photoPath);
    slot_ = cropSlot(album_.templates().slot(row.slotRow), album_.photos());
    state_ = selectCropSlot(slot_);
    keepPicture(row);
    shown_ = QImage();
    wheelAngle_ = 0;
    showState();
}

void CropWindow::keepPicture(const CropRow& row) {
    if (!picture_.isNull() && picturePath_ == row.photoPath) {
        return;
    }
    picture_ = loadPhoto(row.photoPath, cropPictureSize(slot_)).image;
    picturePath_ = row.photoPath;
}

bool CropWindow::commandAllowed() {
    const QString refusal =
        cropCommandRefusal(album_.photos().size(), static_cast<int>(rows_.size()), selected_);
    if (!refusal.isEmpty()) {
        showMessage(refusal);
        return false;
    }
    return true;
}

void CropWindow::showZoomResult(ZoomResult result) {
    showState();
    const QString message = zoomMessage(result);
    if (!message.isEmpty()) {
        showMessage(message);
    }
}

void CropWindow::zoomIn() {
    if (!commandAllowed()) {
        return;
    }
    BusyButtons busy([this](bool on) { setRowButtonsEnabled(on); }, [this] { updateTools(); });
    showZoomResult(zoomCropIn(state_, slot_));
}

void CropWindow::zoomOut() {
    if (!commandAllowed()) {
        return;
    }
    BusyButtons busy([this](bool on) { setRowButtonsEnabled(on); }, [this] { updateTools(); });
    showZoomResult(zoomCropOut(state_, slot_));
}

void CropWindow::turnWheel(int angle) {
    constexpr int kWheelStep = 120;
    if (selected_ < 0 || angle == 0) {
        return;
    }
    // A turn the other way starts counting afresh.
    if ((angle > 0) != (wheelAngle_ > 0)) {
        wheelAngle_ = 0;
    }
    wheelAngle_ += angle;
    bool stepped = false;
    while (std::abs(wheelAngle_) >= kWheelStep) {
        const bool in = wheelAngle_ > 0;
        wheelAngle_ -= in ? kWheelStep : -kWheelStep;
        if ((in ? zoomCropIn(state_, slot_) : zoomCropOut(state_, slot_)) != ZoomResult::Zoomed) {
            // At the limit the rest of the turn is spent.
            wheelAngle_ = 0;
            break;
        }
        stepped = true;
    }
    if (stepped) {
        showState();
    }
}

void CropWindow::defaultSize() {
    if (!commandAllowed()) {
        return;
    }
    BusyButtons busy([this](bool on) { setRowButtonsEnabled(on); }, [this] { updateTools(); });
    selectRow(selected_);
}

void CropWindow::chooseOption(CropOption option) {
    if (selected_ < 0) {
        updateTools();
        return;
    }
    chooseCropOption(state_, slot_, option);
    showState();
}

void CropWindow::save() {
    if (!commandAllowed()) {
        return;
    }
    BusyButtons busy([this](bool on) { setRowButtonsEnabled(on); }, [this] { updateTools(); });
    const CropSave saved = saveCrop(state_, slot_);
    applyCropSave(album_, rows_.at(selected_).slotRow, saved);
    markCropSaved(state_, slot_, saved);
    showMessage(texts::kCropSaved);
}

void CropWindow::showState() {
    const QSize size = state_.photo.size();
    if (selected_ >= 0 && !size.isEmpty() && shown_.size() != size && !picture_.isNull()) {
        shown_ = picture_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .convertToFormat(QImage::Format_RGB32);
    }
    updateTools();
    stage_->update();
}

void CropWindow::updateTools() {
    const bool shown = selected_ >= 0;
    fullScreenOption_->setVisible(state_.optionButtonsVisible);
    mediumOption_->setVisible(state_.optionButtonsVisible);
    fullScreenOption_->setChecked(state_.option == CropOption::FullScreen);
    mediumOption_->setChecked(state_.option == CropOption::Medium);
    // Without a row the buttons stay enabled, so that a click says what is missing.
    const bool tools = !shown || state_.toolsEnabled;
    zoomIn_->setEnabled(tools);
    zoomOut_->setEnabled(tools);
    default_->setEnabled(tools);
    save_->setEnabled(true);
    cancel_->setEnabled(true);
}

void CropWindow::setRowButtonsEnabled(bool enabled) {
    for (QPushButton* button : {zoomIn_, zoomOut_, default_, save_, cancel_}) {
        button->setEnabled(enabled);
    }
}

}  // namespace vellumo
