#pragma once

// Title-bar controls shared by the main window and the secondary windows, and the hints' look.

#include <QLabel>
#include <QPoint>
#include <QPointer>

#include "skin/skin.h"

namespace vellumo {

// A transparent clickable label laid over a skin picture. Entering it shows the picture's hover
// state, pressing it the pressed state, leaving or releasing the normal state. A release over
// the label emits released().
class SkinHotspot : public QLabel {
    Q_OBJECT
public:
    SkinHotspot(QLabel* picture, const StatePictures& states, QWidget* parent);

    SkinState state() const { return state_; }

signals:
    void released();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void show(SkinState state);

    QPointer<QLabel> picture_;
    const StatePictures& states_;
    SkinState state_ = SkinState::Normal;
};

// A stretched title picture; pressing the left button on it drags its window.
class TitleDragPicture : public QLabel {
    Q_OBJECT
public:
    explicit TitleDragPicture(const QPixmap& picture, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Used where the window system cannot move the window itself.
    bool manualDrag_ = false;
    QPoint grabOffset_;
};

// The hints of every window: black 宋体 at 10 points on yellow.
void applyHintLook();

}  // namespace vellumo
