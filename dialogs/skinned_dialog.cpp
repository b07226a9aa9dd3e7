#include "dialogs/skinned_dialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

#include "skin/artwork.h"
#include "skin/skin.h"
#include "skin/skin_texts.h"
#include "skin/skin_widgets.h"

namespace vellumo {

QFont songTi(int pixelSize) {
    QFont font(texts::kSongTi);
    font.setPixelSize(pixelSize);
    return font;
}

SkinnedDialog::SkinnedDialog(QSize clientSize, const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setModal(true);
    setFont(songTi(12));
    setWindowIcon(artwork::programIconSet());
    const Skin& skin = Skin::shared();

    titleLeft_ = new TitleDragPicture(skin.dialogTitleLeft, this);
    titleMiddle_ = new TitleDragPicture(skin.dialogTitleMiddle, this);
    closePicture_ = new QLabel(this);
    closeLabel_ = new SkinHotspot(closePicture_, skin.dialogClose, this);
    bottom_ = new QLabel(this);
    bottom_->setPixmap(skin.dialogBottom);
    bottom_->setScaledContents(true);

    title_ = new QLabel(this);
    QFont titleFont(texts::kHeiTi);
    titleFont.setPixelSize(14);
    title_->setFont(titleFont);
    title_->setStyleSheet(QStringLiteral("color: #f2f3f5;"));
    title_->setAttribute(Qt::WA_TransparentForMouseEvents);

    connect(closeLabel_, &SkinHotspot::released, this, [this] { closeLabelReleased(); });
    setCaption(caption);
    setClientSize(clientSize);
}

QString SkinnedDialog::caption() const {
    return windowTitle();
}

void SkinnedDialog::setCaption(const QString& caption) {
    setWindowTitle(caption);
    title_->setText(caption);
    title_->adjustSize();
}

void SkinnedDialog::setClientSize(QSize size) {
    setFixedSize(size);
    layoutSkin();
}

void SkinnedDialog::closeLabelReleased() {
    reject();
}

void SkinnedDialog::layoutSkin() {
    const Skin& skin = Skin::shared();
    const int w = width();
    const int closeWidth = skin.dialogClose[SkinState::Normal].width();
    const int leftWidth = skin.dialogTitleLeft.width();
    titleLeft_->setGeometry(0, 0, leftWidth, kTitleHeight);
    closePicture_->setGeometry(w - closeWidth, 0, closeWidth, kTitleHeight);
    closeLabel_->setGeometry(closePicture_->geometry());
    titleMiddle_->setGeometry(leftWidth, 0, std::max(0, w - closeWidth - leftWidth), kTitleHeight);
    bottom_->setGeometry(0, height() - kBottomHeight, w, kBottomHeight);
    title_->move(kCaptionLeft, kCaptionTop);
    title_->adjustSize();
    for (QWidget* piece : {static_cast<QWidget*>(titleLeft_), static_cast<QWidget*>(titleMiddle_),
                           static_cast<QWidget*>(closePicture_), static_cast<QWidget*>(bottom_),
                           static_cast<QWidget*>(title_), static_cast<QWidget*>(closeLabel_)}) {
        piece->raise();
    }
}

void SkinnedDialog::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const QRect area = screen->availableGeometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void SkinnedDialog::showEvent(QShowEvent* event) {
    title_->setText(windowTitle());
    layoutSkin();
    centreOnScreen();
    QDialog::showEvent(event);
}

void SkinnedDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layoutSkin();
}

void SkinnedDialog::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), Skin::shared().background);
}

void SkinnedDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange && title_) {
        title_->setText(windowTitle());
        title_->adjustSize();
    }
}

}  // namespace vellumo
