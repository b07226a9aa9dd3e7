#include "production/production_run.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <future>
#include <optional>

#include <sys/stat.h>

#include "album/output_formats.h"
#include "media/loudness.h"
#include "media/mcl.h"
#include "movie/template_rules.h"
#include "photo/fitting_canvas.h"
#include "photo/photo_loader.h"
#include "production/album_frames.h"
#include "production/production_run_texts.h"
#include "production/staging_ahead.h"
#include "project/album.h"
#include "timeline/play_check.h"
#include "timeline/stager.h"
#include "timeline/subtitle_lines.h"
#include "timeline/timeline_texts.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

QString stagedFolder(int usedTemplate) {
    return workingPath(paths::kTemplateStagingFolder) +
           paths::templateStagingSubfolder(usedTemplate + 1);
}

// Pictures drawn ahead of the encoder: enough to keep it fed while a movie loads.
constexpr int kFramesAhead = 3;
// Fewer where that many would hold more than this (at 3840 × 2160 one picture waits).
constexpr qint64 kFramesAheadBytes = qint64{48} << 20;
// How long this thread waits on another before it reports (and a window processes events).
constexpr auto kWaitSlice = std::chrono::milliseconds(20);

QImage blackPicture(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::black);
    return picture;
}

// Photos on the disc's menu: the album's first ones.
constexpr int kMenuPhotos = 4;
constexpr QSize kMenuPhotoBox(720, 576);

disc::DiscKind discKind(AlbumType type) {
    switch (type) {
        case AlbumType::Vcd:
            return disc::DiscKind::Vcd;
        case AlbumType::Svcd:
            return disc::DiscKind::Svcd;
        default:
            return disc::DiscKind::Dvd;
    }
}

// A disc's chapters: every movie of the sequence (each template as it plays, then the closing
// movie), the first at the album's start.
struct Chapter {
    int frame = 0;         // album frame where it starts
    int pictureFrame = 0;  // its picture: the first frame of the movie's still end, where the
                           // template's picture is complete
};

// A DVD title has at most 99 chapters.
constexpr int kMostChapters = 99;

QVector<Chapter> chaptersOf(const AlbumSequence& sequence) {
    QVector<Chapter> chapters;
    for (const SequenceMovie& movie : sequence.movies()) {
        const int start = chapters.isEmpty() ? 0 : static_cast<int>(movie.firstFrame);
        if (!chapters.isEmpty() && start <= chapters.last().frame) {
            continue;
        }
        const int still = std::max(0, movie.frames - movie::kStillEndFrames);
        const qint64 last = std::max<qint64>(0, sequence.totalFrames() - 1);
        chapters.append({start, static_cast<int>(std::min(movie.firstFrame + still, last))});
    }
    // A long album of templates come round again (sync with music) keeps its first chapters
    // and the closing movie's.
    if (chapters.size() > kMostChapters) {
        const Chapter closing = chapters.last();
        chapters.resize(kMostChapters - 1);
        chapters.append(closing);
    }
    return chapters;
}

// A chapter at every movie's start, titled with its template's name.
QVector<mcl::ChapterMark> mp4Chapters(const Album& album, const AlbumSequence& sequence) {
    QVector<mcl::ChapterMark> chapters;
    for (const SequenceMovie& movie : sequence.movies()) {
        const int start = chapters.isEmpty() ? 0 : static_cast<int>(movie.firstFrame);
        if (!chapters.isEmpty() && start <= chapters.last().picture) {
            continue;
        }
        chapters.append({start, movie.isClosing()
                                    ? texts::kClosingMovieName
                                    : album.templates().at(movie.usedTemplate).info->name});
    }
    return chapters;
}

// Seconds from the stream's start to album frame n: under NTSC the first output frame that
// shows it (the encoder keeps the album's timing).
double streamSeconds(int n, TvSystem tv) {
    if (tv == TvSystem::Pal) {
        return n / static_cast<double>(kAlbumFrameRate);
    }
    const qint64 output = (qint64{n} * 30000 + 25 * 1001 - 1) / (25 * 1001);
    return static_cast<double>(output) * 1001.0 / 30000.0;
}

// How the album's songs are joined: each at its levelling gain (songs of older albums, never
// measured, are measured here), with the album's crossfade, fading in at the start and out at
// the end.
mcl::SoundMixing soundMixing(const Album& album, const AlbumSequence& sequence,
                             const std::function<void(const std::function<void()>&)>& aside) {
    const OutputOptions& options = album.outputOptions();
    mcl::SoundMixing mixing;
    mixing.fadeInMs = kSoundFadeInMs;
    mixing.fadeOutMs = kSoundFadeOutMs;
    QHash<int, double> gains;
    for (const MusicRow& row : sequence.musicRows()) {
        if (options.levelMusic && !gains.contains(row.music)) {
            const MusicRecord& record = album.music().at(row.music);
            double gain = record.levellingGain();
            if (!record.loudness) {
                aside([&] {
                    try {
                        Loudness loudness;
                        if (measureLoudness(record.playedFile(), loudness)) {
                            gain = levellingGainDb(loudness);
                        }
                    } catch (const Error&) {
                        // The encoder names a song it cannot decode.
                    }
                });
            }
            gains.insert(row.music, gain);
        }
        mixing.gainsDb.append(gains.value(row.music, 0.0));
        mixing.crossfadesMs.append(options.crossfadeSongs ? static_cast<int>(kCrossfadeMs) : 0);
    }
    return mixing;
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

QString checkOutputFile(const Album& album, const QString& outputFile,
                        const QStringList& otherInputs) {
    struct stat output {};
    // stat() follows links: a link to an input is that input.
    if (::stat(QFile::encodeName(outputFile).constData(), &output) != 0) {
        return {};  // Nothing there yet: it cannot be an input.
    }
    QStringList inputs = otherInputs;
    for (int row = 0; row < album.photos().size(); ++row) {
        inputs.append(album.photos().at(row).location);
    }
    for (const BackgroundRow& row : album.backgrounds().rows()) {
        inputs.append(row.location);
    }
    for (int row = 0; row < album.music().size(); ++row) {
        inputs.append(album.music().at(row).location);
    }
    for (int row = 0; row < album.lyrics().size(); ++row) {
        inputs.append(album.lyrics().at(row).location);
    }
    for (const QString& input : inputs) {
        struct stat status {};
        if (!input.isEmpty() && ::stat(QFile::encodeName(input).constData(), &status) == 0 &&
            status.st_dev == output.st_dev && status.st_ino == output.st_ino) {
            return texts::kOutputIsAnInput.arg(outputFile, input);
        }
    }
    return {};
}

QStringList producedFiles(const OutputOptions& options, const QString& outputFile,
                          disc::DiscTarget target) {
    if (!options.isDiscImage() || target == disc::DiscTarget::Folder) {
        return {outputFile};
    }
    return disc::discImageFiles(discKind(options.albumType.value_or(AlbumType::Dvd)), outputFile);
}

ProductionRun::ProductionRun(const Album& album, ConversionDriver::ConverterFactory factory)
    : album_(album), driver_(std::move(factory)) {}

ProductionRun::~ProductionRun() = default;

void ProductionRun::stop() {
    stopRequested_.store(true);
    driver_.abort();
    std::lock_guard lock(authorMutex_);
    if (author_ != nullptr) {
        author_->stop();
    }
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
    ProductionResult result;
    result.outputFile = outputFile;
    // Whatever goes wrong on the way ends the run with a message; the caller's window can close.
    try {
        produce(result);
    } catch (const Error& e) {
        result.outcome = ProductionOutcome::Failed;
        result.error = e.message();
        errorList_.append(e.message());
    } catch (const std::exception& e) {
        result.outcome = ProductionOutcome::Failed;
        result.error = texts::kProductionFailed;
        errorList_.append(QString::fromLocal8Bit(e.what()));
    }
    if (result.outcome == ProductionOutcome::Failed && result.error.isEmpty()) {
        result.error = texts::kProductionFailed;
    }
    return finish(result);
}

void ProductionRun::produce(ProductionResult& result) {
    const OutputOptions& options = album_.outputOptions();
    const AlbumType type = options.albumType.value_or(AlbumType::Dvd);
    const bool toDisc = options.isDiscImage();
    const std::optional<DiscFormat>& discFormat = outputFormat(type).disc;
    outputSize_ = toDisc ? discFormat->drawnSize : options.outputSize;
    const QString& outputFile = result.outputFile;

    QString refusal = checkProductionRequest(album_);
    // A disc image is one or two files (or the DVD's folder).
    const QStringList outputs = toDisc && discTarget == disc::DiscTarget::Image
                                    ? disc::discImageFiles(discKind(type), outputFile)
                                    : QStringList{outputFile};
    for (const QString& output : outputs) {
        if (refusal.isEmpty()) {
            refusal = checkOutputFile(album_, output);
        }
    }
    if (refusal.isEmpty() && toDisc) {
        refusal = disc::missingDiscTool(discKind(type));
    }
    if (!refusal.isEmpty()) {
        result.outcome = ProductionOutcome::Failed;
        result.error = refusal;
        return;
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
        return;
    }
    if (!sequence_.musicCoversAlbum()) {
        notices_.append(texts::kMusicTooShort);
    }
    progress_.totalFrames = static_cast<int>(sequence_.totalFrames());

    // The preparation at the output size runs on a thread of its own, template by template,
    // while the pictures of the templates already staged are drawn and encoded: the frames
    // start once the first template is staged, and the window stays alive meanwhile.
    progress_.phase = ProductionProgress::Phase::Preparation;
    progress_.smallMaximum = 3 * album_.templates().size();
    report();
    StagingAhead staging(album_, outputSize_, [this] { return stopRequested(); });
    const auto showStaging = [&] {
        progress_.smallValue = staging.stepsDone();
        progress_.smallMaximum = staging.stepsTotal();
        report();
    };
    if (!staging.waitFor(sequence_.movies().first().usedTemplate, showStaging) || stopRequested()) {
        return;
    }
    showStaging();
    // Photos that could not be read are told where they were before: after what the lists
    // found.
    const qsizetype missingNoticeAt = notices_.size();

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
    request.albumType = type;
    request.outputSize = toDisc ? discFormat->frameSize(options.tvSystem) : outputSize_;
    request.tvSystem = options.tvSystem;
    request.quality = options.quality;
    request.coding = options.coding;
    request.outputFile = outputFile;
    request.frameCount = progress_.totalFrames;
    if (type == AlbumType::Mp4) {
        request.chapters = mp4Chapters(album_, sequence_);
    }
    // A disc's stream goes into a working folder of its own, with a GOP starting at every
    // chapter; the chapters' pictures are kept as they are drawn.
    std::optional<QTemporaryDir> discWork;
    QVector<Chapter> chapters;
    QHash<int, int> chapterOfPicture;
    QList<QImage> chapterPictures;
    std::mutex picturesMutex;
    if (toDisc) {
        discWork.emplace(workingPath(QStringLiteral("disc-XXXXXX")));
        if (!discWork->isValid()) {
            throw FileError(workingPath(QStringLiteral("disc")), discWork->errorString());
        }
        request.outputFile = discWork->filePath(QStringLiteral("album.mpg"));
        request.discStream = true;
        chapters = chaptersOf(sequence_);
        for (int i = 0; i < chapters.size(); ++i) {
            request.keyFrames.append(chapters[i].frame);
            chapterOfPicture.insert(chapters[i].pictureFrame, i);
        }
        chapterPictures.resize(chapters.size());
    }
    request.soundFiles = sequence_.soundFiles();
    // Lyrics as subtitles: a track of an MP4 or MOV file, an SRT file beside any other file.
    QVector<mcl::Subtitle> subtitles;
    if (hasSubtitleLyrics(album_)) {
        subtitles = subtitleLines(album_, sequence_);
    }
    const bool subtitleTrack = type == AlbumType::Mp4 || type == AlbumType::Mov;
    if (subtitleTrack) {
        request.subtitles = subtitles;
    }
    request.soundMixing = soundMixing(album_, sequence_, [this](const std::function<void()>& work) {
        // The window stays alive while a song of an older album is measured.
        std::future<void> done = std::async(std::launch::async, work);
        while (done.wait_for(kWaitSlice) != std::future_status::ready) {
            report();
        }
        done.get();
    });
    request.stopRequested = [this] { return stopRequested(); };
    // The pictures are drawn on a thread of their own, ahead of the encoder; this thread only
    // hands them over, keeping the window alive while it waits for one (a movie loading).
    AlbumFrames frames(album_, sequence_, outputSize_, true);
    frames.beforeLoading = [&staging](int usedTemplate) { staging.waitFor(usedTemplate); };
    std::optional<FramesAhead> ahead;
    ahead.emplace(
        [&](int n) {
            if (beforeDrawing) {
                beforeDrawing(n);
            }
            QImage picture = frames.frame(n);
            if (const auto chapter = chapterOfPicture.constFind(n);
                chapter != chapterOfPicture.constEnd()) {
                std::lock_guard lock(picturesMutex);
                chapterPictures[*chapter] = picture.copy();
            }
            return picture;
        },
        progress_.totalFrames,
        static_cast<int>(std::clamp<qint64>(
            kFramesAheadBytes / (qint64{4} * outputSize_.width() * outputSize_.height()), 1,
            kFramesAhead)));
    // However the conversion ends, the drawing thread is waited for the same way.
    const auto endDrawing = [this, &ahead, &staging] {
        if (!ahead) {
            return;
        }
        ahead->cancel();
        staging.cancel();  // a picture waiting for its template waits no more
        while (!ahead->waitForEnd(kWaitSlice)) {
            report();
        }
        ahead.reset();
    };
    request.frame = [this, &ahead](int) {
        return ahead->take([this] {
            report();
            return stopRequested();
        });
    };
    request.frameFile = frameFile;
    driver_.onProgress = [this](const ConversionProgress& p) {
        progress_.smallValue = p.smallValue;
        progress_.smallMaximum = p.smallMaximum;
        progress_.framesDone = p.framesDone;
        progress_.canStop = true;
        report();
    };
    conversionClock_.start();
    bool done = false;
    try {
        done = !stopRequested() && driver_.convert(request);
    } catch (...) {
        endDrawing();
        throw;
    }
    endDrawing();
    if (const QStringList missing = staging.missingPhotos(); !missing.isEmpty()) {
        notices_.insert(missingNoticeAt, texts::kPhotosMissingInVideo.arg(missing.join(u'\n')));
    }
    for (const QString& line : frames.stageLog()) {
        addStageLog(line);
    }
    errorList_.append(frames.errorList());
    errorList_.append(driver_.notices());
    notices_.append(frames.notices());
    notices_.append(frames.lyricProblems());
    notices_.append(driver_.notices());
    // A stop that comes after the encoder has finished and the file has its name is too late:
    // the album is made and stays, so the run says so.
    if (done && toDisc && !stopRequested()) {
        std::lock_guard lock(picturesMutex);
        author(request.outputFile, result, chapterPictures);
    } else if (done && !toDisc) {
        result.outcome = ProductionOutcome::Complete;
        if (!subtitleTrack && !subtitles.isEmpty()) {
            writeSubtitleFile(outputFile, subtitles);
        }
    } else if (!stopRequested()) {
        result.outcome = ProductionOutcome::Failed;
        result.error =
            driver_.errorText().isEmpty() ? texts::kProductionFailed : driver_.errorText();
    }
}

void ProductionRun::writeSubtitleFile(const QString& outputFile,
                                      const QVector<mcl::Subtitle>& lines) {
    const QFileInfo video(outputFile);
    const QString path =
        video.absolutePath() + u'/' + video.completeBaseName() + QStringLiteral(".srt");
    try {
        writeWholeFile(path, srtText(lines));
    } catch (const Error& error) {
        // The video is made; only its subtitles are missing, and the user is told.
        notices_.append(error.message());
    }
}

disc::DiscRequest ProductionRun::discRequest(const QString& stream, const QString& outputFile,
                                             const QList<QImage>& chapterPictures) const {
    const OutputOptions& options = album_.outputOptions();
    disc::DiscRequest request;
    request.kind = discKind(options.albumType.value_or(AlbumType::Dvd));
    request.tv = options.tvSystem == TvSystem::Ntsc ? mcl::TvSystem::Ntsc : mcl::TvSystem::Pal;
    request.target = discTarget;
    request.streamFile = stream;
    request.outPath = outputFile;
    request.albumName = options.albumName;
    for (const Chapter& chapter : chaptersOf(sequence_)) {
        request.chapterStarts.append(streamSeconds(chapter.frame, options.tvSystem));
    }
    request.chapterPictures = chapterPictures;
    for (int row = 0; row < album_.photos().size() && request.menuPhotos.size() < kMenuPhotos;
         ++row) {
        const LoadedPhoto photo = loadPhoto(album_.photos().at(row).location, kMenuPhotoBox);
        if (!photo.isIcon && !photo.image.isNull()) {
            request.menuPhotos.append(photo.image);
        }
    }
    request.albumSeconds =
        static_cast<double>(sequence_.totalFrames()) / static_cast<double>(kAlbumFrameRate);
    request.workFolder = QFileInfo(stream).absolutePath();
    return request;
}

void ProductionRun::author(const QString& stream, ProductionResult& result,
                           const QList<QImage>& chapterPictures) {
    progress_.phase = ProductionProgress::Phase::Authoring;
    progress_.smallValue = 0;
    progress_.smallMaximum = 100;
    progress_.canStop = true;
    report();
    const disc::DiscRequest request = discRequest(stream, result.outputFile, chapterPictures);
    if (beforeAuthoring) {
        beforeAuthoring(request);
    }
    disc::DiscAuthor authoring(request);
    authoring.onProgress = [this](const disc::DiscProgress& p) {
        progress_.smallValue = p.percent;
        progress_.step = p.step;
        report();
    };
    authoring.onLog = [this](const QString& line) { driver_.appendLog(line); };
    {
        std::lock_guard lock(authorMutex_);
        author_ = &authoring;
    }
    // However run() ends, stop() never meets the author afterwards.
    struct Forget {
        ProductionRun& run;
        ~Forget() {
            std::lock_guard lock(run.authorMutex_);
            run.author_ = nullptr;
        }
    };
    disc::DiscResult authored;
    {
        const Forget forget{*this};
        if (stopRequested()) {
            return;
        }
        authored = authoring.run();
    }
    if (authored.ok) {
        result.outcome = ProductionOutcome::Complete;
    } else if (!authored.stopped && !stopRequested()) {
        result.outcome = ProductionOutcome::Failed;
        result.error = authored.error;
        errorList_.append(authored.error);
    }
}

}  // namespace vellumo
