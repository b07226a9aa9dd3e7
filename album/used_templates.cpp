#include "album/used_templates.h"

#include "album/used_templates_texts.h"
#include "catalogue/picture_list.h"

namespace vellumo {

namespace {

constexpr int kReferenceWidth = 1920;
constexpr int kReferenceHeight = 1080;

// The orientation words of the picture lists.
const QString kHeng = QStringLiteral("heng");
const QString kShu = QStringLiteral("shu");
const QString kShuheng = QStringLiteral("shuheng");

}  // namespace

QString slotOrientationWord(SlotOrientation orientation) {
    return orientation == SlotOrientation::Landscape ? QStringLiteral("heng_zhaopian")
                                                     : QStringLiteral("shu_zhaopian");
}

QString cropMarkWord(CropMark mark) {
    switch (mark) {
        case CropMark::FullScreen:
            return QStringLiteral("quanping_or_jubuquanping");
        case CropMark::Medium:
            return QStringLiteral("shizhong");
        case CropMark::None:
            break;
    }
    return {};
}

QSize PhotoSlot::frame() const {
    return mobanchicun_width == 0 ? QSize(kReferenceWidth, kReferenceHeight)
                                  : QSize(mobanchicun_width, mobanchicun_height);
}

DefaultPlacement defaultPlacement(int slotWidth, int slotHeight, SlotOrientation orientation, int w,
                                  int h, bool portraitMedium) {
    const bool noSize = slotWidth == 0;
    const int W = noSize ? kReferenceWidth : slotWidth;
    const int H = noSize ? kReferenceHeight : slotHeight;
    if (w <= 0 || h <= 0) {
        const Placement whole{0, 0, W, H};
        return {whole, whole, CropMark::FullScreen};
    }
    const bool landscape = orientation == SlotOrientation::Landscape;

    // The photo scaled to cover the whole frame.
    int cw = w * H / h;
    int ch = H;
    if (cw < W) {
        cw = W;
        ch = h * W / w;
    }
    // The medium size: a landscape slot shows the whole photo, a portrait slot fits the height.
    int mw = 0;
    int mh = 0;
    if (landscape) {
        mw = W;
        mh = h * W / w;
        if (mh > H) {
            mh = H;
            mw = w * H / h;
        }
    } else {
        mh = H;
        mw = w * H / h;
    }
    if (noSize) {
        if (landscape) {
            cw = W;
            ch = h * W / w;
        } else if (portraitMedium) {
            cw = mw = w * H / h;
            ch = mh = H;
        }
    }
    DefaultPlacement result;
    result.fullScreen = {W / 2 - cw / 2, 0, cw, ch};
    result.medium = {W / 2 - mw / 2, H / 2 - mh / 2, mw, mh};
    result.cropMark = CropMark::FullScreen;
    if (noSize && !landscape) {
        result.fullScreen.left = 0;
        result.medium.left = 0;
        result.cropMark = CropMark::Medium;
    }
    return result;
}

UsedTemplates::UsedTemplates(const Catalogue& catalogue, PhotoList& photos,
                             Backgrounds& backgrounds)
    : catalogue_(catalogue), photos_(photos), backgrounds_(backgrounds) {}

int UsedTemplates::addTemplate(const CatalogueEntry& entry, bool complete) {
    const UsedTemplate used{TemplateRef(entry), complete};
    templates_.append(used);
    const int t = size() - 1;

    backgrounds_.appendRow();
    backgrounds_.pickDefault(t);

    const int total = entry.landscapeSlots + entry.portraitSlots;
    for (int index = 0; index < total; ++index) {
        PhotoSlot slot;
        slot.info = used.info;
        slot.templateRow = t;
        slot.orientation =
            index < entry.landscapeSlots ? SlotOrientation::Landscape : SlotOrientation::Portrait;
        slot.slotIndex = index;
        slots_.append(slot);
    }
    // Slots that already have a picture name keep it, so earlier templates do not change.
    for (int row = 0; row < size(); ++row) {
        assignPictureNames(row);
    }
    return t;
}

void UsedTemplates::assignPictureNames(int t) {
    const CatalogueRecord& record = catalogue_.record(templates_.at(t).info->catalogueIndex);
    const QStringList& names = record.pictureNames;
    const QStringList& orientations = record.orientations;

    // Which orientation words go to which slots, pass by pass, for the template's class.
    struct Pass {
        const QString& word;
        SlotOrientation target;
    };
    QVector<Pass> passes;
    switch (templates_.at(t).info->templateClass) {
        case TemplateClass::LandscapeSingle:
            passes = {{kHeng, SlotOrientation::Landscape},
                      {kShu, SlotOrientation::Portrait},
                      {kShuheng, SlotOrientation::Landscape}};
            break;
        case TemplateClass::PortraitSingle:
            passes = {{kHeng, SlotOrientation::Landscape},
                      {kShu, SlotOrientation::Portrait},
                      {kShuheng, SlotOrientation::Portrait}};
            break;
        case TemplateClass::Combined:
            passes = {{kHeng, SlotOrientation::Landscape}, {kShu, SlotOrientation::Portrait}};
            break;
    }
    for (const Pass& pass : passes) {
        for (qsizetype k = 0; k < names.size() && k < orientations.size(); ++k) {
            if (!isPhotoSlotName(names[k]) || orientations[k] != pass.word) {
                continue;
            }
            for (PhotoSlot& slot : slots_) {
                if (slot.templateRow == t && slot.orientation == pass.target &&
                    slot.pictureName.isEmpty()) {
                    slot.pictureName = names[k];
                    slot.mobanchicun_width = record.pictureWidths.value(k);
                    slot.mobanchicun_height = record.pictureHeights.value(k);
                    break;
                }
            }
        }
    }
}

QVector<int> UsedTemplates::slotRows(int t) const {
    QVector<int> rows;
    for (int row = 0; row < slots_.size(); ++row) {
        if (slots_[row].templateRow == t) {
            rows.append(row);
        }
    }
    return rows;
}

int UsedTemplates::slotRow(int t, int slotIndex) const {
    for (int row = 0; row < slots_.size(); ++row) {
        if (slots_[row].templateRow == t && slots_[row].slotIndex == slotIndex) {
            return row;
        }
    }
    return -1;
}

QString placeResultMessage(PlaceResult result) {
    switch (result) {
        case PlaceResult::Placed:
            return {};
        case PlaceResult::NeedLandscape:
            return texts::kNeedLandscapePhoto;
        case PlaceResult::NeedPortrait:
            return texts::kNeedPortraitPhoto;
        case PlaceResult::NoSuchSlot:
            return texts::kNoSuchSlot;
        case PlaceResult::NoSuchPhoto:
            return texts::kNoSuchPhoto;
    }
    return {};
}

PlaceResult UsedTemplates::placePhoto(int photoRow, int t, int slotIndex) {
    const int row = slotRow(t, slotIndex);
    if (row < 0) {
        return PlaceResult::NoSuchSlot;
    }
    if (!photos_.isValidRow(photoRow)) {
        return PlaceResult::NoSuchPhoto;
    }
    const bool landscapePhoto = photos_.at(photoRow).isLandscape();
    const SlotOrientation needed = slots_[row].orientation;
    if (needed == SlotOrientation::Landscape && !landscapePhoto) {
        return PlaceResult::NeedLandscape;
    }
    if (needed == SlotOrientation::Portrait && landscapePhoto) {
        return PlaceResult::NeedPortrait;
    }
    fillSlot(row, photoRow);
    updateMatch(t);
    return PlaceResult::Placed;
}

void UsedTemplates::fillSlot(int slotRow, int photoRow) {
    PhotoSlot& slot = slots_[slotRow];
    const PhotoRecord& photo = photos_.at(photoRow);
    slot.matched = true;
    slot.photoRow = photoRow;
    slot.photoPath = photo.location;
    photos_.setInTemplate(photoRow, true);
    // Portrait photos are always cropped "medium" in single templates: the one choice there is.
    const DefaultPlacement p = defaultPlacement(slot.mobanchicun_width, slot.mobanchicun_height,
                                                slot.orientation, photo.width, photo.height, true);
    setPlacements(slotRow, p.fullScreen, p.medium, p.cropMark);
}

void UsedTemplates::setPlacements(int slotRow, const Placement& fullScreen, const Placement& medium,
                                  CropMark mark) {
    PhotoSlot& slot = slots_[slotRow];
    slot.fullScreen = fullScreen;
    slot.medium = medium;
    slot.cropMark = mark;
}

int UsedTemplates::unmatchedCount(int t) const {
    int count = 0;
    for (const PhotoSlot& slot : slots_) {
        if (slot.templateRow == t && !slot.matched) {
            ++count;
        }
    }
    return count;
}

void UsedTemplates::updateMatch(int t) {
    templates_[t].complete = unmatchedCount(t) == 0;
}

void UsedTemplates::deleteTemplate(int t) {
    for (qsizetype row = slots_.size() - 1; row >= 0; --row) {
        if (slots_[row].templateRow != t) {
            continue;
        }
        if (slots_[row].matched && photos_.isValidRow(slots_[row].photoRow)) {
            photos_.setInTemplate(slots_[row].photoRow, false);
        }
        slots_.removeAt(row);
    }
    for (PhotoSlot& slot : slots_) {
        if (slot.templateRow > t) {
            --slot.templateRow;
        }
    }
    backgrounds_.removeRow(t);
    templates_.removeAt(t);
}

void UsedTemplates::deleteAllTemplates() {
    templates_.clear();
    slots_.clear();
    backgrounds_.clear();
    photos_.clearInTemplateMarks();
}

void UsedTemplates::photoRemoved(int photoRow) {
    for (PhotoSlot& slot : slots_) {
        if (slot.matched && slot.photoRow == photoRow) {
            slot.matched = false;
            slot.photoRow = -1;
            slot.photoPath.clear();
            setPlacements(static_cast<int>(&slot - slots_.data()), {}, {}, CropMark::None);
            templates_[slot.templateRow].complete = false;
        } else if (slot.matched && slot.photoRow > photoRow) {
            --slot.photoRow;
        }
    }
}

void UsedTemplates::clearAll() {
    templates_.clear();
    slots_.clear();
    backgrounds_.clear();
}

int UsedTemplates::slotsUsingPhoto(int photoRow) const {
    int count = 0;
    for (const PhotoSlot& slot : slots_) {
        if (slot.matched && slot.photoRow == photoRow) {
            ++count;
        }
    }
    return count;
}

QStringList UsedTemplates::invariantViolations() const {
    QStringList problems;
    if (backgrounds_.rows().size() != templates_.size()) {
        problems << QStringLiteral("%1 background rows for %2 templates")
                        .arg(backgrounds_.rows().size())
                        .arg(templates_.size());
    }
    for (int t = 0; t < size(); ++t) {
        const QVector<int> rows = slotRows(t);
        const UsedTemplate& used = templates_[t];
        const TemplateInfo& info = *used.info;
        if (rows.size() != info.landscapeSlots + info.portraitSlots) {
            problems << QStringLiteral("template %1 has %2 slots").arg(t).arg(rows.size());
        }
        for (int i = 0; i < rows.size(); ++i) {
            const PhotoSlot& slot = slots_[rows[i]];
            const SlotOrientation expected =
                i < info.landscapeSlots ? SlotOrientation::Landscape : SlotOrientation::Portrait;
            if (slot.slotIndex != i || slot.orientation != expected) {
                problems << QStringLiteral("template %1 slot %2 out of order").arg(t).arg(i);
            }
            if (!slot.info.sameRecord(used.info)) {
                problems
                    << QStringLiteral("template %1 slot %2 refers to another record").arg(t).arg(i);
            }
        }
        if (used.complete && unmatchedCount(t) != 0) {
            problems << QStringLiteral("template %1 complete with empty slots").arg(t);
        }
    }
    for (int row = 0; row < slots_.size(); ++row) {
        const PhotoSlot& slot = slots_[row];
        if (slot.templateRow < 0 || slot.templateRow >= size()) {
            problems << QStringLiteral("slot %1 names template %2").arg(row).arg(slot.templateRow);
        }
        const bool anySet = slot.matched || slot.photoRow >= 0 || !slot.photoPath.isEmpty();
        const bool allSet = slot.matched && slot.photoRow >= 0 && !slot.photoPath.isEmpty();
        if (anySet && !allSet) {
            problems << QStringLiteral("slot %1 half filled").arg(row);
        }
        if (allSet) {
            if (!photos_.isValidRow(slot.photoRow)) {
                problems << QStringLiteral("slot %1 names photo %2").arg(row).arg(slot.photoRow);
            } else if (photos_.at(slot.photoRow).isLandscape() !=
                       (slot.orientation == SlotOrientation::Landscape)) {
                problems
                    << QStringLiteral("slot %1 holds a photo of the wrong orientation").arg(row);
            }
        }
    }
    return problems;
}

}  // namespace vellumo
