#pragma once

// Catalogues and photos made in code for model tests.

#include <QString>

#include "album/photo_list.h"
#include "catalogue/catalogue.h"

namespace vellumo::test {

// A catalogue record: picture names and orientations as picture lists; sizes default to 0.
CatalogueRecord templateRecord(const QString& name, const QString& pictureNames,
                               const QString& orientations, const QString& widths = {},
                               const QString& heights = {}, int frames = 250);

PhotoRecord photoRecord(const QString& name, int width, int height);

// The catalogue-list entry of a catalogue index and class.
const CatalogueEntry& entryOf(const Catalogue& catalogue, int catalogueIndex,
                              TemplateClass cls = TemplateClass::Combined);

}  // namespace vellumo::test
