#include "movie/movie_player.h"

#include <QFileInfo>

#include <algorithm>

#include "movie/movie_animation.h"
#include "movie/movie_parser.h"

namespace vellumo {

PreparedMovie prepareMovie(const QString& path, QSize size,
                           const movie::PicturesInMemory& inMemory) {
    PreparedMovie prepared;
    prepared.path = path;
    prepared.movie = std::make_shared<const movie::Movie>(movie::readMovie(path));
    prepared.pictures = movie::readMoviePictures(*prepared.movie, inMemory);
    if (!size.isEmpty()) {
        prepared.renderer =
            std::make_shared<const movie::MovieRenderer>(prepared.movie, prepared.pictures, size);
        prepared.firstFrame = prepared.renderer->render(0);
    }
    return prepared;
}

MoviePlayer::MoviePlayer(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(movie::kFrameIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &MoviePlayer::tick);
}

MoviePlayer::~MoviePlayer() = default;

void MoviePlayer::setSize(QSize size) {
    if (size == size_) {
        return;
    }
    size_ = size;
    prepare();
    if (movie_) {
        emit frameChanged(frame_);
    }
}

QSize MoviePlayer::size() const {
    return size_;
}

void MoviePlayer::setMovie(const QString& path) {
    // Everything is read first, so a movie that fails to load leaves the current one in place.
    setMovie(prepareMovie(path, size_));
}

void MoviePlayer::setMovie(PreparedMovie prepared) {
    stop();
    path_ = std::move(prepared.path);
    movie_ = std::move(prepared.movie);
    pictures_ = std::move(prepared.pictures);
    frame_ = 0;
    if (prepared.renderer && prepared.renderer->size() == size_ && !prepared.firstFrame.isNull()) {
        renderer_ = std::move(prepared.renderer);
        image_ = std::move(prepared.firstFrame);
        drawnFrame_ = 0;
    } else {
        prepare();
    }
    emit frameChanged(frame_);
}

QString MoviePlayer::movie() const {
    return path_;
}

bool MoviePlayer::isLoaded() const {
    return movie_ != nullptr;
}

const movie::Movie* MoviePlayer::loadedMovie() const {
    return movie_.get();
}

int MoviePlayer::totalFrames() const {
    return movie_ ? movie_->frames : 0;
}

int MoviePlayer::frameNum() const {
    return frame_;
}

void MoviePlayer::setFrameNum(int frame) {
    if (!movie_) {
        return;
    }
    goTo(frame, true);
}

void MoviePlayer::play() {
    if (!movie_ || timer_.isActive()) {
        return;
    }
    if (!movie_->loop && frame_ >= movie_->frames - 1) {
        goTo(0, false);
    }
    timer_.start();
}

void MoviePlayer::stop() {
    timer_.stop();
}

bool MoviePlayer::isPlaying() const {
    return timer_.isActive();
}

const QImage& MoviePlayer::currentImage() const {
    if (drawnFrame_ != frame_ && renderer_ && !renderer_->isNull()) {
        renderer_->render(frame_, image_);
        drawnFrame_ = frame_;
    }
    return image_;
}

void MoviePlayer::prepare() {
    drawnFrame_ = -1;
    image_ = QImage();
    if (!movie_) {
        renderer_.reset();
        return;
    }
    renderer_ = std::make_shared<const movie::MovieRenderer>(movie_, pictures_, size_);
    currentImage();
}

void MoviePlayer::goTo(int frame, bool drawNow) {
    frame = std::clamp(frame, 0, movie_->frames - 1);
    const bool changed = frame != frame_;
    frame_ = frame;
    if (drawNow) {
        currentImage();
    }
    if (changed) {
        emit frameChanged(frame_);
    }
}

void MoviePlayer::tick() {
    if (!movie_) {
        timer_.stop();
        return;
    }
    const int last = movie_->frames - 1;
    if (frame_ < last) {
        goTo(frame_ + 1, false);
    } else if (movie_->loop) {
        goTo(0, false);
    }
    if (!movie_->loop && frame_ >= last) {
        timer_.stop();
    }
}

}  // namespace vellumo
