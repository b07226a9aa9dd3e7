#include <QApplication>

#include "app/app_texts.h"
#include "app/program.h"
#include "app/startup_services.h"
#include "catalogue/catalogue.h"
#include "workspace/data_paths.h"
#include "workspace/folders.h"
#include "workspace/program_folder.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(vellumo::texts::kApplicationTitle);
    // The program ends through its own exit sequence, not when a window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);

    vellumo::Catalogue catalogue;
    vellumo::StartupServices services;
    services.countParameterPackages = [] {
        return vellumo::countPackages(vellumo::dataPath(vellumo::paths::kParameterPackages));
    };
    services.buildCatalogue = [&catalogue](const std::function<void()>& tick) {
        vellumo::CatalogueLoad load;
        if (catalogue.build(tick)) {
            load.templateCount = static_cast<int>(catalogue.records().size());
            load.leftOut = catalogue.leftOutLines();
        }
        return load;
    };

    vellumo::Program program(std::move(services));
    QObject::connect(
        &program, &vellumo::Program::ended, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    if (!program.start()) {
        return 0;
    }
    return QApplication::exec();
}
