// Renders the windows of the start-up spine to PNG files, for looking at them without a screen:
//   vellumo-screenshots OUTPUT_FOLDER
// Run it on the offscreen platform.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include "album/lyric_settings_window.h"
#include "album/photo_list_texts.h"
#include "app/about_window.h"
#include "app/app_texts.h"
#include "app/exit_dialog.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/photo_pages.h"
#include "app/plugin_notice.h"
#include "app/program.h"
#include "app/save_question.h"
#include "app/splash_window.h"
#include "app/startup_animation.h"
#include "app/thumbnail_strip.h"
#include "app/web.h"
#include "assignment/photo_adding.h"
#include "assignment/placement.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_texts.h"
#include "dialogs/file_chooser.h"
#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "lists/background_window.h"
#include "lists/lyrics_list_window.h"
#include "lists/music_list_window.h"
#include "lists/photo_list_window.h"
#include "media/music_player.h"
#include "movie/movie_player.h"
#include "preview/music_preview_window.h"
#include "production/completion_dialog.h"
#include "production/output_windows.h"
#include "project/album.h"
#include "project/project_texts.h"
#include "settings/settings_window.h"
#include "settings/system_settings.h"
#include "tools/screenshot_texts.h"
#include "workspace/data_paths.h"
#include "workspace/program_folder.h"

namespace {

QString outputFolder;

void settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
}

bool save(QWidget& widget, const QString& name) {
    widget.show();
    settle();
    const QString path = outputFolder + u'/' + name;
    const bool ok = widget.grab().save(path);
    QTextStream(stdout) << (ok ? "wrote " : "could not write ") << path << Qt::endl;
    widget.hide();
    return ok;
}

// A made-up holiday photo: sky, sun, hills and a lake in a palette of its own.
QString writeSamplePhoto(const QString& folder, int n, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const int hue = (n * 47) % 360;
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor::fromHsv(hue, 120, 240));
    sky.setColorAt(1, QColor::fromHsv((hue + 30) % 360, 60, 255));
    p.fillRect(image.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 230, 150));
    p.drawEllipse(QPointF(size.width() * (0.2 + 0.07 * (n % 8)), size.height() * 0.25),
                  size.height() * 0.08, size.height() * 0.08);
    for (int layer = 0; layer < 3; ++layer) {
        QPainterPath hills;
        hills.moveTo(0, size.height());
        for (int x = 0; x <= 8; ++x) {
            hills.lineTo(
                size.width() * x / 8.0,
                size.height() * (0.45 + 0.12 * layer + 0.08 * ((x * (n + 3) + layer) % 3)));
        }
        hills.lineTo(size.width(), size.height());
        p.setBrush(
            QColor::fromHsv((hue + 120 + 25 * layer) % 360, 110 + 40 * layer, 170 - 40 * layer));
        p.drawPath(hills);
    }
    p.end();
    const QString path = folder + QStringLiteral("/IMG_%1.jpg").arg(2400 + n);
    image.save(path, "JPG", 90);
    return path;
}

// The photo windows with a dozen photos placed into the installed templates: the photo list
// with a photo shown, the background window with a row shown, the main window with a page of
// thumbnails and a photo selected.
bool savePhotoWindows(const QString& photoFolder) {
    vellumo::ProgressWindow::shared().setTaskDelay(1);
    vellumo::Catalogue catalogue;
    catalogue.build();
    vellumo::Album album(catalogue);
    QStringList files;
    for (int n = 0; n < 12; ++n) {
        files << writeSamplePhoto(photoFolder, n,
                                  n % 4 == 3 ? QSize(900, 1200) : QSize(1600, 1200));
    }
    vellumo::PhotoAdder adder(album);
    adder.addAll(files);
    adder.placeAll();

    bool ok = true;
    vellumo::SystemSettings settings;
    vellumo::MainWindow window;
    auto* windows = new vellumo::PhotoWindows(window, album, settings);
    vellumo::PhotoListWindow* photoList = windows->photoList();
    photoList->show();
    photoList->list()->topLevelItem(1)->setSelected(true);
    photoList->showSelected();
    ok &= save(*photoList, QStringLiteral("photo_list_window.png"));
    vellumo::BackgroundWindow* backgrounds = windows->backgrounds();
    backgrounds->show();
    if (backgrounds->list()->topLevelItemCount() > 2) {
        backgrounds->list()->topLevelItem(2)->setSelected(true);
        backgrounds->showSelected();
    }
    ok &= save(*backgrounds, QStringLiteral("background_window.png"));
    window.show();
    window.findChild<vellumo::StartupAnimation*>()->release();
    windows->pages()->setFirstPageFlag(vellumo::words::kFirstPageStart);
    windows->pages()->showFirstPageAfterAdding();
    windows->pages()->clickThumbnail(3);
    ok &= save(window, QStringLiteral("main_window_photos.png"));
    return ok;
}

// The exit dialog half-way through a clean-up that takes a while (a clock of its own makes every
// working file take 10 ms).
bool saveExitCleanup() {
    const QString unpack = vellumo::workingPath(vellumo::paths::kUnpackFolder);
    QDir().mkpath(unpack);
    for (int i = 0; i < 100; ++i) {
        QFile file(unpack + QStringLiteral("shot_%1.rar").arg(i));
        if (file.open(QIODevice::WriteOnly)) {
            file.write("x");
        }
    }
    vellumo::ExitDialog dialog;
    qint64 now = 0;
    dialog.setClock([&now] { return now += 10; });
    bool ok = false;
    QObject::connect(dialog.loadingBar(), &QProgressBar::valueChanged, &dialog, [&](int value) {
        if (value == dialog.loadingBar()->maximum() * 3 / 4) {
            const QString path = outputFolder + QStringLiteral("/exit_dialog_cleaning.png");
            ok = dialog.grab().save(path);
            QTextStream(stdout) << "wrote " << path << Qt::endl;
        }
    });
    QTimer::singleShot(50, &dialog, [&dialog] { dialog.okButton()->click(); });
    dialog.exec();
    return ok;
}

// The help window with the installed guide, scrolled to its main window section.
bool saveHelpWindow() {
    vellumo::setWebPageOpener([](const QUrl&) { return false; });
    vellumo::HelpWindow* help = vellumo::openHelp(nullptr, vellumo::texts::kScreenshotHelpSection);
    vellumo::setWebPageOpener({});
    if (!help) {
        return false;
    }
    const bool ok = save(*help, QStringLiteral("help_window.png"));
    delete help;
    return ok;
}

// Qt's own file dialog (not the desktop's) on the sample music: its words in Chinese.
bool saveFileDialog() {
    QFileDialog dialog(nullptr, vellumo::texts::kAddMusic,
                       vellumo::dataPath(vellumo::paths::kSampleMusic));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    vellumo::localiseDates(&dialog);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.resize(820, 480);
    dialog.show();
    for (int i = 0; i < 40; ++i) {
        settle();
        QThread::msleep(10);
    }
    return save(dialog, QStringLiteral("file_dialog.png"));
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    outputFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outputFolder);
    vellumo::installLook();

    bool ok = true;
    vellumo::SplashWindow splash;
    splash.loadingBar()->setRange(0, 10);
    splash.loadingBar()->setValue(6);
    ok &= save(splash, QStringLiteral("splash.png"));

    vellumo::MainWindow window;
    window.show();
    // The tool reaches into the window for a frame of the animation's middle.
    auto* animation = window.findChild<vellumo::StartupAnimation*>();
    animation->prepare();
    if (animation->load()) {
        // A frame from the middle of the animation.
        animation->player()->stop();
        animation->player()->setFrameNum(animation->player()->totalFrames() / 2);
    }
    ok &= save(window, QStringLiteral("main_window.png"));

    vellumo::MainWindow fallback;
    // No movie loaded: the static start picture, as when the animation cannot be played.
    fallback.findChild<vellumo::StartupAnimation*>()->load();
    ok &= save(fallback, QStringLiteral("main_window_start_picture.png"));

    vellumo::PluginNotice notice;
    ok &= save(notice, QStringLiteral("plugin_notice.png"));

    vellumo::ExitDialog exitDialog;
    ok &= save(exitDialog, QStringLiteral("exit_dialog.png"));
    ok &= saveExitCleanup();

    vellumo::AboutWindow about;
    ok &= save(about, QStringLiteral("about_window.png"));
    ok &= saveHelpWindow();
    ok &= saveFileDialog();

    vellumo::ProgressWindow progress;
    progress.setCaption(vellumo::texts::kAddPhotos);
    progress.bar()->setRange(0, 9);
    progress.bar()->setValue(4);
    ok &= save(progress, QStringLiteral("progress_window.png"));

    vellumo::MessageDialog message;
    message.setMessage(vellumo::texts::kPlayingGuard);
    ok &= save(message, QStringLiteral("message_dialog.png"));

    vellumo::MessageDialog longMessage;
    QStringList lines{vellumo::texts::kTemplatesLeftOut};
    for (int i = 1; i <= 4; ++i) {
        lines << vellumo::texts::kTemplateLeftOutLine.arg(
            QStringLiteral("smxcwjj/wj_0_or_2/moban_%1.ini").arg(i),
            vellumo::texts::kParameterNotNumber.arg(QStringLiteral("mbdx"),
                                                    vellumo::texts::kScreenshotBadNumber));
    }
    longMessage.setMessage(lines.join(u'\n'));
    ok &= save(longMessage, QStringLiteral("message_dialog_long.png"));

    vellumo::ConfirmDialog confirm;
    confirm.setCaption(vellumo::texts::kDeletePhotoCaption);
    confirm.setMessage(vellumo::texts::kDeleteUsedPhotoQuestion.arg(3));
    ok &= save(confirm, QStringLiteral("confirm_dialog.png"));

    // The end of a production, and the same when no player can be started.
    const QString video = vellumo::texts::kScreenshotAlbumFolder +
                          vellumo::texts::kScreenshotAlbum + QStringLiteral(".mp4");
    vellumo::CompletionDialog completion;
    completion.setResult(video, {});
    ok &= save(completion, QStringLiteral("completion_dialog.png"));
    vellumo::CompletionDialog noPlayer;
    noPlayer.setResult(video, {});
    noPlayer.setOpeners([](const QString&) { return false; }, [](const QString&) { return false; });
    noPlayer.show();
    noPlayer.playButton()->click();
    ok &= save(noPlayer, QStringLiteral("completion_dialog_no_player.png"));

    // A disc: the album type window with the disc image chosen, and the end with the burner's
    // offer.
    {
        vellumo::OutputOptions options;
        options.albumName = vellumo::texts::kScreenshotAlbum;
        options.beginProduction(vellumo::AlbumType::Dvd);
        options.chooseDiscImage();
        vellumo::AlbumTypeWindow typeWindow(options);
        QTimer::singleShot(0, &typeWindow, [&] {
            settle();
            const QString path = outputFolder + QStringLiteral("/album_type_disc.png");
            ok &= typeWindow.grab().save(path);
            QTextStream(stdout) << "wrote " << path << Qt::endl;
            typeWindow.cancelButton()->click();
        });
        typeWindow.choose();
        const QString iso = vellumo::texts::kScreenshotAlbumFolder +
                            vellumo::texts::kScreenshotAlbum + QStringLiteral(".iso");
        vellumo::CompletionDialog discDone;
        discDone.setResult(iso, {});
        discDone.setDiscImage({iso}, {}, [] {});
        ok &= save(discDone, QStringLiteral("completion_dialog_disc.png"));
        vellumo::CompletionDialog noWriter;
        noWriter.setResult(iso, {});
        noWriter.setDiscImage({iso}, {}, {});
        ok &= save(noWriter, QStringLiteral("completion_dialog_disc_no_writer.png"));
    }

    // Album projects: the function menu with its project items over the main window, the recent
    // albums, the save question and the recovery question.
    {
        vellumo::MainWindow projectWindow;
        const QString changed = vellumo::texts::kScreenshotAlbum + u'*';
        projectWindow.showAlbumTitle(changed + QStringLiteral(" - Vellumo"), changed);
        projectWindow.setRecentAlbums(
            {vellumo::texts::kScreenshotAlbumFolder + vellumo::texts::kScreenshotAlbum +
                 QStringLiteral(".vellumo"),
             vellumo::texts::kScreenshotAlbumFolder + vellumo::texts::kScreenshotOtherAlbum +
                 QStringLiteral(".vellumo")},
            {});
        projectWindow.show();
        settle();
        QPixmap shot = projectWindow.grab();
        auto* menu = projectWindow.findChild<QMenu*>(QStringLiteral("functionMenu"));
        const QPoint at(projectWindow.width() - 330, 40);
        menu->popup(projectWindow.mapToGlobal(at));
        settle();
        QPainter painter(&shot);
        painter.drawPixmap(at, menu->grab());
        QMenu* recent = projectWindow.recentAlbumsMenu();
        const QRect recentItem = menu->actionGeometry(recent->menuAction());
        recent->popup(projectWindow.mapToGlobal(at + recentItem.topRight()));
        settle();
        painter.drawPixmap(at + recentItem.topRight() - QPoint(menu->width() + recent->width(), 0),
                           recent->grab());
        painter.end();
        recent->hide();
        menu->hide();
        const QString path = outputFolder + QStringLiteral("/main_window_project_menu.png");
        ok &= shot.save(path);
        QTextStream(stdout) << "wrote " << path << Qt::endl;
        projectWindow.hide();
    }
    vellumo::SaveQuestionDialog saveQuestion(vellumo::texts::kScreenshotAlbum);
    ok &= save(saveQuestion, QStringLiteral("save_question.png"));
    vellumo::ConfirmDialog recovery;
    recovery.setCaption(vellumo::texts::kRecoveryCaption);
    recovery.setMessage(vellumo::texts::kRecoveryQuestion);
    ok &= save(recovery, QStringLiteral("recovery_question.png"));

    vellumo::SystemSettings settings;
    vellumo::SettingsWindow settingsWindow(settings);
    ok &= save(settingsWindow, QStringLiteral("settings_window.png"));

    // The music and lyrics windows with the sample song and its lyrics, a row selected.
    vellumo::Catalogue catalogue;
    vellumo::Album album(catalogue);
    vellumo::MusicPlayer player;
    player.setSoundOutput(false);
    qint64 playerClockMs = 0;
    player.setClock([&playerClockMs] { return playerClockMs; });
    album.addMusic(vellumo::dataPath(vellumo::paths::kSampleMusic), player);
    album.addLyrics(vellumo::dataPath(vellumo::paths::kSampleLyrics));
    vellumo::MusicPreviewWindow musicPreview(album, player);
    vellumo::MusicListWindow musicList(album, player, musicPreview);
    musicList.show();
    if (musicList.list()->topLevelItemCount() > 0) {
        musicList.list()->topLevelItem(0)->setSelected(true);
    }
    ok &= save(musicList, QStringLiteral("music_list_window.png"));
    vellumo::LyricSettingsWindow lyricSettings(
        album.lyrics(), [&album](int row, const vellumo::LyricSettings& chosen) {
            album.setLyricSettings(row, chosen);
        });
    vellumo::LyricsListWindow lyricsList(album, musicPreview, lyricSettings);
    lyricsList.show();
    if (lyricsList.list()->topLevelItemCount() > 0) {
        lyricsList.list()->topLevelItem(0)->setSelected(true);
    }
    ok &= save(lyricsList, QStringLiteral("lyrics_list_window.png"));

    vellumo::LyricSettings custom;
    custom.position = vellumo::LyricPosition::Custom;
    custom.customLeft = 60;
    custom.customTop = 300;
    custom.size = 22;
    custom.colourName = QStringLiteral("clYellow");
    custom.colourNumber = 65535;
    if (!album.lyrics().isEmpty()) {
        album.setLyricSettings(0, custom);
        lyricSettings.load(0);
    }
    ok &= save(lyricSettings, QStringLiteral("lyric_settings_window.png"));

    // Playing, 13.5 seconds into the song, the line of 00:12 kept (without the sample the
    // window would only refuse).
    if (!album.music().isEmpty() && !album.lyrics().isEmpty()) {
        musicPreview.prepare(vellumo::MusicPreviewMode::Lyrics);
        musicPreview.musicChooser()->setCurrentIndex(0);
        musicPreview.lyricChooser()->setCurrentIndex(0);
        musicPreview.play();
        for (const qint64 ms : {12500, 13500}) {
            playerClockMs = ms;
            musicPreview.tick();
        }
        musicPreview.displayTimer()->stop();
        ok &= save(musicPreview, QStringLiteral("music_preview_window.png"));
        musicPreview.stopPlaying();
    }

    QTemporaryDir photoFolder;
    ok &= savePhotoWindows(photoFolder.path());

    return ok ? 0 : 1;
}
