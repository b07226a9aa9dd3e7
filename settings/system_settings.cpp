#include "settings/system_settings.h"

namespace vellumo {

SystemSettings::SystemSettings(QObject* parent) : QObject(parent) {}

void SystemSettings::setLandscapeImportCrop(PhotoFit fit) {
    if (landscapeImportCrop_ != fit) {
        landscapeImportCrop_ = fit;
        emit changed();
    }
}

void SystemSettings::setLandscapeDisplay(PhotoFit fit) {
    if (landscapeDisplay_ != fit) {
        landscapeDisplay_ = fit;
        emit changed();
    }
}

void SystemSettings::setTemplateCombination(TemplateCombination combination) {
    if (templateCombination_ != combination) {
        templateCombination_ = combination;
        emit changed();
    }
}

void SystemSettings::setOrderByTimeTaken(bool on) {
    if (orderByTimeTaken_ != on) {
        orderByTimeTaken_ = on;
        emit changed();
    }
}

void SystemSettings::restoreDefaults() {
    setLandscapeImportCrop(PhotoFit::FullScreen);
    setLandscapeDisplay(PhotoFit::FullScreen);
    setTemplateCombination(TemplateCombination::DoNotUse);
    setOrderByTimeTaken(false);
}

}  // namespace vellumo
