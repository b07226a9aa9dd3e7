#include "movie/movie_view.h"

#include <QPaintEvent>
#include <QPainter>

#include "movie/movie_player.h"

namespace vellumo {

MovieView::MovieView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MovieView::setPlayer(MoviePlayer* player) {
    disconnect(frames_);
    player_ = player;
    if (player_) {
        frames_ = connect(player_, &MoviePlayer::frameChanged, this, [this] { update(); });
    }
    update();
}

MoviePlayer* MovieView::player() const {
    return player_;
}

void MovieView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    if (player_ && player_->isLoaded()) {
        painter.drawImage(QPoint(0, 0), player_->currentImage());
    }
}

}  // namespace vellumo
