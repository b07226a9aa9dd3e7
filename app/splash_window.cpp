#include "app/splash_window.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include <algorithm>

#include "app/app_texts.h"
#include "skin/artwork.h"

namespace vellumo {

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::SplashScreen) {
    setWindowTitle(texts::kApplicationTitle);
    setWindowIcon(artwork::programIconSet());
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    const QImage image = artwork::splashPicture();
    picture_ = new QLabel(this);
    picture_->setPixmap(QPixmap::fromImage(image));
    picture_->setGeometry(0, 0, image.width(), image.height());
    setFixedSize(image.size());

    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    bar_->setRange(0, 1);
    bar_->setValue(0);
    bar_->setGeometry(0, image.height() - kBarHeight, image.width(), kBarHeight);
    bar_->setStyleSheet(
        QStringLiteral("QProgressBar { border: 0; background: #202228; }"
                       "QProgressBar::chunk { background: qlineargradient(x1:0, y1:0, x2:1, "
                       "y2:0, stop:0 #e19a33, stop:1 #f6c778); }"));

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
}

void SplashWindow::startLoading(int steps) {
    // A bar of maximum 0 would run as a busy indicator.
    bar_->setRange(0, std::max(steps, 1));
    bar_->setValue(0);
}

void SplashWindow::advance() {
    if (bar_->value() < bar_->maximum()) {
        bar_->setValue(bar_->value() + 1);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vellumo
