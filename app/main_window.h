#pragma once

// The main window: frameless, 1191 × 690, skinned title bar, the command buttons, the summary
// lists, the main display with the start-up box over it, the photo page and the clock. It
// assembles the panels and routes their commands: every command but " 播放", " 停止" and the
// exit first checks the playback state. Commands whose windows belong to other parts run the
// handlers those parts register; commandTable() names the owner of each. The window itself
// answers "软件简介" (the about window), "帮助文件" and the globe (the help) and "插入视频".

#include <QHash>
#include <QWidget>
#include <functional>

#include "app/commands.h"
#include "preview/preview_timeline.h"

class QImage;
class QLabel;
class QMenu;

namespace vellumo {

struct LyricLine;

class AboutWindow;
class CommandPanel;
class MainDisplay;
class MainTitleBar;
class StartupAnimation;
class SummaryLists;
class ThumbnailStrip;

// What the " 播放" and " 停止" buttons allow.
enum class Transport {
    Ready,    // both work: nothing plays
    Busy,     // neither works: the preview is starting or stopping
    Playing,  // " 停止" only
};

// The summary lists on the left.
enum class SummaryKind { Templates, Music, Lyrics };

class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 1191;
    static constexpr int kClientHeight = 690;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The playing state is the album preview's; the window asks it through source. Without a
    // source nothing plays.
    void setPlaybackSource(std::function<PlaybackState()> source);
    PlaybackState playbackState() const;
    // "bofang_kaishi" while the album plays, "bofang_tingzhi" otherwise.
    QString playbackStateWord() const;

    // Runs a command as its button, menu item or label does.
    void runCommand(Command command);
    // Runs work unless the album plays (then the playing guard is told).
    void runGuarded(const std::function<void()>& work);
    // The work of a command, registered by the command's owner (commandTable()); the playing
    // guard has been passed when it runs.
    void setCommandHandler(Command command, std::function<void()> handler);
    bool hasCommandHandler(Command command) const { return bool(handlers_.value(command)); }

    // The steps when the main window opens: lyric label cleared, hint colours, working folders
    // cleared ("wj_y_l", "wj_to_wj", "linshi"); then opened() lets the parts start afresh.
    void prepareOnOpen();
    // The start-up animation over the main display: unpacked, and loaded by its timer. When it
    // cannot be played, the start picture stands in and startupAnimationFailed() is emitted.
    void startStartupAnimation();

    // Where a window of that size stands centred on a screen area. A window larger than the
    // area keeps its top-left corner on it, so that its title bar can still be taken.
    static QPoint centredOn(QSize window, const QRect& area);
    // Centres the window on its screen's available area.
    void centreOnScreen();

    // The album's title: the window title, and the album's name with its unsaved mark on the
    // title bar.
    void showAlbumTitle(const QString& windowTitle, const QString& markedName);
    // The recent albums below the project items of the function menu; choosing one runs open
    // with its path, after the playing guard.
    void setRecentAlbums(const QStringList& paths, std::function<void(const QString&)> open);
    QMenu* recentAlbumsMenu() const { return recentMenu_; }

    // The status line in the bottom strip: a notice that needs no answer; empty clears it.
    void showStatus(const QString& text);
    QString statusText() const;

    // Lets the window close without asking (the program is ending).
    void allowClose() { closeAllowed_ = true; }

    // The clock labels of the transport panel.
    void showClock(const QString& current, const QString& total);
    void showTotalTime(const QString& total);
    void setTransport(Transport state);
    // A command's button taken out of use (while its work runs) and back.
    void setCommandEnabled(Command command, bool enabled);
    // The lyric label over the main display; an empty text clears it.
    void showLyric(const LyricLine& line);
    // Replaces a summary list's rows; each row holds the column texts.
    void setSummary(SummaryKind kind, const QList<QStringList>& rows);
    // A preview frame, or the start picture, filling the main display.
    void showFrame(const QImage& frame);
    void showStartPicture();
    // The start picture: with its welcome line ("点击「添加照片」…") while the album has no
    // photos, without it once it has.
    QImage startPicture() const;
    // Whether the album has photos (the start picture follows, and the start-up animation is
    // released: the photos are shown where it plays).
    void setAlbumHasPhotos(bool hasPhotos);
    // Stops and frees the start-up animation (once), with the start picture in its place.
    void releaseStartupAnimation();
    // A photo centred in the main display, cut where it overflows; cleared, the display is black.
    void showPhoto(const QImage& photo);
    void clearPhoto();
    // Mouse events on the shown photo pass through filter first (the photo pages drag it).
    void watchPhoto(QObject* filter);
    // The album preview takes the display: the photo pages drop their selection.
    void dropPhotoSelection() { emit photoSelectionDropped(); }

    // The photo page: thumbnail k (1 … 9) shows picture with its hint.
    void showThumbnail(int k, const QImage& picture, const QString& hint);
    // Empties the nine pictures; their hints go too when withHints.
    void clearThumbnails(bool withHints);
    bool thumbnailHoldsPicture(int k) const;

signals:
    // The window has been prepared on opening (the photo pages' first page flag goes back to
    // "kaishi").
    void opened();
    void startupAnimationFailed();
    // A click, double-click or the mouse entering thumbnail k (1 … 9).
    void thumbnailClicked(int k);
    void thumbnailDoubleClicked(int k);
    void thumbnailPointed(int k);
    // The exit command, the close label or the platform's window close.
    void exitRequested();
    // The album preview takes the display: no photo stays selected (dropPhotoSelection()).
    void photoSelectionDropped();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildFunctionMenu();

    std::function<PlaybackState()> playbackSource_;
    bool closeAllowed_ = false;
    QHash<Command, std::function<void()>> handlers_;

    MainTitleBar* titleBar_ = nullptr;
    CommandPanel* commands_ = nullptr;
    SummaryLists* summaries_ = nullptr;
    MainDisplay* display_ = nullptr;
    QWidget* startupBox_ = nullptr;
    ThumbnailStrip* thumbnails_ = nullptr;
    QLabel* icon_ = nullptr;
    QLabel* bottomStrip_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QMenu* menu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    StartupAnimation* startup_ = nullptr;
    AboutWindow* about_ = nullptr;
    bool albumHasPhotos_ = false;
    // The start picture is what the main display shows.
    bool startShown_ = false;
};

}  // namespace vellumo
