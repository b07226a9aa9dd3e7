// Renders the windows of the start-up spine to PNG files, for looking at them without a screen:
//   vellumo-screenshots OUTPUT_FOLDER
// Run it on the offscreen platform.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QProgressBar>
#include <QTextStream>
#include <QTimer>
#include <QTreeWidget>

#include "album/album.h"
#include "album/lyric_settings_window.h"
#include "album/lyrics_list_window.h"
#include "album/music_list_window.h"
#include "app/exit_dialog.h"
#include "app/main_window.h"
#include "app/plugin_notice.h"
#include "app/program.h"
#include "app/splash_window.h"
#include "app/startup_animation.h"
#include "catalogue/catalogue.h"
#include "dialogs/message_dialog.h"
#include "media/music_player.h"
#include "preview/movie_player.h"
#include "preview/music_preview_window.h"
#include "settings/settings_window.h"
#include "settings/system_settings.h"
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
    vellumo::StartupAnimation* animation = window.startupAnimation();
    animation->prepare();
    if (animation->load()) {
        // A frame from the middle of the animation.
        animation->player()->stop();
        animation->player()->setFrameNum(animation->player()->totalFrames() / 2);
    }
    ok &= save(window, QStringLiteral("main_window.png"));

    vellumo::MainWindow fallback;
    // No movie loaded: the static start picture, as when the animation cannot be played.
    fallback.startupAnimation()->load();
    ok &= save(fallback, QStringLiteral("main_window_start_picture.png"));

    vellumo::PluginNotice notice;
    ok &= save(notice, QStringLiteral("plugin_notice.png"));

    vellumo::ExitDialog exitDialog;
    ok &= save(exitDialog, QStringLiteral("exit_dialog.png"));

    vellumo::MessageDialog message;
    message.setMessage(QStringLiteral("正在播放相册,点停止按钮后,再操作！"));
    ok &= save(message, QStringLiteral("message_dialog.png"));

    vellumo::MessageDialog longMessage;
    QStringList lines{QStringLiteral("以下模板文件已损坏或参数有误，没有加入模板库：")};
    for (int i = 1; i <= 4; ++i) {
        lines << QStringLiteral("模板 %1：模板swf总帧数“十二”不是数字").arg(i);
    }
    longMessage.setMessage(lines.join(u'\n'));
    ok &= save(longMessage, QStringLiteral("message_dialog_long.png"));

    vellumo::ConfirmDialog confirm;
    confirm.setCaption(QStringLiteral("删除照片"));
    confirm.setMessage(
        QStringLiteral("此张照片文件在 3 个模板文件中使用,删除后,模板文件中的照片文件也会被删除,"
                       "是否确定要删除当前选中的照片文件?"));
    ok &= save(confirm, QStringLiteral("confirm_dialog.png"));

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
    album.music().add(vellumo::dataPath(vellumo::paths::kSampleMusic), player);
    album.lyrics().add(vellumo::dataPath(vellumo::paths::kSampleLyrics));
    vellumo::MusicPreviewWindow musicPreview(album, player);
    vellumo::MusicListWindow musicList(album, player, musicPreview);
    musicList.show();
    if (musicList.list()->topLevelItemCount() > 0) {
        musicList.list()->topLevelItem(0)->setSelected(true);
    }
    ok &= save(musicList, QStringLiteral("music_list_window.png"));
    vellumo::LyricSettingsWindow lyricSettings(album.lyrics());
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
        album.lyrics().setSettings(0, custom);
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

    return ok ? 0 : 1;
}
