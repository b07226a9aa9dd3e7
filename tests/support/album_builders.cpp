#include "tests/support/album_builders.h"

#include <stdexcept>

#include "catalogue/picture_list.h"

namespace vellumo::test {

CatalogueRecord templateRecord(const QString& name, const QString& pictureNames,
                               const QString& orientations, const QString& widths,
                               const QString& heights, int frames) {
    QString zeros = QStringLiteral("|");
    for (qsizetype i = 0; i < splitPictureList(pictureNames).size(); ++i) {
        zeros += QStringLiteral("0|");
    }
    CatalogueRecord r;
    r.name = name;
    r.pictureNameList = pictureNames;
    r.orientationList = orientations;
    r.widthList = widths.isEmpty() ? zeros : widths;
    r.heightList = heights.isEmpty() ? zeros : heights;
    r.frames = frames;
    r.packagePath = QStringLiteral("/nowhere/") + name + QStringLiteral(".rar");
    return r;
}

PhotoRecord photoRecord(const QString& name, int width, int height) {
    PhotoRecord p;
    p.name = name;
    p.format = QStringLiteral(".jpg");
    p.width = width;
    p.height = height;
    p.location = QStringLiteral("/photos/") + name + QStringLiteral(".jpg");
    return p;
}

const CatalogueEntry& entryOf(const Catalogue& catalogue, int catalogueIndex, TemplateClass cls) {
    for (const CatalogueEntry& e : catalogue.entries()) {
        if (e.catalogueIndex == catalogueIndex && e.templateClass == cls) {
            return e;
        }
    }
    throw std::logic_error("no such catalogue entry");
}

}  // namespace vellumo::test
