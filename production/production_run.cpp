#include "production/production_run.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "media/mcl.h"
#include "movie/movie_player.h"
#include "photo/fitting_canvas.h"
#include "preview/preview_timeline.h"
#include "preview/stager.h"
#include "preview/timeline_texts.h"
#include "production/production_run_texts.h"
#include "project/album.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

QString stagedFolder(int usedTemplate) {
    return dataPath(paths::kTemplateStagingFolder) +
           paths::templateStagingSubfolder(usedTemplate + 1);
}

QString closingMoviePath() {
    const QString folder =
        dataPath(paths::kTemplateStagingFolder) + paths::kClosingStagingSubfolder;
    const QString first = folder + paths::kStagedClosingMovie;
    return QFileInfo::exists(first) ? first : folder + paths::kStagedClosingMovieForProduction;
}

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
    stage_.reset();
    if (lyrics_) {
        notices_.append(lyrics_->problems());
    }
    lyrics_.reset();
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

void ProductionRun::writeLeadIn(const QImage& picture) {
    try {
        writeBitmap(picture, dataPath(paths::kLeadInBitmap));
        writeJpeg(picture, dataPath(paths::kLeadInPicture));
    } catch (const Error& e) {
        errorList_.append(e.message());
    }
}

void ProductionRun::loadMovie(int movieIndex) {
    const SequenceMovie& movie = sequence_.movies().at(movieIndex);
    // What was shown last, without the lyric line, is where the next movie starts.
    if (loadedMovie_ >= 0 && stage_->isLoaded()) {
        writeLeadIn(stage_->currentImage());
    }
    loadedMovie_ = movieIndex;
    const QString path = movie.isClosing() ? closingMoviePath()
                                           : stagedFolder(movie.usedTemplate) +
                                                 paths::stagedTemplateMovie(movie.usedTemplate + 1);
    addStageLog(texts::kStageUnloaded);
    try {
        stage_->setMovie(path);
        addStageLog(texts::kStageCreated);
        lastHealth_ = texts::kHealthFirst + QString::number(stage_->totalFrames());
        movieFailed_ = false;
    } catch (const Error& e) {
        // The stage keeps what it showed; frames go on from it.
        addStageLog(texts::kStageError);
        errorList_.append(lastHealth_ + texts::kHealthError);
        errorList_.append(e.message());
        notices_.append(texts::kMovieNotProduced.arg(path, e.message()));
        movieFailed_ = true;
    }
}

QImage ProductionRun::frame(int n) {
    if (n == 0 || !stage_) {
        return blackPicture(outputSize_);
    }
    const AlbumFrame f = sequence_.at(n);
    if (f.movie != loadedMovie_) {
        loadMovie(f.movie);
    }
    if (!movieFailed_) {
        stage_->setFrameNum(f.movieFrame);
    }
    QImage picture = stage_->currentImage();
    if (picture.isNull()) {
        picture = blackPicture(outputSize_);
    }
    const LyricLine line = lyrics_->lineAt(n, outputSize_);
    if (!line.text.isEmpty()) {
        drawLyricLine(picture, line);
    }
    return picture;
}

ProductionResult ProductionRun::run(const QString& outputFile) {
    stopRequested_.store(false);
    state_.store(ProductionState::Preparing);
    errorList_.clear();
    stageLog_.clear();
    notices_.clear();
    lastHealth_.clear();
    loadedMovie_ = -1;
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
    lyrics_ = std::make_unique<SequenceLyrics>(album_, sequence_);
    stage_ = std::make_unique<MoviePlayer>();
    stage_->setSize(outputSize_);
    const QString leadIn = dataPath(paths::kLeadInPicture);
    QFile::remove(leadIn);
    QFile::copy(stagedFolder(sequence_.movies().first().usedTemplate) + paths::kStagedBackground,
                leadIn);
    loadMovie(0);
    const QString frameFile = dataPath(paths::kFrameFile);
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
    request.frame = [this](int n) { return frame(n); };
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
    if (stopRequested()) {
        return finish(result);
    }
    if (done) {
        result.outcome = ProductionOutcome::Complete;
    } else {
        result.outcome = ProductionOutcome::Failed;
        result.error =
            driver_.errorText().isEmpty() ? texts::kProductionFailed : driver_.errorText();
    }
    return finish(result);
}

}  // namespace vellumo
