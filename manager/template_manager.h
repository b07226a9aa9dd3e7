#pragma once

// The rules behind the template manager window: the grid the photo tiles and slot boxes are laid
// out in, the rows of its two lists, the detail panel's values, the placeholder pictures of empty
// slot boxes, the demonstration picture, and putting photos into the selected template's slots.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include "album/used_templates.h"
#include "catalogue/catalogue.h"

namespace vellumo {

class Album;

// A photo tile's picture: the size of the photo browser's picture box.
inline constexpr QSize kManagerTilePicture{118, 96};
// Photo tiles and slot boxes alike: the picture with 5 pixels all round.
inline constexpr QSize kManagerTileBox{kManagerTilePicture.width() + 10,
                                       kManagerTilePicture.height() + 10};
// The label under a tile or box.
inline constexpr int kManagerTileLabelHeight = 25;
inline constexpr QSize kSlotPanelSize{593, 209};
inline constexpr QSize kPhotoPanelSize{593, 289};

// The grid of boxes w × h in a panel: panel width div w columns (at least one); box i (in grid
// column x and row y, filled row by row) stands at (10 + x × (w + 15), 10 + y × (h + 20)).
int gridColumns(int panelWidth, QSize box);
QPoint gridPosition(int index, int panelWidth, QSize box);
// The height the grid of count boxes needs, their labels and a margin included; the panel
// scrolls when it is taller than the panel.
int gridHeight(int count, int panelWidth, QSize box, int labelHeight = kManagerTileLabelHeight);

// The catalogue list's row of an entry: "序号", "模板", "类型", "横照片", "竖照片", "时长", "分类".
QStringList catalogueListRow(const CatalogueEntry& entry);
// The used-template list's row of template t: the catalogue columns, then "照片匹配" and "编号".
QStringList usedTemplateRow(const UsedTemplates& templates, int t);

// How many slots of template t hold a photo, by orientation.
struct FilledSlots {
    int landscape = 0;
    int portrait = 0;
};
FilledSlots filledSlots(const UsedTemplates& templates, int t);

// The detail panel of template t, in the panel's order: catalogue index, template number (row
// + 1), name, kind, landscape and portrait slots, duration, and the landscape and portrait photos
// already in its slots.
QStringList templateDetails(const UsedTemplates& templates, int t);
inline constexpr int kDetailFieldCount = 9;

// The picture of an empty slot box: a white rectangle (89 × 54 for landscape, 54 × 89 for
// portrait) holding, 3 pixels in, a teal one with "横照片" or "竖照片" in bold yellow.
QImage slotPlaceholder(SlotOrientation orientation);
// The orientation word a slot box carries: "heng" or "shu".
QString slotBoxWord(SlotOrientation orientation);

// The picture that shows the user where a template goes when it is used or selected.
inline constexpr QSize kDemonstrationSize{150, 100};
QImage demonstrationPicture();

// The demonstration's paths: the positions the picture takes, step by step, from its start to the
// first position at or past its end. Using a template moves it down 5 pixels a step from
// (152, 176) until its top is 354 or more; selecting one moves it 7 pixels right and 4 up a step
// from (152, 440) until its top is 114 or less.
QVector<QPoint> useDemonstrationPath();
QVector<QPoint> selectDemonstrationPath();

// The empty slots of template t, in slot order, get the photos that are in no template yet, in
// photo-list order, each of the slot's orientation and each used once. Returns how many were
// placed. The album announces them as one change.
int autoMatchTemplate(Album& album, int t);

}  // namespace vellumo
