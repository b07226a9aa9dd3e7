// Renders the windows of the start-up spine to PNG files, for looking at them without a screen:
//   vellumo-screenshots OUTPUT_FOLDER
// Run it on the offscreen platform.

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QProgressBar>
#include <QTextStream>
#include <QTimer>

#include "app/exit_dialog.h"
#include "app/main_window.h"
#include "app/plugin_notice.h"
#include "app/program.h"
#include "app/splash_window.h"
#include "app/startup_animation.h"
#include "dialogs/message_dialog.h"
#include "preview/movie_player.h"
#include "settings/settings_window.h"
#include "settings/system_settings.h"

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

    return ok ? 0 : 1;
}
