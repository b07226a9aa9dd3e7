#pragma once

// The conversion driver: encodes an album's pictures and music into the output file through
// the conversion library (media/mcl.h), keeping a conversion log and reporting progress.
//
// Use (the production run, or a command-line producer):
//   ConversionDriver driver;
//   driver.onProgress = [](const ConversionProgress& p) { /* show bars, process events */ };
//   ConversionRequest request;            // options, output file, frame count, sound files,
//   request.frame = [](int n) { ... };    // and the picture of frame n
//   bool done = driver.convert(request);  // returns when the file is complete, failed or aborted
// convert() returning true is the completion signal: the file is then whole under its name
// (trailer written, every picture encoded). Nothing needs to abort a finished conversion, and an
// abort after the last picture was handed over would only cut off the end of the file.
// abort() may be called from inside a callback (a stop button handled while events are
// processed) or from another thread; convert() then returns promptly and writes no file. While
// the library waits for its own threads, onProgress keeps coming every few milliseconds. A
// callback that throws ends the conversion; the exception passes on and the driver is ready for
// the next conversion.
//
// Every callback runs on the thread that called convert().

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "album/output_options.h"
#include "media/mcl.h"

namespace vellumo {

struct ConversionRequest {
    // Type, size, television system, quality and output file of the output options (an album
    // type not chosen yet counts as VCD; a disc image has its standard's stream and frame
    // size); the rest stays to be filled in.
    static ConversionRequest fromOptions(const OutputOptions& options);

    // From the output options.
    AlbumType albumType = AlbumType::Vcd;
    QSize outputSize{1280, 720};
    TvSystem tvSystem = TvSystem::Pal;
    PictureQuality quality = PictureQuality::High;
    VideoCoding coding = VideoCoding::H264;  // of an MP4
    // The stream a disc of the type is authored from (its row's disc preset) instead of the
    // type's file.
    bool discStream = false;
    // Pictures that each start a GOP of their own (where a disc's chapters begin).
    QVector<int> keyFrames;
    // Chapters where the container has them (MP4), in order.
    QVector<mcl::ChapterMark> chapters;

    QString outputFile;
    int frameCount = 0;      // pictures at 25 a second
    QStringList soundFiles;  // joined in this order; the sound is cut at the pictures' end
    // How they are joined: gains, crossfades, fades (the library's plain joining when unset).
    std::optional<mcl::SoundMixing> soundMixing;
    QVector<mcl::Subtitle> subtitles;  // a subtitle track, for the types whose file holds one
    // Renders picture frameNumber (0, 1, 2, ... in order). Returns the picture, handed over in
    // memory; a null image makes the library read frameFile instead (rewritten by the call).
    std::function<QImage(int frameNumber)> frame;
    QString frameFile;  // the name every picture item carries
    // Asked while the lists are filled and before each picture: true ends the conversion as
    // abort() does (a stop that came before the conversion was running).
    std::function<bool()> stopRequested;
};

struct ConversionProgress {
    // The small bar: one step per list item while the lists are filled, then 0..100 with one
    // step per picture, wrapping to 0 at the top.
    int smallValue = 0;
    int smallMaximum = 0;
    // The large bar: pictures handed over of all.
    int framesDone = 0;
    int totalFrames = 0;
    bool converting = false;  // the conversion runs: a stop button may be offered
    int percent = 0;          // of the pictures, as the library last reported it
    QString elapsed;          // "hh:mm:ss"
    QString remaining;
};

inline constexpr int kMaxConversionLogLines = 32000;

class ConversionDriver {
public:
    using ConverterFactory = std::function<std::unique_ptr<mcl::Converter>()>;

    // The factory makes the library's conversion handle; the default is the real library.
    explicit ConversionDriver(ConverterFactory factory = {});
    ~ConversionDriver();

    ConversionDriver(const ConversionDriver&) = delete;
    ConversionDriver& operator=(const ConversionDriver&) = delete;

    // After each list item and each picture; this is where a window processes its events.
    std::function<void(const ConversionProgress&)> onProgress;
    // After each log line is added.
    std::function<void(const QString& line)> onLogLine;

    // Clears the log and runs the conversion. True when the output file is complete; false
    // when there was nothing to convert, an error (errorText()) or an abort.
    bool convert(const ConversionRequest& request);
    // Stops a running conversion; nothing happens otherwise.
    void abort();
    bool isRunning() const { return converter_.load() != nullptr; }
    // Adds a line of what came after the conversion (the disc's authoring) to the log.
    void appendLog(const QString& line) { addLog(line); }

    // At most kMaxConversionLogLines; the oldest line goes first.
    const QStringList& log() const { return log_; }
    // The library's error text of the last conversion, empty when there was none.
    const QString& errorText() const { return errorText_; }
    // What the library says about the complete file of the last conversion (mcl::Converter).
    const QStringList& notices() const { return notices_; }

private:
    void addLog(const QString& line);
    void report();
    void onStatus(mcl::Converter& converter, int status, int frameCount, qint64 sampleCount,
                  int percent);

    ConverterFactory factory_;
    std::atomic<mcl::Converter*> converter_{nullptr};
    std::mutex abortMutex_;  // abort() from another thread never meets a released handle
    QStringList log_;
    QString errorText_;
    QStringList notices_;
    ConversionProgress progress_;
    int totalFrames_ = 0;
    qint64 totalSamples_ = 0;
};

}  // namespace vellumo
