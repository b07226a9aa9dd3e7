#include "app/main_window.h"

#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

#include "app/about_window.h"
#include "app/app_texts.h"
#include "app/command_panel.h"
#include "app/help_window.h"
#include "app/main_display.h"
#include "app/main_layout.h"
#include "app/main_title_bar.h"
#include "app/startup_animation.h"
#include "app/summary_lists.h"
#include "app/thumbnail_strip.h"
#include "dialogs/message_dialog.h"
#include "preview/preview_music.h"
#include "project/project_texts.h"
#include "skin/artwork.h"
#include "skin/skin.h"
#include "skin/skin_widgets.h"
#include "workspace/working_folders.h"

namespace vellumo {

MainWindow::MainWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setWindowTitle(texts::kApplicationTitle);
    setWindowIcon(artwork::programIconSet());
    setFixedSize(kClientWidth, kClientHeight);
    QFont font(texts::kSongTi);
    font.setPixelSize(12);
    setFont(font);

    titleBar_ = new MainTitleBar(this);
    titleBar_->setGeometry(0, 0, kClientWidth, layout::kTitleHeight);
    icon_ = new QLabel(this);
    icon_->setObjectName(QStringLiteral("programIcon"));
    icon_->setPixmap(QPixmap::fromImage(artwork::programIcon(layout::kIcon.width())));
    icon_->setGeometry(layout::kIcon);
    icon_->setAttribute(Qt::WA_TransparentForMouseEvents);

    commands_ = new CommandPanel(this);
    summaries_ = new SummaryLists(this);
    summaries_->setGeometry(layout::kSummaries);
    display_ = new MainDisplay(this);
    display_->move(layout::kDisplay.topLeft());
    startupBox_ = new QWidget(this);
    startupBox_->setObjectName(QStringLiteral("startupBox"));
    startupBox_->setGeometry(display_->geometry());
    startupBox_->hide();
    thumbnails_ = new ThumbnailStrip(this);
    thumbnails_->setGeometry(layout::kThumbnails);

    bottomStrip_ = new QLabel(this);
    bottomStrip_->setPixmap(Skin::shared().mainBottom);
    bottomStrip_->setScaledContents(true);
    bottomStrip_->setGeometry(0, kClientHeight - layout::kBottomStripHeight, kClientWidth,
                              layout::kBottomStripHeight);
    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    statusLine_->setGeometry(bottomStrip_->geometry().adjusted(8, 0, -8, 0));
    // A notice in warm yellow over the dark strip, where it is seen without being in the way.
    statusLine_->setStyleSheet(QStringLiteral("color: #ffcc66; background: transparent;"));
    statusLine_->setAttribute(Qt::WA_TransparentForMouseEvents);
    buildFunctionMenu();
    startup_ = new StartupAnimation(display_, startupBox_, this);
    startup_->setStartPictureShower([this] { showStartPicture(); });
    connect(startup_, &StartupAnimation::loadFailed, this, &MainWindow::startupAnimationFailed);
    about_ = new AboutWindow(this);
    connect(about_, &AboutWindow::helpRequested, this, [this] { openHelp(this); });

    connect(commands_, &CommandPanel::commandRequested, this, &MainWindow::runCommand);
    connect(thumbnails_, &ThumbnailStrip::commandRequested, this, &MainWindow::runCommand);
    connect(thumbnails_, &ThumbnailStrip::thumbnailClicked, this, &MainWindow::thumbnailClicked);
    connect(thumbnails_, &ThumbnailStrip::thumbnailDoubleClicked, this,
            &MainWindow::thumbnailDoubleClicked);
    connect(thumbnails_, &ThumbnailStrip::thumbnailPointed, this, &MainWindow::thumbnailPointed);
    connect(summaries_, &SummaryLists::musicDoubleClicked, this,
            [this] { runCommand(Command::MusicPreview); });
    connect(summaries_, &SummaryLists::lyricsDoubleClicked, this,
            [this] { runCommand(Command::LyricsPreview); });
    connect(titleBar_, &MainTitleBar::closeReleased, this, [this] { runCommand(Command::Exit); });
    connect(titleBar_, &MainTitleBar::websiteReleased, this, [this] { openHelp(this); });
    connect(titleBar_, &MainTitleBar::menuReleased, this,
            [this](QPoint centre) { menu_->popup(centre); });

    setCommandHandler(Command::About, [this] { about_->exec(); });
    setCommandHandler(Command::Help, [this] { openHelp(this); });
    setCommandHandler(Command::InsertVideo, [] { showMessage(texts::kInsertVideoLater); });
    setCommandHandler(Command::Exit, [this] { emit exitRequested(); });
}

MainWindow::~MainWindow() = default;

void MainWindow::buildFunctionMenu() {
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("functionMenu"));
    const QHash<Command, QKeySequence> shortcuts{{Command::NewAlbum, QKeySequence::New},
                                                 {Command::OpenAlbum, QKeySequence::Open},
                                                 {Command::SaveAlbum, QKeySequence::Save}};
    for (Command command : functionMenuCommands()) {
        if (command == Command::Exit || command == Command::AddPhotos) {
            menu_->addSeparator();
        }
        QAction* action = menu_->addAction(commandInfo(command).caption, this,
                                           [this, command] { runCommand(command); });
        if (shortcuts.contains(command)) {
            action->setShortcut(shortcuts.value(command));
            // Also while the menu is closed.
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
        }
        if (command == Command::SaveAlbumAs) {
            recentMenu_ = menu_->addMenu(texts::kRecentAlbums);
            recentMenu_->setObjectName(QStringLiteral("recentAlbumsMenu"));
            setRecentAlbums({}, {});
        }
    }
}

void MainWindow::setRecentAlbums(const QStringList& paths,
                                 std::function<void(const QString&)> open) {
    recentMenu_->clear();
    for (const QString& path : paths) {
        // "&" in a file name is not a mnemonic.
        QString caption = path;
        caption.replace(u'&', QStringLiteral("&&"));
        recentMenu_->addAction(caption, this, [this, path, open] {
            if (open) {
                runGuarded([&open, &path] { open(path); });
            }
        });
    }
    if (paths.isEmpty()) {
        recentMenu_->addAction(texts::kNoRecentAlbums)->setEnabled(false);
    }
}

void MainWindow::showAlbumTitle(const QString& windowTitle, const QString& markedName) {
    setWindowTitle(windowTitle);
    titleBar_->showAlbumName(markedName);
}

void MainWindow::showStatus(const QString& text) {
    statusLine_->setText(text);
}

QString MainWindow::statusText() const {
    return statusLine_->text();
}

void MainWindow::setPlaybackSource(std::function<PlaybackState()> source) {
    playbackSource_ = std::move(source);
}

PlaybackState MainWindow::playbackState() const {
    return playbackSource_ ? playbackSource_() : PlaybackState::Stopped;
}

QString MainWindow::playbackStateWord() const {
    return playbackState() == PlaybackState::Playing ? words::kPlaying : words::kStopped;
}

void MainWindow::setCommandHandler(Command command, std::function<void()> handler) {
    handlers_.insert(command, std::move(handler));
}

void MainWindow::runGuarded(const std::function<void()>& work) {
    if (playbackState() == PlaybackState::Playing) {
        showMessage(texts::kPlayingGuard);
        return;
    }
    work();
}

void MainWindow::runCommand(Command command) {
    if (isGuardedWhilePlaying(command) && playbackState() == PlaybackState::Playing) {
        showMessage(texts::kPlayingGuard);
        return;
    }
    if (command == Command::AddPhotos) {
        releaseStartupAnimation();
    }
    const auto handler = handlers_.value(command);
    if (handler) {
        handler();
    }
}

void MainWindow::showClock(const QString& current, const QString& total) {
    commands_->showClock(current, total);
}

void MainWindow::showTotalTime(const QString& total) {
    commands_->showTotalTime(total);
}

void MainWindow::setTransport(Transport state) {
    setCommandEnabled(Command::Play, state == Transport::Ready);
    setCommandEnabled(Command::Stop, state != Transport::Busy);
}

void MainWindow::setCommandEnabled(Command command, bool enabled) {
    commands_->setCommandEnabled(command, enabled);
}

void MainWindow::showLyric(const LyricLine& line) {
    display_->showLyric(line);
}

void MainWindow::setSummary(SummaryKind kind, const QList<QStringList>& rows) {
    QTreeWidget* list = kind == SummaryKind::Templates ? summaries_->templates()
                        : kind == SummaryKind::Music   ? summaries_->music()
                                                       : summaries_->lyrics();
    SummaryLists::setRows(list, rows);
}

void MainWindow::showFrame(const QImage& frame) {
    display_->showPicture(frame, QPoint(0, 0));
    startShown_ = false;
}

void MainWindow::showStartPicture() {
    display_->showPicture(startPicture(), QPoint(0, 0));
    startShown_ = true;
}

QImage MainWindow::startPicture() const {
    return artwork::startPicture(albumHasPhotos_ ? artwork::StartHint::None
                                                 : artwork::StartHint::Welcome);
}

void MainWindow::setAlbumHasPhotos(bool hasPhotos) {
    if (hasPhotos && startup_->flag() == words::kStartupAnimationHeld) {
        // Photos in the album are shown in the main display, which the animation would cover.
        releaseStartupAnimation();
    }
    if (hasPhotos == albumHasPhotos_) {
        return;
    }
    albumHasPhotos_ = hasPhotos;
    if (startShown_) {
        showStartPicture();
    }
}

void MainWindow::releaseStartupAnimation() {
    startup_->release();
}

void MainWindow::showPhoto(const QImage& photo) {
    display_->showCentred(photo);
    startShown_ = false;
}

void MainWindow::clearPhoto() {
    display_->clearPicture();
    startShown_ = false;
}

void MainWindow::watchPhoto(QObject* filter) {
    display_->watchPicture(filter);
}

void MainWindow::showThumbnail(int k, const QImage& picture, const QString& hint) {
    thumbnails_->showThumbnail(k, picture, hint);
}

void MainWindow::clearThumbnails(bool withHints) {
    thumbnails_->clearThumbnails(withHints);
}

bool MainWindow::thumbnailHoldsPicture(int k) const {
    return thumbnails_->holdsPicture(k);
}

void MainWindow::prepareOnOpen() {
    display_->clearLyric();
    applyHintLook();
    clearSessionFolders();
    emit opened();
}

void MainWindow::startStartupAnimation() {
    startup_->prepare();
    startup_->startTimer();
}

QPoint MainWindow::centredOn(QSize window, const QRect& area) {
    return {area.left() + std::max(0, (area.width() - window.width()) / 2),
            area.top() + std::max(0, (area.height() - window.height()) / 2)};
}

void MainWindow::centreOnScreen() {
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    if (shown) {
        move(centredOn(size(), shown->availableGeometry()));
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closeAllowed_) {
        event->accept();
        return;
    }
    // The platform's own close (Alt+F4, the window manager) goes through the exit dialog.
    event->ignore();
    QTimer::singleShot(0, this, [this] { runCommand(Command::Exit); });
}

void MainWindow::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    painter.drawPixmap(rect(), Skin::shared().background);
}

}  // namespace vellumo
