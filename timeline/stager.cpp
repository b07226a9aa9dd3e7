#include "timeline/stager.h"

#include <QDir>
#include <QFile>

#include "catalogue/catalogue.h"
#include "project/album.h"
#include "workspace/data_paths.h"
#include "workspace/folders.h"
#include "workspace/intermediate_names.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

constexpr int kReferenceWidth = 1920;
constexpr int kReferenceHeight = 1080;
// A row without a background picture gets a black picture of the preview's size.
constexpr QSize kBlackBackgroundSize(800, 450);

}  // namespace

SlotGeometry slotGeometry(const PhotoSlot& slot, int photoWidth, int photoHeight,
                          LandscapeMode mode) {
    return slotGeometry(slot.info->templateClass, slot.frame(), slot.fullScreen, slot.medium,
                        photoWidth, photoHeight, mode);
}

QSize stagePictureSize(const PhotoSlot& slot, QSize listedSize, QSize frame, QSize stage) {
    return stagePictureSize(slot.info->templateClass, listedSize, frame, stage);
}

Stager::Stager(const Album& album) : album_(album) {}

void Stager::stageBackground(int t, QSize stage, const QString& folder) {
    const Backgrounds& backgrounds = album_.backgrounds();
    if (backgrounds.rows().isEmpty() || t >= backgrounds.rows().size()) {
        return;
    }
    const QString target = folder + paths::kStagedBackground;
    const BackgroundRow& row = backgrounds.row(t);
    const auto writeBlack = [&target] {
        QImage black(kBlackBackgroundSize, QImage::Format_RGB32);
        black.fill(Qt::black);
        writeJpeg(black, target);
    };
    if (!row.hasPicture()) {
        writeBlack();
        return;
    }
    canvas_.hideBadge();
    canvas_.clearPicture();
    canvas_.apply(fitCover(stage.width(), stage.height(), row.width, row.height));
    if (!canvas_.loadPhoto(row.location)) {
        // A picture gone since it was chosen: staged as a row without a background.
        noteMissing(row.location);
        canvas_.clearPicture();
        writeBlack();
        return;
    }
    writeJpeg(canvas_.capture(), target);
}

void Stager::noteMissing(const QString& file) {
    if (!missingPhotos_.contains(file)) {
        missingPhotos_.append(file);
    }
}

void Stager::stagePictures(int t, QSize stage, LandscapeMode mode, const QString& folder) {
    const UsedTemplates& templates = album_.templates();
    const CatalogueRecord& record = album_.catalogue().record(templates.at(t).info->catalogueIndex);
    const QStringList& names = record.pictureNames;
    const QVector<int> rows = templates.slotRows(t);
    canvas_.hideBadge();

    // Each photo drawn once at reference size with its crop.
    QVector<QImage> drawn(rows.size());
    QSize frame(kReferenceWidth, kReferenceHeight);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const PhotoSlot& slot = templates.slot(rows[i]);
        const bool hasPhoto = album_.photos().isValidRow(slot.photoRow);
        const PhotoRecord* photo = hasPhoto ? &album_.photos().at(slot.photoRow) : nullptr;
        const SlotGeometry geometry =
            slotGeometry(slot, photo ? photo->width : 0, photo ? photo->height : 0, mode);
        frame = geometry.frame;
        canvas_.clearPicture();
        canvas_.setPanelSize(geometry.frame);
        canvas_.setPictureBox(geometry.photo);
        if (!slot.photoPath.isEmpty() && !canvas_.loadPhoto(slot.photoPath)) {
            // A photo removed since it was added: a neutral picture stands in.
            noteMissing(slot.photoPath);
            canvas_.clearPicture();
            QImage neutral(geometry.frame, QImage::Format_RGB32);
            neutral.fill(QColor(128, 128, 128));
            drawn[i] = neutral;
            continue;
        }
        drawn[i] = canvas_.capture();
    }

    // Each picture of the movie at its stage size, from the slot whose name it holds.
    const PhotoSlot* anySlot = rows.isEmpty() ? nullptr : &templates.slot(rows.first());
    for (qsizetype k = 0; k < names.size(); ++k) {
        const QSize size =
            anySlot ? stagePictureSize(*anySlot, record.pictureSize(k), frame, stage) : stage;
        const QImage* source = nullptr;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QString& slotName = templates.slot(rows[i]).pictureName;
            if (!slotName.isEmpty() && names[k].contains(slotName)) {
                source = &drawn[i];  // The last matching slot wins.
            }
        }
        // A picture no slot supplies is black rather than whatever was drawn before it.
        QImage picture;
        if (source != nullptr) {
            picture = source->scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        } else {
            picture = QImage(size, QImage::Format_RGB32);
            picture.fill(Qt::black);
        }
        writeJpeg(picture, folder + names[k] + QStringLiteral(".jpg"));
    }
}

QVector<int> Stager::prepare(QSize stage, const std::function<void(int, int)>& progress) {
    return run(stage, false, {}, progress);
}

QVector<int> Stager::prepare(const Production& production,
                             const std::function<void(int, int)>& progress) {
    return run(production.stage, true, production.stopRequested, progress, production.staged);
}

QVector<int> Stager::run(QSize stage, bool production, const std::function<bool()>& stopRequested,
                         const std::function<void(int, int)>& progress,
                         const std::function<void(int)>& staged) {
    const UsedTemplates& templates = album_.templates();
    const int total = 3 * templates.size();
    int done = 0;
    const auto step = [&] {
        ++done;
        if (progress) {
            progress(done, total);
        }
    };
    const auto stopped = [&] { return stopRequested && stopRequested(); };
    missingPhotos_.clear();
    const QString stagingFolder = workingPath(paths::kTemplateStagingFolder);
    removeFolderTree(stagingFolder);
    ensureFolder(stagingFolder);

    QVector<int> playList;
    for (int t = 0; t < templates.size(); ++t) {
        if (stopped()) {
            return {};
        }
        if (templates.at(t).complete) {
            ensureFolder(stagingFolder + paths::templateStagingSubfolder(t + 1));
            playList.append(t);
        }
        step();
    }
    ensureFolder(stagingFolder + paths::kClosingStagingSubfolder);
    const QString pictureFolder = workingPath(paths::kPictureFolder);
    removeFolderTree(pictureFolder);
    ensureFolder(pictureFolder);

    // The unpack folder normally lives from start-up to exit; make sure it is there.
    ensureFolder(workingPath(paths::kUnpackFolder));
    ++unpackCounter_;
    for (int t = 0; t < templates.size(); ++t) {
        if (stopped()) {
            return {};
        }
        if (templates.at(t).complete) {
            const QString folder = stagingFolder + paths::templateStagingSubfolder(t + 1);
            unpackChain(album_.catalogue().record(templates.at(t).info->catalogueIndex).packagePath,
                        paths::kTemplatePackageDepth,
                        production ? intermediate::productionTemplate(t + 1, unpackCounter_)
                                   : intermediate::stagedTemplate(t + 1, unpackCounter_),
                        folder + paths::stagedTemplateMovie(t + 1), paths::kMovieUnpackLimit);
        }
        step();
    }
    if (stopped()) {
        return {};
    }
    const QString closingFolder = stagingFolder + paths::kClosingStagingSubfolder;
    unpackChain(dataPath(paths::kClosingMovie), paths::kClosingMovieDepth,
                production ? intermediate::productionClosingMovie(unpackCounter_)
                           : intermediate::closingMovie(unpackCounter_),
                closingFolder + paths::kStagedClosingMovie, paths::kMovieUnpackLimit);
    if (production) {
        QFile::remove(closingFolder + paths::kStagedClosingMovieForProduction);
        QFile::copy(closingFolder + paths::kStagedClosingMovie,
                    closingFolder + paths::kStagedClosingMovieForProduction);
    }

    for (int t = 0; t < templates.size(); ++t) {
        if (stopped()) {
            return {};
        }
        if (templates.at(t).complete) {
            const QString folder = stagingFolder + paths::templateStagingSubfolder(t + 1);
            stageBackground(t, stage, folder);
            stagePictures(t, stage, LandscapeMode::FullScreen, folder);
        }
        if (staged) {
            staged(t);
        }
        step();
    }
    return playList;
}

}  // namespace vellumo
