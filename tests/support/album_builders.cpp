#include "tests/support/album_builders.h"

#include <stdexcept>

#include "catalogue/picture_list.h"

namespace vellumo::test {

CatalogueRecord templateRecord(const QString& name, const QString& pictureNames,
                               const QString& orientations, const QString& widths,
                               const QString& heights, int frames) {
    CatalogueRecord r;
    r.name = name;
    r.pictureNames = splitPictureList(pictureNames);
    r.orientations = splitPictureList(orientations);
    const auto sizes = [&](const QString& list) {
        QVector<int> numbers(r.pictureNames.size(), 0);
        const QStringList items = splitPictureList(list);
        for (qsizetype k = 0; k < items.size() && k < numbers.size(); ++k) {
            numbers[k] = items[k].trimmed().toInt();
        }
        return numbers;
    };
    r.pictureWidths = sizes(widths);
    r.pictureHeights = sizes(heights);
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

void changeOptions(Album& album, const std::function<void(OutputOptions&)>& change) {
    OutputOptions options = album.outputOptions();
    change(options);
    album.setOutputOptions(options);
}

}  // namespace vellumo::test
