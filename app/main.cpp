#include "app/app_texts.h"
#include "app/guarded_application.h"
#include "app/program.h"
#include "dialogs/message_dialog.h"
#include "workspace/errors.h"
#include "workspace/memory.h"
#include "workspace/program_folder.h"

int main(int argc, char* argv[]) {
    vellumo::keepLargeBlocksMapped();
    vellumo::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(vellumo::texts::kApplicationTitle);
    // The program ends through its own exit sequence, not when a window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);

    // A program folder the user cannot write (an installed program) keeps only the installed
    // data; the working folders go below the user's own folder.
    try {
        vellumo::chooseWorkingRoot();
    } catch (const vellumo::Error& error) {
        vellumo::installLook();
        vellumo::showMessage(error.message());
        return 1;
    }

    vellumo::Program program({});
    // A command that fails with an exception is undone and told; the program goes on.
    app.guardAlbum(&program.album());
    QObject::connect(
        &program, &vellumo::Program::ended, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    if (!program.start()) {
        return 0;
    }
    return QApplication::exec();
}
