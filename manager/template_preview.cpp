#include "manager/template_preview.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <algorithm>

#include "manager/manager_texts.h"
#include "photo/fitting_canvas.h"
#include "skin/skin_texts.h"
#include "timeline/stager.h"
#include "workspace/data_paths.h"
#include "workspace/folders.h"
#include "workspace/intermediate_names.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

constexpr int kReferenceWidth = 1920;
constexpr int kReferenceHeight = 1080;
// A landscape single framed medium is shown 1620 wide.
constexpr int kMediumPlaceholderWidth = 1620;
const QColor kPlaceholderColour(0, 128, 128);

void writeBlack(QSize size, const QString& path) {
    QImage black(size, QImage::Format_RGB32);
    black.fill(Qt::black);
    writeJpeg(black, path);
}

// The black lead-in picture in the picture folder.
void writeLeadIn() {
    writeBlack(kPreviewLeadInSize, workingPath(paths::kLeadInPicture));
}

}  // namespace

QString previewModeWord(TemplatePreviewMode mode) {
    switch (mode) {
        case TemplatePreviewMode::CatalogueTemplate:
            return words::kPreviewCatalogueTemplate;
        case TemplatePreviewMode::UsedTemplate:
            return words::kPreviewUsedTemplate;
        case TemplatePreviewMode::SlotTemplate:
            return words::kPreviewSlotTemplate;
    }
    return {};
}

QString displayEffectText(DisplayEffect effect) {
    return effect == DisplayEffect::Medium ? texts::kDisplayEffectMedium
                                           : texts::kDisplayEffectFullScreen;
}

DisplayEffect displayEffectFor(TemplatePreviewMode mode, CropMark chosenSlotMark) {
    if (mode == TemplatePreviewMode::SlotTemplate && chosenSlotMark == CropMark::Medium) {
        return DisplayEffect::Medium;
    }
    return DisplayEffect::FullScreen;
}

LandscapeMode landscapeModeOf(DisplayEffect effect) {
    return effect == DisplayEffect::Medium ? LandscapeMode::Medium : LandscapeMode::FullScreen;
}

QSize placeholderSize(TemplateClass templateClass, QSize listedSize, DisplayEffect effect,
                      QSize stage) {
    QSize reference = listedSize;
    switch (templateClass) {
        case TemplateClass::Combined:
            break;
        case TemplateClass::LandscapeSingle:
            reference =
                QSize(effect == DisplayEffect::Medium ? kMediumPlaceholderWidth : kReferenceWidth,
                      kReferenceHeight);
            break;
        case TemplateClass::PortraitSingle:
            reference = QSize(kReferenceHeight, kReferenceWidth);
            break;
    }
    const QSize size(reference.width() * stage.width() / kReferenceWidth,
                     reference.height() * stage.height() / kReferenceHeight);
    return size.isEmpty() ? stage : size;
}

QImage placeholderPicture(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(kPlaceholderColour);
    QPainter painter(&picture);
    QFont font(texts::kHeiTi);
    font.setPixelSize(std::clamp(std::min(size.width(), size.height()) / 6, 8, 48));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(picture.rect(), Qt::AlignCenter, texts::kPlaceholderWord);
    return picture;
}

QString previewFolder() {
    return workingPath(paths::kSingleTemplateStagingFolder);
}

PreviewMovies unpackPreviewTemplate(const QString& packagePath, PreviewOpener opener) {
    const QString folder = previewFolder();
    const QString pictures = workingPath(paths::kPictureFolder);
    removeFolderTree(folder);
    const int attempts = ensureFolder(folder);
    removeFolderTree(pictures);
    ensureFolder(pictures);
    // The unpack folder normally lives from start-up to exit; make sure it is there.
    ensureFolder(workingPath(paths::kUnpackFolder));

    IntermediateNameMaker names;
    switch (opener) {
        case PreviewOpener::CatalogueTemplate:
            names = intermediate::singleTemplate(attempts);
            break;
        case PreviewOpener::UsedTemplate:
            names = intermediate::usedTemplatePreview(attempts);
            break;
        case PreviewOpener::SlotTemplate:
            names = intermediate::slotTemplatePreview();
            break;
    }
    PreviewMovies movies{folder + paths::kSingleTemplateMovie,
                         folder + paths::kSingleTemplateMovieCopy};
    unpackChain(packagePath, paths::kTemplatePackageDepth, names, movies.movie,
                paths::kMovieUnpackLimit);
    QFile::remove(movies.copy);
    if (!QFile::copy(movies.movie, movies.copy)) {
        writeWholeFile(movies.copy, readWholeFile(movies.movie));
    }
    return movies;
}

void removePreviewFolders() {
    const QString staging = workingPath(paths::kStagingFolder);
    removeFolderTree(staging);
    waitUntilGone(staging, kFolderRemovalWait);
}

void stageCataloguePreview(const CatalogueRecord& record, TemplateClass templateClass,
                           DisplayEffect effect, const QString& folder) {
    writeBlack(kTemplatePreviewStage, folder + paths::kStagedBackground);
    writeLeadIn();
    // Every picture of the list, not only those a photo goes into.
    for (qsizetype k = 0; k < record.pictureNames.size(); ++k) {
        const QString bitmap = folder + record.pictureNames[k] + QStringLiteral(".bmp");
        writeBitmap(
            placeholderPicture(placeholderSize(templateClass, record.pictureSize(k), effect)),
            bitmap);
        saveAsJpeg(bitmap, bitmap);
        QFile::remove(bitmap);
    }
}

void stageUsedPreview(Stager& stager, int t, DisplayEffect effect, const QString& folder) {
    stager.stageBackground(t, kTemplatePreviewStage, folder);
    writeLeadIn();
    stager.stagePictures(t, kTemplatePreviewStage, landscapeModeOf(effect), folder);
}

QVector<PhotoSlotUse> slotsHoldingPhoto(const UsedTemplates& templates, int photoRow) {
    QVector<PhotoSlotUse> uses;
    const QVector<PhotoSlot>& table = templates.slotTable();
    for (int row = 0; row < table.size(); ++row) {
        const PhotoSlot& slot = table[row];
        if (slot.photoRow != photoRow || !slot.matched) {
            continue;
        }
        uses.append({row, slot.templateRow, QFileInfo(slot.photoPath).completeBaseName(),
                     slot.info->name, slot.photoPath});
    }
    return uses;
}

ChooserOpening chooserOpening(const UsedTemplates& templates, int photoRow) {
    const QVector<PhotoSlotUse> uses = slotsHoldingPhoto(templates, photoRow);
    if (uses.isEmpty()) {
        return ChooserOpening::Nothing;
    }
    if (uses.size() == 1 && templates.unmatchedCount(uses.first().templateRow) == 0) {
        return ChooserOpening::Automatic;
    }
    return ChooserOpening::ForUser;
}

}  // namespace vellumo
