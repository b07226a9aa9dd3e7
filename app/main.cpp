#include "app/app_texts.h"
#include "app/guarded_application.h"
#include "app/program.h"

int main(int argc, char* argv[]) {
    vellumo::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(vellumo::texts::kApplicationTitle);
    // The program ends through its own exit sequence, not when a window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);

    vellumo::Program program({});
    // A command that fails with an exception is undone and told; the program goes on.
    app.guardAlbum(&program.album());
    app.setRestoredHandler([&program] { program.showAlbum(); });
    QObject::connect(
        &program, &vellumo::Program::ended, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    if (!program.start()) {
        return 0;
    }
    return QApplication::exec();
}
