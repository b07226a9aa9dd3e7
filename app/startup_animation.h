#pragma once

// The start-up animation in the start-up box over the main display. It is unpacked when the main
// window opens, loaded by the animation timer and plays until the first "添加照片" releases it.
// When it cannot be loaded the box is hidden, the static start picture is centred in the main
// display and loadFailed() asks for the plug-in notice.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class QWidget;

namespace vellumo {

class MainDisplay;
class MoviePlayer;
class MovieView;

class StartupAnimation : public QObject {
    Q_OBJECT
public:
    StartupAnimation(MainDisplay* display, QWidget* box, QObject* parent);
    ~StartupAnimation() override;

    // Unpacks the animation into the unpack folder and creates its player in the box, laid
    // over the main display and not clickable. Errors are swallowed: loading reports them.
    void prepare();
    // Starts the animation timer (one-shot, 1 ms).
    void startTimer();
    // The animation timer's work. True when the animation plays, or was released before it
    // was loaded.
    bool load();
    // The first step of "添加照片".
    void release();
    // Puts the start picture into the main display (in place of the animation that is released
    // or cannot be played); without it the picture is drawn here.
    void setStartPictureShower(std::function<void()> show) { showStart_ = std::move(show); }

    // "0" while the player exists, "1" once it has been released.
    QString flag() const;
    MoviePlayer* player() const { return player_; }
    MovieView* view() const { return view_; }

signals:
    void loadFailed();

private:
    void freePlayer();

    QPointer<MainDisplay> display_;
    QPointer<QWidget> box_;
    MoviePlayer* player_ = nullptr;
    MovieView* view_ = nullptr;
    bool released_ = false;
    std::function<void()> showStart_;
    QTimer timer_;
};

}  // namespace vellumo
