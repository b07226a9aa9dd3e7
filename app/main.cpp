#include <QApplication>

#include "app/app_texts.h"
#include "app/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(vellumo::texts::kApplicationTitle);
    vellumo::installFontSubstitutions();
    vellumo::MainWindow window;
    window.show();
    return QApplication::exec();
}
