#pragma once

// The used-template list (the album's templates in album order) and the slot table (one photo
// slot per picture position that takes a photo), with the rules for adding templates, putting
// photos into slots and removing templates.

#include <QString>
#include <QStringList>
#include <QVector>

#include "album/backgrounds.h"
#include "album/photo_list.h"
#include "catalogue/catalogue.h"
#include "catalogue/slot_geometry.h"

namespace vellumo {

enum class SlotOrientation { Landscape, Portrait };  // "heng_zhaopian" / "shu_zhaopian"
enum class CropMark { None, FullScreen, Medium };    // "quanping_or_jubuquanping" / "shizhong"

QString slotOrientationWord(SlotOrientation orientation);
QString cropMarkWord(CropMark mark);

struct UsedTemplate {
    TemplateRef info;       // the catalogue entry it was added from, shared with its slots
    bool complete = false;  // photo match "已完成"; the template number is its row + 1
};

struct PhotoSlot {
    TemplateRef info;  // the owning template's record

    int templateRow = 0;
    SlotOrientation orientation = SlotOrientation::Landscape;
    QString pictureName;  // empty until picture-name assignment
    int slotIndex = 0;    // position within its template, landscape slots first

    bool matched = false;  // "yi_pipei"; photo row and path are set exactly when it is
    int photoRow = -1;
    QString photoPath;

    int mobanchicun_width = 0;  // 0: the template fixes no size, the 1920 × 1080 frame stands in
    int mobanchicun_height = 0;

    // Full-screen placement: jiancai_left_x, jiancai_top_y, jiancai_width, jiancai_height.
    Placement fullScreen;
    CropMark cropMark = CropMark::None;
    // Medium placement: shizhong_jiancai_left_x, shizhong_jiancai_top_x, shizhong_jiancai_width,
    // shizhong_jiancai_height.
    Placement medium;

    // The frame the placements refer to: the slot size, or 1920 × 1080 when it has none.
    QSize frame() const;
};

// The two placements and the crop mark of a photo w × h in a slot.
struct DefaultPlacement {
    Placement fullScreen;
    Placement medium;
    CropMark cropMark = CropMark::FullScreen;
};
DefaultPlacement defaultPlacement(int slotWidth, int slotHeight, SlotOrientation orientation, int w,
                                  int h, bool portraitMedium);

// NoSuchSlot: template t has no slot with that index (or there is no template t); NoSuchPhoto:
// the photo row names no photo.
enum class PlaceResult { Placed, NeedLandscape, NeedPortrait, NoSuchSlot, NoSuchPhoto };
// What the user is told when a photo was not placed; empty for Placed.
QString placeResultMessage(PlaceResult result);

class UsedTemplates {
public:
    UsedTemplates(const Catalogue& catalogue, PhotoList& photos, Backgrounds& backgrounds);

    const QVector<UsedTemplate>& templates() const { return templates_; }
    const UsedTemplate& at(int t) const { return templates_.at(t); }
    int size() const { return static_cast<int>(templates_.size()); }
    const QVector<PhotoSlot>& slotTable() const { return slots_; }
    const PhotoSlot& slot(int slotRow) const { return slots_.at(slotRow); }
    const Catalogue& catalogue() const { return catalogue_; }

    // Appends a catalogue entry with its background row (a random landscape photo or none) and
    // its slots, then names the empty slots of every template. Returns the new template row.
    int addTemplate(const CatalogueEntry& entry, bool complete = false);
    void assignPictureNames(int t);

    // Rows of the slot table that belong to template t, in table order.
    QVector<int> slotRows(int t) const;
    // The slot table row of template t's slot with that slot index, or -1.
    int slotRow(int t, int slotIndex) const;

    // Puts photo p into slot d of template t with its default placements, or refuses when the
    // orientations differ or the slot or the photo does not exist (nothing changes then).
    PlaceResult placePhoto(int photoRow, int t, int slotIndex);
    // Fills a slot without checks (automatic placement): match, photo, default placements, and
    // the photo's in-template mark.
    void fillSlot(int slotRow, int photoRow);
    int unmatchedCount(int t) const;
    // Recomputes template t's photo match from its slots.
    void updateMatch(int t);

    void deleteTemplate(int t);
    void deleteAllTemplates();

    // A photo leaves the list: its slots are emptied (picture name and size stay), their templates
    // become incomplete, and slots of later photos follow their photo's new row.
    void photoRemoved(int photoRow);
    // Every photo leaves the list: templates, slots and backgrounds go with them.
    void clearAll();
    // How many slots hold the photo.
    int slotsUsingPhoto(int photoRow) const;

    // Edits by the crop window.
    void setPlacements(int slotRow, const Placement& fullScreen, const Placement& medium,
                       CropMark mark);

    // Puts both tables back as they were (a failed command is undone).
    void restore(QVector<UsedTemplate> templates, QVector<PhotoSlot> slotTable) {
        templates_ = std::move(templates);
        slots_ = std::move(slotTable);
    }

    // Every broken invariant, described; empty when the tables are sound. For tests.
    QStringList invariantViolations() const;

private:
    const Catalogue& catalogue_;
    PhotoList& photos_;
    Backgrounds& backgrounds_;
    QVector<UsedTemplate> templates_;
    QVector<PhotoSlot> slots_;
};

}  // namespace vellumo
