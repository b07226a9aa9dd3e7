#pragma once

// What the loading step needs from the template catalogue.

#include <QStringList>
#include <functional>

namespace vellumo {

struct CatalogueLoad {
    int templateCount = 0;
    // One line per template left out of the catalogue, with the reason.
    QStringList leftOut;
};

struct StartupServices {
    // The loading bar's maximum: the number of parameter packages.
    std::function<int()> countParameterPackages;
    // Builds the catalogue, calling tick once per parameter package read.
    std::function<CatalogueLoad(const std::function<void()>& tick)> buildCatalogue;
};

}  // namespace vellumo
