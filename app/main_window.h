#pragma once

// The main window: frameless, 1191 × 690, skinned title bar, the command buttons, the summary
// lists, the main display with the start-up box over it, the photo page and the clock. It
// assembles the panels and routes their commands: every command but " 播放", " 停止" and the
// exit first checks the playback state. Commands whose windows belong to other parts run the
// handlers those parts register.

#include <QHash>
#include <QWidget>
#include <functional>

#include "app/commands.h"
#include "preview/preview_timeline.h"

class QLabel;
class QMenu;

namespace vellumo {

class CommandPanel;
class MainDisplay;
class MainTitleBar;
class StartupAnimation;
class SummaryLists;
class ThumbnailStrip;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 1191;
    static constexpr int kClientHeight = 690;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // "bofang_kaishi" while the album plays, "bofang_tingzhi" otherwise.
    PlaybackState playbackState() const { return playbackState_; }
    void setPlaybackState(PlaybackState state) { playbackState_ = state; }
    QString playbackStateWord() const;

    // Runs a command as its button, menu item or label does.
    void runCommand(Command command);
    // The work of a command; the playing guard has been passed when it runs.
    void setCommandHandler(Command command, std::function<void()> handler);

    // The steps when the main window opens: lyric label cleared, first page flag "kaishi", hint
    // colours, working folders cleared ("wj_y_l", "wj_to_wj", "linshi").
    void prepareOnOpen();

    // "kaishi" until the first photo page has been loaded; owned by the photo pages.
    QString firstPageFlag() const { return firstPageFlag_; }
    void setFirstPageFlag(const QString& flag) { firstPageFlag_ = flag; }

    // Where a window of that size stands centred on a screen area. A window larger than the
    // area keeps its top-left corner on it, so that its title bar can still be taken.
    static QPoint centredOn(QSize window, const QRect& area);
    // Centres the window on its screen's available area.
    void centreOnScreen();

    // Lets the window close without asking (the program is ending).
    void allowClose() { closeAllowed_ = true; }

    MainTitleBar* titleBar() const { return titleBar_; }
    CommandPanel* commands() const { return commands_; }
    SummaryLists* summaries() const { return summaries_; }
    MainDisplay* display() const { return display_; }
    QWidget* startupBox() const { return startupBox_; }
    ThumbnailStrip* thumbnails() const { return thumbnails_; }
    QLabel* icon() const { return icon_; }
    QMenu* functionMenu() const { return menu_; }
    StartupAnimation* startupAnimation() const { return startup_; }

signals:
    // The exit command, the close label or the platform's window close.
    void exitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildFunctionMenu();

    PlaybackState playbackState_ = PlaybackState::Stopped;
    QString firstPageFlag_;
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
    QMenu* menu_ = nullptr;
    StartupAnimation* startup_ = nullptr;
};

}  // namespace vellumo
