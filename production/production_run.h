#pragma once

// The production run: the album made into a video file. It lays the album out as the preview
// plays it (preview/album_sequence.h), stages every complete template at the output size,
// then hands the conversion driver one frame at a time: the movie of the sequence at that
// frame, drawn at the output size, with the lyric line of the music heard then drawn over it.
// Each template starts from the last frame of the one before (the lead-in picture, never with
// the lyric line); the first frame of the video is black.
//
// The same code serves the production window and the command line:
//
//   ProductionRun run(album);
//   run.onProgress = [&](const ProductionProgress& p) { /* bars, times; process events */ };
//   run.onFinished = [&](const ProductionResult& r) { /* close, open the folder, or tell */ };
//   const ProductionResult result = run.run(outputFile);   // returns when it has ended
//
// run() works on the calling thread and returns when the output file is complete, when the
// production failed (whatever was thrown on the way), or after stop(). onProgress is called
// often (after each music row and each frame, and every few milliseconds while the preparation
// works or the run waits for a picture or for the encoder): a window processes its events there,
// and its stop button calls stop(). stop() may also come from another thread; the run then ends
// at once, at any point (lists, preparation, conversion), and leaves no output file. The album
// is read, never changed; the preparation and the drawing of frames read it on threads of the
// run (photos, lyric files and settings), so nothing may change it until run() returns.

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "disc/disc_authoring.h"
#include "production/conversion_driver.h"
#include "timeline/album_sequence.h"

namespace vellumo {

class Album;
class AlbumFrames;

// "bofang_tingzhi" while the production is prepared, "zhizuo_kaishi" while frames are made,
// "zhizuo_tingzhi" after a stop or the end.
enum class ProductionState { Preparing, Producing, Stopped };
QString productionStateWord(ProductionState state);

// The reason a production cannot start, or empty: no photo, sync with music without music,
// no used template (the messages the preview gives), or no complete used template.
QString checkProductionRequest(const Album& album);

// The reason outputFile cannot be written, or empty: it is the same file (device and inode,
// links followed) as one the album is made from (a photo, a background, music, lyrics) or as one
// of otherInputs (the album project).
QString checkOutputFile(const Album& album, const QString& outputFile,
                        const QStringList& otherInputs = {});

// What a production of options into outputFile writes: the file, a disc image's files (a DVD's
// ISO, a VCD's or SVCD's .bin and .cue), or the DVD's folder.
QStringList producedFiles(const OutputOptions& options, const QString& outputFile,
                          disc::DiscTarget target = disc::DiscTarget::Image);

struct ProductionProgress {
    // Authoring: a disc image is written from the stream (the small bar counts its percent).
    enum class Phase { Lists, Preparation, Conversion, Authoring };
    Phase phase = Phase::Lists;
    // The small bar: preparation steps, then the conversion driver's list filling and its
    // 0..100 per picture.
    int smallValue = 0;
    int smallMaximum = 0;
    // The large bar: frames handed to the encoder of all the album's frames.
    int framesDone = 0;
    int totalFrames = 0;
    bool canStop = true;
    double elapsedSeconds = 0;     // since run() began
    double remainingSeconds = -1;  // -1 until frames are being made
    double framesPerSecond = 0;    // of the conversion so far
    QString elapsed;               // "hh:mm:ss"
    QString remaining;             // "hh:mm:ss", empty while unknown
    QString step;                  // while a disc is authored: what is being done
};

enum class ProductionOutcome { Complete, Failed, Stopped };

struct ProductionResult {
    ProductionOutcome outcome = ProductionOutcome::Stopped;
    QString outputFile;
    // Why it failed (a Chinese text with the encoder's reason), empty otherwise.
    QString error;
    // What the user is told along with a complete file: music too short to cover the album,
    // photos that could not be read, lyric files that could not be read, movies that could
    // not be played.
    QStringList notices;
};

class ProductionRun {
public:
    // The factory makes the conversion library's handle (tests count or fail it); the default
    // is the real library.
    explicit ProductionRun(const Album& album, ConversionDriver::ConverterFactory factory = {});
    ~ProductionRun();

    ProductionRun(const ProductionRun&) = delete;
    ProductionRun& operator=(const ProductionRun&) = delete;

    std::function<void(const ProductionProgress&)> onProgress;
    // Called once at the end of run(), with what run() returns.
    std::function<void(const ProductionResult&)> onFinished;
    // Called on the drawing thread before picture n is drawn (tests hold the drawing there).
    std::function<void(int n)> beforeDrawing;
    // Called with a disc's request before it is authored (tests read the stream there).
    std::function<void(const disc::DiscRequest&)> beforeAuthoring;

    // Produces the album with its output options (type, size, television system, quality,
    // sync mode) into outputFile. The file exists only when the outcome is Complete.
    //
    // A disc image (OutputOptions::isDiscImage()) is drawn at its row's drawn size and encoded
    // at the standard's into a working folder, with a GOP starting at every template; the disc
    // is then authored (disc/disc_authoring.h) into outputFile: the ISO, the DVD's folder
    // (discTarget Folder), or the .bin and .cue of a VCD or SVCD. Its failure or a stop leaves
    // nothing there.
    ProductionResult run(const QString& outputFile);
    disc::DiscTarget discTarget = disc::DiscTarget::Image;
    // Ends a running production at once; nothing happens otherwise.
    void stop();

    ProductionState state() const { return state_.load(); }
    // The album's frame sequence (after the lists are built).
    const AlbumSequence& sequence() const { return sequence_; }
    // Diagnostics kept for the window, not shown: movies that could not be played, and the
    // stage's log of movies unloaded and loaded.
    const QStringList& errorList() const { return errorList_; }
    const QStringList& stageLog() const { return stageLog_; }
    const QStringList& conversionLog() const { return driver_.log(); }

    // Picture n of the album as the production hands it over (exposed for tests and the
    // benchmark), once the run has staged the album. run() itself draws the same pictures on a
    // thread of its own (production/album_frames.h), ahead of the encoder.
    QImage frame(int n);

private:
    bool stopRequested() const { return stopRequested_.load(); }
    void produce(ProductionResult& result);
    // Writes the lines as an SRT file beside the video, named as it is.
    void writeSubtitleFile(const QString& outputFile, const QVector<mcl::Subtitle>& lines);
    void report();
    ProductionResult finish(ProductionResult result);
    void addStageLog(const QString& text);
    // The disc written from the stream: chapters, pictures and photos from the album.
    void author(const QString& stream, ProductionResult& result,
                const QList<QImage>& chapterPictures);
    disc::DiscRequest discRequest(const QString& stream, const QString& outputFile,
                                  const QList<QImage>& chapterPictures) const;

    const Album& album_;
    ConversionDriver driver_;
    std::mutex authorMutex_;  // stop() from another thread never meets a released author
    disc::DiscAuthor* author_ = nullptr;
    std::atomic<ProductionState> state_{ProductionState::Stopped};
    std::atomic<bool> stopRequested_{false};
    AlbumSequence sequence_;
    // Draws the pictures frame() hands out; the run draws its own on another thread.
    std::unique_ptr<AlbumFrames> frames_;
    QSize outputSize_;
    QStringList errorList_;
    QStringList stageLog_;
    QStringList notices_;
    ProductionProgress progress_;
    QElapsedTimer runClock_;
    QElapsedTimer conversionClock_;
};

}  // namespace vellumo
