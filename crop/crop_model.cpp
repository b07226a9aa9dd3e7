#include "crop/crop_model.h"

#include <algorithm>
#include <cstdint>

#include "album/album_texts.h"
#include "album/photo_list_texts.h"
#include "crop/crop_texts.h"
#include "project/album.h"

namespace vellumo {

namespace {

constexpr QSize kReferenceFrame{1920, 1080};
// A portrait slot without a size stops zooming in once its crop frame is this wide.
constexpr int kPortraitZoomLimit = 800 - 100;
// Zooming in stops at this many crop-frame widths: beyond it the staged photo would be drawn
// at many times the reference frame.
constexpr int kZoomLimitFactor = 4;

// a × b ÷ c on integers, truncating toward zero; 0 when c is 0.
int scaleTruncated(int a, int b, int c) {
    if (c == 0) {
        return 0;
    }
    return static_cast<int>(static_cast<std::int64_t>(a) * b / c);
}

// a × b ÷ c rounded to the nearest integer, halves away from zero; 0 when c is 0.
int scaleRounded(int a, int b, int c) {
    if (c == 0) {
        return 0;
    }
    std::int64_t num = static_cast<std::int64_t>(a) * b;
    std::int64_t den = c;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    const std::int64_t half = den / 2;
    return static_cast<int>(num >= 0 ? (num + half) / den : -((-num + half) / den));
}

QRect centredOnStage(int width, int height) {
    return {kCropStageSize.width() / 2 - width / 2, kCropStageSize.height() / 2 - height / 2, width,
            height};
}

const Placement& shownPlacement(const CropSlot& slot, CropOption option) {
    return option == CropOption::FullScreen ? slot.fullScreen : slot.medium;
}

// Shows the option's stored placement in a fresh crop frame.
void showPlacement(CropState& state, const CropSlot& slot) {
    const QSize W = cropSlotFrame(slot.slotSize);
    const Placement& p = shownPlacement(slot, state.option);
    state.frame = cropFrame(slot);
    const int fw = state.frame.width();
    const int fh = state.frame.height();
    int width = scaleTruncated(fw, p.width, W.width());
    const int height = scaleTruncated(fh, p.height, W.height());
    if (slot.portraitWithoutSize() && p.height != 0) {
        width = scaleTruncated(height, p.width, p.height);
        state.frame = centredOnStage(width, fh);
    }
    const int left = scaleTruncated(state.frame.width(), p.left, W.width());
    const int top = scaleTruncated(fh, p.top, W.height());
    state.photo = QRect(left, top, width, height);
    state.shownAtSelection = state.photo;
    state.zoom = state.photo.size();
    state.dragging = false;
}

// The photo at the zoom size, centred in the crop frame.
void showZoomed(CropState& state, const CropSlot& slot) {
    if (slot.portraitWithoutSize()) {
        state.frame = centredOnStage(state.zoom.width(), state.frame.height());
    }
    const int fw = state.frame.width();
    const int fh = state.frame.height();
    state.photo = QRect(fw / 2 - state.zoom.width() / 2, fh / 2 - state.zoom.height() / 2,
                        state.zoom.width(), state.zoom.height());
}

bool zoomable(const CropState& state, const CropSlot& slot) {
    return state.toolsEnabled && slot.photoSize.width() > 0 && slot.photoSize.height() > 0 &&
           state.frame.width() > 0;
}

void setZoomWidth(CropState& state, const CropSlot& slot, int width) {
    state.zoom =
        QSize(width, scaleTruncated(slot.photoSize.height(), width, slot.photoSize.width()));
}

// The narrowest zoom width at which the photo still covers the frame. A portrait slot without a
// size only needs the height: its frame follows the photo's width.
int coveringWidth(const CropState& state, const CropSlot& slot) {
    const std::int64_t w = slot.photoSize.width();
    const std::int64_t h = slot.photoSize.height();
    // The height is w × zoom ÷ h truncated: rounding the width up keeps it at the frame's.
    const int width = static_cast<int>((state.frame.height() * w + h - 1) / h);
    return slot.portraitWithoutSize() ? width : std::max(width, state.frame.width());
}

}  // namespace

QVector<CropRow> cropRows(const UsedTemplates& templates, const PhotoList& photos) {
    QVector<CropRow> rows;
    const QVector<PhotoSlot>& table = templates.slotTable();
    for (int s = 0; s < table.size(); ++s) {
        const PhotoSlot& slot = table.at(s);
        if (slot.photoPath.isEmpty()) {
            continue;
        }
        CropRow row;
        row.number = static_cast<int>(rows.size()) + 1;
        row.photoName =
            photos.isValidRow(slot.photoRow) ? photos.at(slot.photoRow).name : QString();
        row.useCount = templates.slotsUsingPhoto(slot.photoRow);
        row.photoPath = slot.photoPath;
        row.slotRow = s;
        row.photoRow = slot.photoRow;
        rows.append(row);
    }
    return rows;
}

QSize cropSlotFrame(QSize slotSize) {
    return slotSize.width() <= 0 ? kReferenceFrame : slotSize;
}

CropSlot cropSlot(const PhotoSlot& slot, const PhotoList& photos) {
    CropSlot crop;
    crop.templateClass = slot.info->templateClass;
    crop.orientation = slot.orientation;
    crop.slotSize = QSize(slot.mobanchicun_width, slot.mobanchicun_height);
    crop.fullScreen = slot.fullScreen;
    crop.medium = slot.medium;
    crop.cropMark = slot.cropMark;
    if (photos.isValidRow(slot.photoRow)) {
        const PhotoRecord& photo = photos.at(slot.photoRow);
        crop.photoSize = QSize(photo.width, photo.height);
    }
    return crop;
}

CropState openCropState() {
    CropState state;
    state.frame = QRect(QPoint(0, 0), kCropStageSize);
    return state;
}

QRect cropFrame(const CropSlot& slot) {
    const QSize W = cropSlotFrame(slot.slotSize);
    if (slot.orientation == SlotOrientation::Landscape) {
        return centredOnStage(kCropStageSize.width(),
                              scaleTruncated(kCropStageSize.width(), W.height(), W.width()));
    }
    const QSize sides =
        slot.slotSize.width() <= 0 ? QSize(slot.medium.width, slot.medium.height) : slot.slotSize;
    if (sides.height() == 0) {
        return QRect(QPoint(0, 0), kCropStageSize);  // nothing to take a shape from
    }
    return centredOnStage(scaleTruncated(kCropStageSize.height(), sides.width(), sides.height()),
                          kCropStageSize.height());
}

CropState selectCropSlot(const CropSlot& slot) {
    CropState state;
    switch (slot.templateClass) {
        case TemplateClass::Combined:
            state.option = CropOption::FullScreen;
            state.optionButtonsVisible = false;
            state.toolsEnabled = true;
            break;
        case TemplateClass::LandscapeSingle:
            state.option =
                slot.cropMark == CropMark::Medium ? CropOption::Medium : CropOption::FullScreen;
            state.optionButtonsVisible = true;
            state.toolsEnabled = state.option == CropOption::FullScreen;
            break;
        case TemplateClass::PortraitSingle:
            state.option = CropOption::Medium;
            state.optionButtonsVisible = false;
            state.toolsEnabled = true;
            break;
    }
    showPlacement(state, slot);
    return state;
}

void chooseCropOption(CropState& state, const CropSlot& slot, CropOption option) {
    if (!state.optionButtonsVisible) {
        return;
    }
    state.option = option;
    state.toolsEnabled = option == CropOption::FullScreen;
    showPlacement(state, slot);
}

void pressCropPhoto(CropState& state, QPoint pressInPhoto) {
    if (!state.toolsEnabled || state.photo.isEmpty()) {
        return;
    }
    state.dragging = true;
    state.press = pressInPhoto;
    state.photoAtPress = state.photo.topLeft();
}

void moveCropPhoto(CropState& state, QPoint pointer) {
    if (!state.dragging) {
        return;
    }
    state.photo.moveTopLeft(pointer - state.frame.topLeft() - kCropStageOrigin - state.press);
}

void releaseCropPhoto(CropState& state) {
    if (!state.dragging) {
        return;
    }
    state.dragging = false;
    // The shown size is truncated through the display scale, so a stored photo that covers
    // the frame may look a pixel short of it; a mere click must not move it.
    if (state.photo.topLeft() == state.photoAtPress) {
        return;
    }
    const int fw = state.frame.width();
    const int fh = state.frame.height();
    QRect& p = state.photo;
    if (p.left() > 0) {
        p.moveLeft(0);
    }
    if (p.top() > 0) {
        p.moveTop(0);
    }
    if (p.left() + p.width() < fw) {
        p.moveLeft(fw - p.width());
    }
    if (p.top() + p.height() < fh) {
        p.moveTop(fh - p.height());
    }
}

ZoomResult zoomCropIn(CropState& state, const CropSlot& slot) {
    if (!zoomable(state, slot)) {
        return ZoomResult::Disabled;
    }
    const int step = state.frame.width() / 10;
    if (slot.portraitWithoutSize() && state.frame.width() > kPortraitZoomLimit) {
        return ZoomResult::TooLarge;
    }
    // The last step goes as far as the limit allows; at the limit the photo stays as it is.
    const int width = std::min(state.zoom.width() + step, kZoomLimitFactor * state.frame.width());
    if (width <= state.zoom.width()) {
        return ZoomResult::TooLarge;
    }
    setZoomWidth(state, slot, width);
    showZoomed(state, slot);
    return ZoomResult::Zoomed;
}

ZoomResult zoomCropOut(CropState& state, const CropSlot& slot) {
    if (!zoomable(state, slot)) {
        return ZoomResult::Disabled;
    }
    const int step = state.frame.width() / 10;
    // The last step stops where the photo still covers the frame; there the photo stays as it is.
    const int width = std::max(state.zoom.width() - step, coveringWidth(state, slot));
    if (width >= state.zoom.width()) {
        return ZoomResult::TooSmall;
    }
    setZoomWidth(state, slot, width);
    showZoomed(state, slot);
    return ZoomResult::Zoomed;
}

QSize cropPictureSize(const CropSlot& slot) {
    const QSize own = slot.photoSize;
    const int widest = kZoomLimitFactor * kCropStageSize.width();
    if (own.width() <= widest || own.height() <= 0) {
        return own;
    }
    return {widest, std::max(1, scaleTruncated(own.height(), widest, own.width()))};
}

QString zoomMessage(ZoomResult result) {
    switch (result) {
        case ZoomResult::TooLarge:
            return texts::kCannotZoomInFurther;
        case ZoomResult::TooSmall:
            return texts::kCropCannotZoomOut;
        case ZoomResult::Zoomed:
        case ZoomResult::Disabled:
            break;
    }
    return {};
}

CropSave saveCrop(const CropState& state, const CropSlot& slot) {
    const bool unchanged = state.photo == state.shownAtSelection;
    const QSize W = cropSlotFrame(slot.slotSize);
    const int fw = state.frame.width();
    const int fh = state.frame.height();
    const QRect& p = state.photo;
    const Placement& stored = shownPlacement(slot, state.option);
    const Placement scaled = unchanged ? stored
                                       : Placement{scaleRounded(p.left(), W.width(), fw),
                                                   scaleRounded(p.top(), W.height(), fh),
                                                   scaleRounded(p.width(), W.width(), fw),
                                                   scaleRounded(p.height(), W.height(), fh)};
    CropSave save{slot.fullScreen, slot.medium, CropMark::FullScreen};
    switch (slot.templateClass) {
        case TemplateClass::Combined:
            save.fullScreen = scaled;
            break;
        case TemplateClass::LandscapeSingle:
            if (state.option == CropOption::FullScreen) {
                save.fullScreen = scaled;
            } else {
                save.medium = scaled;
                save.cropMark = CropMark::Medium;
            }
            break;
        case TemplateClass::PortraitSingle: {
            // The photo stands at the frame's left edge with the frame's height; its width follows.
            Placement portrait = scaled;
            if (!unchanged) {
                const int hs = scaled.height;
                portrait = Placement{0, scaled.top, scaleRounded(hs, p.width(), p.height()), hs};
            }
            save.fullScreen = portrait;
            save.medium = portrait;
            save.cropMark = CropMark::Medium;
            break;
        }
    }
    return save;
}

void markCropSaved(CropState& state, CropSlot& slot, const CropSave& save) {
    slot.fullScreen = save.fullScreen;
    slot.medium = save.medium;
    slot.cropMark = save.cropMark;
    state.shownAtSelection = state.photo;
}

void applyCropSave(Album& album, int slotRow, const CropSave& save) {
    album.setPlacements(slotRow, save.fullScreen, save.medium, save.cropMark);
}

QString cropCommandRefusal(int photoCount, int rowCount, int selectedRow) {
    if (photoCount == 0) {
        return texts::kNoPhotos;
    }
    if (rowCount == 0) {
        return texts::kNoCropRows;
    }
    if (selectedRow < 0 || selectedRow >= rowCount) {
        return texts::kNoPhotoSelected;
    }
    return {};
}

}  // namespace vellumo
