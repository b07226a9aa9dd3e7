#pragma once

// The rules behind the template preview window and the photo template chooser: the preview
// folder with its two movie copies, the staging of a bare catalogue template with placeholder
// pictures or of a used template through the Stager, the display effect, and the slots in
// which one photo is used.

#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>

#include "album/used_templates.h"
#include "catalogue/catalogue.h"
#include "catalogue/slot_geometry.h"

namespace vellumo {

class Stager;

// The stage the template preview plays on.
inline constexpr QSize kTemplatePreviewStage{800, 450};
// The black lead-in picture a previewed template starts from.
inline constexpr QSize kPreviewLeadInSize{81, 57};

enum class TemplatePreviewMode {
    CatalogueTemplate,  // "yulan_yuanmoban": placeholders instead of photos
    UsedTemplate,       // "yulan_shiyongmoban": a used template chosen in the template manager
    SlotTemplate,       // "yulan_zhujiemian_duiying_shiyongmoban": the template of a photo's slot
};
QString previewModeWord(TemplatePreviewMode mode);

// How the photo of a landscape single is framed in the preview.
enum class DisplayEffect { FullScreen, Medium };
// "照片全屏显示效果" / "照片适中显示效果".
QString displayEffectText(DisplayEffect effect);
// Full screen, except for the template of a slot whose crop mark is medium.
DisplayEffect displayEffectFor(TemplatePreviewMode mode, CropMark chosenSlotMark);
LandscapeMode landscapeModeOf(DisplayEffect effect);

// The size of a catalogue template's placeholder for picture k on the stage: the listed size of
// an advanced template, 1920 × 1080 (full screen) or 1620 × 1080 (medium) for a landscape single
// and 1080 × 1920 for a portrait single, scaled from the reference frame. A picture the template
// gives no size gets the whole stage.
QSize placeholderSize(TemplateClass templateClass, QSize listedSize, DisplayEffect effect,
                      QSize stage = kTemplatePreviewStage);
// A teal picture with the word "picture" in its middle.
QImage placeholderPicture(QSize size);

// The two copies of the unpacked movie in the preview folder.
struct PreviewMovies {
    QString movie;
    QString copy;
};

// Who unpacks the template, which names the intermediate files.
enum class PreviewOpener { CatalogueTemplate, UsedTemplate, SlotTemplate };

// The folder the previewed template and its pictures are staged in.
QString previewFolder();
// Empties and re-creates the preview folder and the picture folder, then unpacks the template
// package into the two movie copies. Throws Error (FileError) when a folder cannot be made or
// the package cannot be unpacked.
PreviewMovies unpackPreviewTemplate(const QString& packagePath, PreviewOpener opener);
// Removes the staging folder "smxcwjj/wj_y_l/" with everything in it (bounded wait).
void removePreviewFolders();

// The pictures of a bare catalogue template: a black background, the black lead-in picture and
// one placeholder per picture name, in folder. Throws FileError.
void stageCataloguePreview(const CatalogueRecord& record, TemplateClass templateClass,
                           DisplayEffect effect, const QString& folder);
// The pictures of used template t through the stager: its background, the black lead-in
// picture and its photos at the preview's stage, landscape singles framed by the effect.
// Throws FileError.
void stageUsedPreview(Stager& stager, int t, DisplayEffect effect, const QString& folder);

// One slot holding a photo, as the chooser lists it.
struct PhotoSlotUse {
    int slotRow = 0;
    int templateRow = 0;
    QString photoName;  // the photo path's file name without extension
    QString templateName;
    QString photoPath;
};
// The slots holding the photo, in slot-table order.
QVector<PhotoSlotUse> slotsHoldingPhoto(const UsedTemplates& templates, int photoRow);

// What a double-click on a photo opens.
enum class ChooserOpening {
    Nothing,    // the photo is in no slot
    Automatic,  // one slot of a complete template: its preview opens at once
    ForUser,    // the chooser waits for the user
};
ChooserOpening chooserOpening(const UsedTemplates& templates, int photoRow);

}  // namespace vellumo
