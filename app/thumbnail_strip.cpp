#include "app/thumbnail_strip.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

#include "app/app_texts.h"

namespace vellumo {

ThumbnailFrame::ThumbnailFrame(int number, QWidget* parent) : QLabel(parent), number_(number) {
    setFixedSize(kFrameSize);
    setObjectName(QStringLiteral("thumbnailFrame"));
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(62, 62, 62));
    setPalette(grey);
    picture_ = new QLabel(this);
    picture_->setGeometry(kPictureBox);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ThumbnailFrame::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked(number_);
    }
    QLabel::mousePressEvent(event);
}

void ThumbnailFrame::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked(number_);
    }
}

void ThumbnailFrame::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    emit pointed(number_);
}

ThumbnailStrip::ThumbnailStrip(QWidget* parent) : QWidget(parent) {
    const int h = ThumbnailFrame::kFrameSize.height();
    previous_ = new QPushButton(texts::kPreviousArrow, this);
    previous_->setToolTip(texts::kPreviousArrowHint);
    previous_->setGeometry(0, 0, kArrowWidth, h);
    previous_->setFocusPolicy(Qt::NoFocus);
    previous_->setObjectName(QStringLiteral("pageArrow"));
    connect(previous_, &QPushButton::clicked, this,
            [this] { emit commandRequested(Command::PreviousPage); });

    for (int k = 1; k <= kThumbnailCount; ++k) {
        auto* frame = new ThumbnailFrame(k, this);
        frame->move(kArrowWidth + (k - 1) * ThumbnailFrame::kFrameSize.width(), 0);
        frame->setContextMenuPolicy(Qt::DefaultContextMenu);
        connect(frame, &ThumbnailFrame::clicked, this, &ThumbnailStrip::thumbnailClicked);
        connect(frame, &ThumbnailFrame::doubleClicked, this,
                &ThumbnailStrip::thumbnailDoubleClicked);
        connect(frame, &ThumbnailFrame::pointed, this, &ThumbnailStrip::thumbnailPointed);
        frames_.append(frame);
    }

    next_ = new QPushButton(texts::kNextArrow, this);
    next_->setToolTip(texts::kNextArrowHint);
    next_->setGeometry(kArrowWidth + kThumbnailCount * ThumbnailFrame::kFrameSize.width(), 0,
                       kArrowWidth, h);
    next_->setFocusPolicy(Qt::NoFocus);
    next_->setObjectName(QStringLiteral("pageArrow"));
    connect(next_, &QPushButton::clicked, this,
            [this] { emit commandRequested(Command::NextPage); });

    menu_ = new QMenu(this);
    for (Command command : {Command::ViewPhoto, Command::PreviewEffect, Command::FirstPage,
                            Command::PreviousPage, Command::NextPage, Command::LastPage}) {
        menu_->addAction(commandInfo(command).caption, this,
                         [this, command] { emit commandRequested(command); });
    }
    for (ThumbnailFrame* frame : frames_) {
        frame->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(frame, &QWidget::customContextMenuRequested, this,
                [this, frame](QPoint at) { menu_->popup(frame->mapToGlobal(at)); });
    }
}

void ThumbnailStrip::showThumbnail(int k, const QImage& picture, const QString& hint) {
    ThumbnailFrame* frame = thumbnail(k);
    frame->picture()->setPixmap(QPixmap::fromImage(picture));
    frame->setToolTip(hint);
}

void ThumbnailStrip::clearThumbnails(bool withHints) {
    for (ThumbnailFrame* frame : frames_) {
        frame->picture()->clear();
        if (withHints) {
            frame->setToolTip(QString());
        }
    }
}

bool ThumbnailStrip::holdsPicture(int k) const {
    return !thumbnail(k)->picture()->pixmap().isNull();
}

}  // namespace vellumo
