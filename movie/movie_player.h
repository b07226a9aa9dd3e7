#pragma once

// The movie player the hosts put where a template, the closing movie or the start-up animation
// plays: load a movie, read its frame count, go to a frame (drawn at once, at the player's
// size), play and stop its own playback at 25 frames a second. The host shows currentImage().

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

#include <memory>

#include "movie/movie_model.h"
#include "movie/movie_pictures.h"
#include "movie/movie_renderer.h"

namespace vellumo {

// A movie read, its pictures decoded and its first frame drawn at a size: the slow part of
// loading a movie, which may run on any thread and be handed to a player later.
struct PreparedMovie {
    QString path;
    std::shared_ptr<const movie::Movie> movie;
    movie::MoviePictures pictures;
    std::shared_ptr<const movie::MovieRenderer> renderer;
    QImage firstFrame;
};
// Throws vellumo::FileError as MoviePlayer::setMovie does. Pictures found in inMemory are not
// read from their files.
PreparedMovie prepareMovie(const QString& path, QSize size,
                           const movie::PicturesInMemory& inMemory = {});

class MoviePlayer : public QObject {
    Q_OBJECT
public:
    explicit MoviePlayer(QObject* parent = nullptr);
    ~MoviePlayer() override;

    // The control's size; frames are drawn at it. Pictures are scaled again when it changes.
    // An empty size draws nothing.
    void setSize(QSize size);
    QSize size() const;

    // Loads the movie and its pictures at once and shows frame 0, stopped. Throws
    // vellumo::FileError (naming the file, and the line and problem for a movie that cannot be
    // parsed) when the file is missing or not a valid movie; the movie loaded before then stays.
    // A picture the movie names that is missing draws nothing and is not an error.
    void setMovie(const QString& path);
    // Shows a movie prepared elsewhere (prepared again when its size is not the player's).
    void setMovie(PreparedMovie prepared);
    QString movie() const;
    bool isLoaded() const;
    // The loaded movie, or null.
    const movie::Movie* loadedMovie() const;

    int totalFrames() const;
    int frameNum() const;
    // Goes to the frame (clamped to the movie) and draws it at once. Playback, if running,
    // goes on from there.
    void setFrameNum(int frame);

    // Advances frameNum by one every 40 ms. At the end a looping movie starts again at 0,
    // another stops on its last frame; play() on that last frame starts again at 0.
    void play();
    void stop();
    bool isPlaying() const;

    // The current frame at size(). Frames reached by playback are drawn when first asked for.
    const QImage& currentImage() const;
    // What draws the loaded movie's frames; it may draw on any thread. Null when none.
    std::shared_ptr<const movie::MovieRenderer> renderer() const { return renderer_; }

signals:
    // The picture the player shows changed: another frame, a newly loaded movie or a new size.
    void frameChanged(int frame);

private:
    void prepare();
    void goTo(int frame, bool drawNow);
    void tick();

    QSize size_{800, 450};
    QString path_;
    std::shared_ptr<const movie::Movie> movie_;
    movie::MoviePictures pictures_;
    std::shared_ptr<const movie::MovieRenderer> renderer_;
    int frame_ = 0;
    QTimer timer_;
    mutable QImage image_;
    mutable int drawnFrame_ = -1;  // the frame image_ shows, -1 when none
};

}  // namespace vellumo
