#include "skin/skin_widgets.h"

#include <QMouseEvent>
#include <QToolTip>
#include <QWindow>

#include "skin/skin_texts.h"

namespace vellumo {

SkinHotspot::SkinHotspot(QLabel* picture, const StatePictures& states, QWidget* parent)
    : QLabel(parent), picture_(picture), states_(states) {
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
    show(SkinState::Normal);
}

void SkinHotspot::show(SkinState state) {
    state_ = state;
    if (picture_) {
        picture_->setPixmap(states_[state]);
    }
}

void SkinHotspot::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    if (isEnabled()) {
        show(SkinState::Hover);
    }
}

void SkinHotspot::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    show(SkinState::Normal);
}

void SkinHotspot::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        show(SkinState::Pressed);
    }
    event->accept();
}

void SkinHotspot::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const bool inside = rect().contains(event->position().toPoint());
    show(inside ? SkinState::Hover : SkinState::Normal);
    if (inside) {
        emit released();
    }
}

void SkinHotspot::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        show(SkinState::Normal);
    }
}

TitleDragPicture::TitleDragPicture(const QPixmap& picture, QWidget* parent) : QLabel(parent) {
    setPixmap(picture);
    setScaledContents(true);
}

void TitleDragPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    QWidget* top = window();
    if (top->windowHandle() && top->windowHandle()->startSystemMove()) {
        return;
    }
    manualDrag_ = true;
    grabOffset_ = event->globalPosition().toPoint() - top->pos();
}

void TitleDragPicture::mouseMoveEvent(QMouseEvent* event) {
    if (manualDrag_) {
        window()->move(event->globalPosition().toPoint() - grabOffset_);
    }
}

void TitleDragPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        manualDrag_ = false;
    }
}

void applyHintLook() {
    QPalette hints = QToolTip::palette();
    hints.setColor(QPalette::ToolTipBase, QColor(255, 255, 0));
    hints.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(hints);
    QFont hintFont(texts::kSongTi);
    hintFont.setPointSize(10);
    QToolTip::setFont(hintFont);
}

}  // namespace vellumo
