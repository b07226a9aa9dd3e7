#include "production/production_run.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

#include "media/mcl.h"
#include "photo/fitting_canvas.h"
#include "preview/preview_timeline.h"
#include "preview/stager.h"
#include "preview/timeline_texts.h"
#include "production/album_frames.h"
#include "production/production_run_texts.h"
#include "project/album.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

QString stagedFolder(int usedTemplate) {
    return workingPath(paths::kTemplateStagingFolder) +
           paths::templateStagingSubfolder(usedTemplate + 1);
}

// Pictures drawn ahead of the encoder: enough to keep it fed while a movie loads.
constexpr int kFramesAhead = 4;

QImage blackPicture(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::black);
    return picture;
}

}  // namespace

QString productionStateWord(ProductionState state) {
    switch (state) {
        case ProductionState::Preparing:
            return texts::kProductionPreparing;
        case ProductionState::Producing:
            return texts::kProductionRunning;
        case ProductionState::Stopped:
            return texts::kProductionStopped;
    }
    return {};
}

QString checkProductionRequest(const Album& album) {
    const QString refusal = checkPlayRequest(album, album.outputOptions().sync).refusal;
    if (!refusal.isEmpty()) {
        return refusal;
    }
    if (AlbumSequence::completeTemplates(album).isEmpty()) {
        return texts::kNothingToPlay;
    }
    return {};
}

ProductionRun::ProductionRun(const Album& album, ConversionDriver::ConverterFactory factory)
    : album_(album), driver_(std::move(factory)) {}

ProductionRun::~ProductionRun() = default;

void ProductionRun::stop() {
    stopRequested_.store(true);
    driver_.abort();
}

void ProductionRun::report() {
    progress_.elapsedSeconds = static_cast<double>(runClock_.elapsed()) / 1000.0;
    progress_.elapsed = mcl::makeTimeStr(progress_.elapsedSeconds);
    if (progress_.phase == ProductionProgress::Phase::Conversion && progress_.framesDone > 0) {
        const double seconds = static_cast<double>(conversionClock_.elapsed()) / 1000.0;
        progress_.framesPerSecond = seconds > 0 ? progress_.framesDone / seconds : 0.0;
        if (progress_.framesPerSecond > 0) {
            progress_.remainingSeconds =
                (progress_.totalFrames - progress_.framesDone) / progress_.framesPerSecond;
            progress_.remaining = mcl::makeTimeStr(progress_.remainingSeconds);
        }
    }
    if (onProgress) {
        onProgress(progress_);
    }
}

ProductionResult ProductionRun::finish(ProductionResult result) {
    state_.store(ProductionState::Stopped);
    if (result.outcome == ProductionOutcome::Complete) {
        result.notices = notices_;
    }
    if (onFinished) {
        onFinished(result);
    }
    return result;
}

void ProductionRun::addStageLog(const QString& text) {
    stageLog_.append(QString::number(stageLog_.size() + 1) + text);
}

QImage ProductionRun::frame(int n) {
    if (n == 0 || sequence_.movies().isEmpty() || outputSize_.isEmpty()) {
        return blackPicture(outputSize_);
    }
    if (!frames_) {
        frames_ = std::make_unique<AlbumFrames>(album_, sequence_, outputSize_, false);
    }
    return frames_->frame(n);
}

ProductionResult ProductionRun::run(const QString& outputFile) {
    stopRequested_.store(false);
    state_.store(ProductionState::Preparing);
    errorList_.clear();
    stageLog_.clear();
    notices_.clear();
    frames_.reset();
    progress_ = {};
    runClock_.start();
    const OutputOptions& options = album_.outputOptions();
    outputSize_ = options.outputSize;
    ProductionResult result;
    result.outputFile = outputFile;

    if (const QString refusal = checkProductionRequest(album_); !refusal.isEmpty()) {
        result.outcome = ProductionOutcome::Failed;
        result.error = refusal;
        return finish(result);
    }

    // The lists: which templates, how long, which music rows.
    AlbumSequence::Input input;
    input.playList = AlbumSequence::completeTemplates(album_);
    input.sync = options.sync;
    input.stopRequested = [this] {
        report();
        return stopRequested();
    };
    sequence_ = AlbumSequence::build(album_, input);
    if (sequence_.stopped() || stopRequested()) {
        return finish(result);
    }
    if (!sequence_.musicCoversAlbum()) {
        notices_.append(texts::kMusicTooShort);
    }
    progress_.totalFrames = static_cast<int>(sequence_.totalFrames());

    // The preparation at the output size.
    progress_.phase = ProductionProgress::Phase::Preparation;
    progress_.smallMaximum = 3 * album_.templates().size();
    report();
    Stager stager(album_);
    try {
        Stager::Production production;
        production.stage = outputSize_;
        production.stopRequested = [this] {
            report();
            return stopRequested();
        };
        stager.prepare(production, [this](int done, int total) {
            progress_.smallValue = done;
            progress_.smallMaximum = total;
            report();
        });
    } catch (const Error& e) {
        result.outcome = ProductionOutcome::Failed;
        result.error = e.message();
        return finish(result);
    }
    if (stopRequested()) {
        return finish(result);
    }
    if (!stager.missingPhotos().isEmpty()) {
        notices_.append(texts::kPhotosMissingInVideo.arg(stager.missingPhotos().join(u'\n')));
    }

    // The first template starts from its own background; the frame file starts black.
    const QString leadIn = workingPath(paths::kLeadInPicture);
    QFile::remove(leadIn);
    QFile::copy(stagedFolder(sequence_.movies().first().usedTemplate) + paths::kStagedBackground,
                leadIn);
    const QString frameFile = workingPath(paths::kFrameFile);
    try {
        writeBitmap(blackPicture(outputSize_), frameFile);
    } catch (const Error& e) {
        errorList_.append(e.message());
    }

    // The conversion pulls the frames.
    state_.store(ProductionState::Producing);
    progress_.phase = ProductionProgress::Phase::Conversion;
    ConversionRequest request;
    request.albumType = options.albumType.value_or(AlbumType::Dvd);
    request.outputSize = outputSize_;
    request.tvSystem = options.tvSystem;
    request.quality = options.quality;
    request.outputFile = outputFile;
    request.frameCount = progress_.totalFrames;
    request.soundFiles = sequence_.soundFiles();
    // The pictures are drawn on a thread of their own, ahead of the encoder; this thread only
    // hands them over.
    AlbumFrames frames(album_, sequence_, outputSize_, true);
    std::optional<FramesAhead> ahead;
    ahead.emplace(frames, progress_.totalFrames, kFramesAhead);
    request.frame = [this, &ahead](int) { return ahead->take([this] { return stopRequested(); }); };
    request.frameFile = frameFile;
    driver_.onProgress = [this](const ConversionProgress& p) {
        progress_.smallValue = p.smallValue;
        progress_.smallMaximum = p.smallMaximum;
        progress_.framesDone = p.framesDone;
        progress_.canStop = true;
        report();
    };
    conversionClock_.start();
    if (stopRequested()) {
        return finish(result);
    }
    const bool done = driver_.convert(request);
    ahead.reset();
    for (const QString& line : frames.stageLog()) {
        addStageLog(line);
    }
    errorList_.append(frames.errorList());
    notices_.append(frames.notices());
    notices_.append(frames.lyricProblems());
    // A stop that comes after the encoder has finished and the file has its name is too late:
    // the album is made and stays, so the run says so.
    if (done) {
        result.outcome = ProductionOutcome::Complete;
    } else if (stopRequested()) {
        return finish(result);
    } else {
        result.outcome = ProductionOutcome::Failed;
        result.error =
            driver_.errorText().isEmpty() ? texts::kProductionFailed : driver_.errorText();
    }
    return finish(result);
}

}  // namespace vellumo
