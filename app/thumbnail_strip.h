#pragma once

// The photo page below the main display: nine thumbnail frames (127 × 106, dark grey) each
// holding a picture box (118 × 96 at (5, 5)) that centres its picture, the page arrows and the
// thumbnails' context menu. The photo pages fill it.

#include <QLabel>
#include <QList>
#include <QWidget>

#include "app/commands.h"

class QImage;
class QMenu;
class QPushButton;

namespace vellumo {

class ThumbnailFrame : public QLabel {
    Q_OBJECT
public:
    static constexpr QSize kFrameSize{127, 106};
    static constexpr QRect kPictureBox{5, 5, 118, 96};

    ThumbnailFrame(int number, QWidget* parent);

    int number() const { return number_; }
    QLabel* picture() const { return picture_; }

signals:
    void clicked(int number);
    void doubleClicked(int number);
    void pointed(int number);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    int number_;
    QLabel* picture_ = nullptr;
};

class ThumbnailStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kThumbnailCount = 9;
    static constexpr int kArrowWidth = 20;

    explicit ThumbnailStrip(QWidget* parent);

    // Thumbnail k, 1 to 9.
    ThumbnailFrame* thumbnail(int k) const { return frames_.at(k - 1); }
    QPushButton* previousArrow() const { return previous_; }
    QPushButton* nextArrow() const { return next_; }
    QMenu* contextMenu() const { return menu_; }

    // Thumbnail k shows picture with its hint.
    void showThumbnail(int k, const QImage& picture, const QString& hint);
    // Empties the nine pictures; their hints go too when withHints.
    void clearThumbnails(bool withHints);
    bool holdsPicture(int k) const;

signals:
    void commandRequested(Command command);
    void thumbnailClicked(int k);
    void thumbnailDoubleClicked(int k);
    void thumbnailPointed(int k);

private:
    QList<ThumbnailFrame*> frames_;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QMenu* menu_ = nullptr;
};

}  // namespace vellumo
