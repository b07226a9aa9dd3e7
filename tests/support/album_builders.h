#pragma once

// Catalogues and photos made in code for model tests.

#include <QColor>
#include <QSize>
#include <QString>
#include <functional>

#include "album/photo_list.h"
#include "catalogue/catalogue.h"
#include "project/album.h"
#include "tests/support/photo_files.h"

namespace vellumo::test {

// A catalogue record: picture names and orientations as picture lists; sizes default to 0.
CatalogueRecord templateRecord(const QString& name, const QString& pictureNames,
                               const QString& orientations, const QString& widths = {},
                               const QString& heights = {}, int frames = 250);

PhotoRecord photoRecord(const QString& name, int width, int height);
// The same with its file: a JPEG of that size and colour written to folder + name + ".jpg".
// Inline, so that tests built without the photo files need not link them.
inline PhotoRecord writtenPhotoRecord(const QString& folder, const QString& name, QSize size,
                                      QColor colour) {
    PhotoRecord photo = photoRecord(name, size.width(), size.height());
    photo.location = writePhoto(folder + name + QStringLiteral(".jpg"), size, 1, colour);
    return photo;
}

// The catalogue-list entry of a catalogue index and class.
const CatalogueEntry& entryOf(const Catalogue& catalogue, int catalogueIndex,
                              TemplateClass cls = TemplateClass::Combined);

// Changes the album's output options as the option windows do: on a copy the album then takes.
void changeOptions(Album& album, const std::function<void(OutputOptions&)>& change);

}  // namespace vellumo::test
