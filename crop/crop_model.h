#pragma once

// The crop model: which filled slots can be cropped, and how a slot's stored placement is shown
// on the 800 × 450 crop stage, dragged, zoomed and saved back. The stage stands for the slot's
// frame (the slot size, or 1920 × 1080 without one); every conversion between the two goes
// through the crop frame, the slot's frame drawn centred on the stage.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

#include "album/used_templates.h"
#include "catalogue/catalogue.h"
#include "catalogue/slot_geometry.h"

namespace vellumo {

class Album;

// The stage and where it lies in the crop window.
inline constexpr QSize kCropStageSize{800, 450};
inline constexpr QPoint kCropStageOrigin{20, 55};

// One row of the crop list: a slot that holds a photo.
struct CropRow {
    int number = 0;  // from 1
    QString photoName;
    int useCount = 0;  // slots of the whole table holding the same photo
    QString photoPath;
    int slotRow = 0;
    int photoRow = 0;
};
// The filled slots in slot-table order.
QVector<CropRow> cropRows(const UsedTemplates& templates, const PhotoList& photos);

// The frame a slot's placements refer to: the slot size, or 1920 × 1080 when it has no width
// (0, or an empty QSize).
QSize cropSlotFrame(QSize slotSize);

// What the crop model needs of a slot.
struct CropSlot {
    TemplateClass templateClass = TemplateClass::Combined;
    SlotOrientation orientation = SlotOrientation::Landscape;
    QSize slotSize;  // 0 × 0 when the template fixes none
    Placement fullScreen;
    Placement medium;
    CropMark cropMark = CropMark::FullScreen;
    QSize photoSize;  // the photo record's own size

    // A portrait slot without a size takes its crop frame's width from the photo.
    bool portraitWithoutSize() const {
        return orientation == SlotOrientation::Portrait && slotSize.width() <= 0;
    }
};
CropSlot cropSlot(const PhotoSlot& slot, const PhotoList& photos);

// Which placement is shown and edited: "照片全屏显示" or "照片适中显示".
enum class CropOption { FullScreen, Medium };

// The window's state for the selected row.
struct CropState {
    CropOption option = CropOption::FullScreen;
    bool optionButtonsVisible = false;
    bool toolsEnabled = true;  // zoom, default size and dragging
    QRect frame;               // the crop frame, in stage coordinates
    QRect photo;               // the shown photo, in crop-frame coordinates
    QRect shownAtSelection;    // the photo as the stored placement showed it
    QSize zoom;                // the size the photo is shown at after zooming
    bool dragging = false;     // "anxia" while the left button holds the photo
    QPoint press;              // the press point inside the photo
    QPoint photoAtPress;       // where the photo was when the button went down
};

// The state before any selection: the crop frame is the whole stage and no photo is shown.
CropState openCropState();

// The crop frame of a slot, centred on the stage. A landscape slot's frame is 800 wide, a
// portrait slot's 450 high.
QRect cropFrame(const CropSlot& slot);

// Selecting a row (and "默认大小"): the option and tools by the template class and crop mark,
// and the stored placement shown.
CropState selectCropSlot(const CropSlot& slot);
// Choosing an option of a landscape single shows that option's stored placement.
void chooseCropOption(CropState& state, const CropSlot& slot, CropOption option);

// Dragging. The pointer is in window coordinates; the press point inside the photo. A release
// after a move snaps the photo back so that it covers the frame where it can; a click without a
// move leaves the photo where it is.
void pressCropPhoto(CropState& state, QPoint pressInPhoto);
void moveCropPhoto(CropState& state, QPoint pointer);
void releaseCropPhoto(CropState& state);

// Zooming by a tenth of the crop frame's width, the last step up to the limit: the photo must
// cover the frame and may grow to four frame widths (a portrait slot without a size stops once
// its frame is 700 wide). At the limit nothing changes, the unsaved placement included, and the
// result says which limit it is.
enum class ZoomResult { Zoomed, TooLarge, TooSmall, Disabled };
ZoomResult zoomCropIn(CropState& state, const CropSlot& slot);
ZoomResult zoomCropOut(CropState& state, const CropSlot& slot);
// What the user is told for a refused zoom; empty otherwise.
QString zoomMessage(ZoomResult result);
// The size the window keeps the decoded photo at, for every zoom step to be drawn from: its own
// size, or the widest any zoom can show it when it is larger.
QSize cropPictureSize(const CropSlot& slot);

// What "保存剪裁" writes. A photo neither moved nor zoomed since the selection keeps its stored
// placement exactly; otherwise the shown photo goes back through the display scale, rounded to
// the nearest unit.
struct CropSave {
    Placement fullScreen;
    Placement medium;
    CropMark cropMark = CropMark::FullScreen;
};
CropSave saveCrop(const CropState& state, const CropSlot& slot);
// After a save the written placements are the stored ones: a refused zoom and "默认大小" come
// back to them, and saving again without a change keeps them.
void markCropSaved(CropState& state, CropSlot& slot, const CropSave& save);
// Writes a save into the album's slot table.
void applyCropSave(Album& album, int slotRow, const CropSave& save);

// Why a command (zoom, default size, save) cannot run; empty when it can. selectedRow is -1
// before the first selection.
QString cropCommandRefusal(int photoCount, int rowCount, int selectedRow);

}  // namespace vellumo
