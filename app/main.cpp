#include <QApplication>

#include "app/app_texts.h"
#include "app/program.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(vellumo::texts::kApplicationTitle);
    // The program ends through its own exit sequence, not when a window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);

    vellumo::Program program({});
    QObject::connect(
        &program, &vellumo::Program::ended, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    if (!program.start()) {
        return 0;
    }
    return QApplication::exec();
}
