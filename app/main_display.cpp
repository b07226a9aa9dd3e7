#include "app/main_display.h"

#include <QPixmap>

#include "album/lyric_label.h"
#include "app/app_texts.h"

namespace vellumo {

MainDisplay::MainDisplay(QWidget* parent) : QWidget(parent) {
    setFixedSize(kSize);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAttribute(Qt::WA_OpaquePaintEvent);

    picture_ = new QLabel(this);
    picture_->setGeometry(0, 0, 0, 0);

    lyric_ = new LyricLabel(LyricLabel::Edge::Outlined, this);
    lyric_->setObjectName(QStringLiteral("lyricLabel"));
    lyric_->setAttribute(Qt::WA_TransparentForMouseEvents);
    lyric_->setAlignment(Qt::AlignCenter);
    lyric_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    QFont font(texts::kSongTi);
    font.setPixelSize(14);
    lyric_->setFont(font);
    lyric_->setGeometry(0, kSize.height() - 60, kSize.width(), 30);
}

QPoint MainDisplay::centredPosition(QSize image) {
    return {kSize.width() / 2 - image.width() / 2, kSize.height() / 2 - image.height() / 2};
}

void MainDisplay::showPicture(const QImage& image, QPoint topLeft) {
    picture_->setPixmap(QPixmap::fromImage(image));
    picture_->setGeometry(QRect(topLeft, image.size()));
    picture_->show();
    lyric_->raise();
}

void MainDisplay::showCentred(const QImage& image) {
    showPicture(image, centredPosition(image.size()));
}

void MainDisplay::clearPicture() {
    picture_->clear();
    picture_->setGeometry(0, 0, 0, 0);
}

void MainDisplay::showLyric(const LyricLine& line) {
    lyric_->showLine(line);
}

void MainDisplay::clearLyric() {
    lyric_->clear();
}

void MainDisplay::watchPicture(QObject* filter) {
    picture_->installEventFilter(filter);
}

}  // namespace vellumo
