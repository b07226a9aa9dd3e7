#pragma once

// mcl: the conversion library. It turns a list of pictures and a list of sound files into one
// video file, pulling each picture through a callback while it encodes. FFmpeg stays inside
// the mcl sources; this header speaks in Qt types only. docs/conversion-library.md describes what
// each preset writes.
//
// A conversion goes: createConverter() -> assign the callbacks -> set the preset, format, bit
// rate, sound codec and file names -> convert() (returns when the file is complete, or after an
// error or an abort) -> error()/errorString() -> destroy the converter.
//
// Threads: every callback runs on the thread that called convert(). Colour conversion runs on
// two threads of the converter's own and encoding on a third, fed through short queues (three
// pictures, three converted frames), so the caller renders picture n + 1 while picture n is
// converted and encoded.

#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

namespace vellumo::mcl {

enum class ItemKind { Picture = 8, Sound = 16 };
// VcdDisc, SvcdDisc and DvdVideo write what a disc's authoring program takes: the standard's
// rates, aspect and packs, closed GOPs; the picture keeps its shape on the display (a 16:9
// album fills a 16:9 frame and is letterboxed in a 4:3 one). Give them the standard's size.
enum class Preset {
    Vcd = 0,
    Svcd = 1,
    Dvd = 2,
    Avi = 3,
    Mp4 = 4,
    VcdDisc = 5,
    SvcdDisc = 6,
    DvdVideo = 7,
    // A DVD-Video menu: as DvdVideo, at 4:3.
    DvdMenu = 8,
    // MP4 with H.265 (HEVC) video instead of H.264: the same sizes and rates.
    Mp4Hevc = 9
};
enum class TvSystem { Pal = 0, Ntsc = 1 };

// Status codes of the progress callback.
inline constexpr int kStatusFinished = 0;        // the conversion has ended; elapsed time is final
inline constexpr int kStatusPreparing = 1;       // lists read, sound files checked, encoders opened
inline constexpr int kStatusReducingColors = 2;  // palette formats only; no preset sends it
inline constexpr int kStatusEncoding = 3;        // about once a second of pictures
inline constexpr int kStatusMultiplexing = 4;    // the file is being finished; percent done
// The caller's thread waits for the converter's own threads (a queue is full, the file is being
// finished); sent every few milliseconds while it waits, so that the caller's window stays alive
// and a stop button answers.
inline constexpr int kStatusWaiting = 5;

// Error codes of error().
inline constexpr int kErrorNone = 0;
inline constexpr int kErrorOutput = 1;     // the output file cannot be written
inline constexpr int kErrorSoundFile = 2;  // a sound file cannot be decoded
inline constexpr int kErrorFrame = 3;      // a picture cannot be read
inline constexpr int kErrorEncoder = 4;    // an encoder or the muxer failed
inline constexpr int kErrorFormat = 5;     // no file name, no pictures, or a size out of range

// Action codes the error callback may set. Stop ends the conversion with the error; skip goes
// on without the item where that is possible (a sound file is left out, an unreadable picture
// repeats the one before). Output and encoder errors always stop.
inline constexpr int kActionSkip = 0;
inline constexpr int kActionStop = 2;

// Sound lengths are counted in samples at this rate, whatever the preset writes.
inline constexpr int kSampleCountRate = 44100;

// How the sound files are joined, beyond the library's plain joining: a gain for each file, a
// crossfade at each join (the two files overlap by its length, one fading out as the other
// fades in), and fades at the start and the end of the whole sound.
struct SoundMixing {
    QVector<double> gainsDb;    // by sound item, in list order; items beyond keep their level
    QVector<int> crossfadesMs;  // join k lies between items k and k + 1; 0 is a plain join
    int fadeInMs = 0;
    int fadeOutMs = 1000;
};

// A line of the subtitle track, shown from its start to its end (milliseconds of the video).
struct Subtitle {
    qint64 startMs = 0;
    qint64 endMs = 0;
    QString text;
    friend bool operator==(const Subtitle&, const Subtitle&) = default;
};

// A list of pictures or sound files (MclListCreate ... MclListFree).
class List {
public:
    void add(const QString& fileName, ItemKind kind, int reserved1 = 0, int reserved2 = 0);
    // The name of item index; false when there is no such item.
    bool getName(int index, QString& name) const;
    int frameCount() const;  // picture items
    // Length of the sound items in samples at kSampleCountRate; a file that cannot be read as
    // sound counts 0 (the conversion reports it).
    qint64 sampleCount() const;

private:
    struct Item {
        QString name;
        ItemKind kind;
    };
    QVector<Item> items_;
};

// What a source callback hands back for the item asked for.
class Source {
public:
    void setFile(const QString& fileName);  // MclSourceSetFile
    void finished();                        // MclSourceFinished: no item with that index
    bool isFinished() const { return finished_; }
    const QString& file() const { return file_; }

private:
    QString file_;
    bool finished_ = false;
};

// A chapter of an MP4: where it starts (an album picture number, counted as the video callback
// counts them) and the title a player lists it under.
struct ChapterMark {
    int picture = 0;
    QString title;
};

class Converter;

// Asked for item index of the video or audio list, from 0 up until it calls finished().
using SourceFunc = std::function<void(Source& source, int index)>;
// Called once per picture, in order, before the picture is taken. It renders picture
// frameNumber and either hands it over in memory by filling image, or leaves image null and
// rewrites the item's file, which the converter reads after the callback returns.
using VideoFunc = std::function<void(Converter& converter, QImage& image, int frameNumber)>;
// Called once per encoded audio frame (1152 or 1536 samples), in order.
using AudioFunc = std::function<void(Converter& converter, int frameNumber)>;
using ProgressFunc = std::function<void(Converter& converter, int status, int frameCount,
                                        qint64 sampleCount, int percent)>;
// errorCode is error(); action starts at kActionStop.
using ErrorFunc = std::function<void(Converter& converter, int errorCode, int& action)>;

// A conversion handle. Destroying it releases everything (MclFree); a running conversion must
// have returned first.
class Converter {
public:
    virtual ~Converter() = default;

    virtual void assignVideoSource(SourceFunc callback) = 0;
    virtual void assignAudioSource(SourceFunc callback) = 0;
    virtual void assignVideoFunc(VideoFunc callback) = 0;
    virtual void assignAudioFunc(AudioFunc callback) = 0;
    virtual void assignProgress(ProgressFunc callback) = 0;
    virtual void assignError(ErrorFunc callback) = 0;

    virtual void setFormatPreset(Preset preset, TvSystem tv) = 0;
    // With keep duration the album's 25 pictures a second keep their timing under NTSC: output
    // frame n shows picture n * 25 * 1001 / 30000. Without it every picture is one frame.
    virtual void videoSetKeepDuration(bool keep) = 0;
    // Output picture size; bitsPerPixel is accepted for 24 and 32.
    virtual void videoSetFormat(int width, int height, int bitsPerPixel) = 0;
    // Pictures (album picture numbers, counted as the video callback counts them) that each
    // start a GOP of their own: a key frame that needs nothing before it, where a disc's
    // chapter can begin. Under NTSC with the duration kept it is the first output frame that
    // shows the picture.
    virtual void videoSetKeyFrames(const QVector<int>& pictures) { (void)pictures; }
    // Chapters of the file, in order; each lasts until the next one starts, the last until the
    // end. Written where the container has them (MP4); the other containers leave them out.
    virtual void videoSetChapters(const QVector<ChapterMark>& chapters) { (void)chapters; }
    // Asks for a higher rate than the preset's own: kbit/s wanted, mode (1 variable, 0
    // constant), kbit/s at most. Each is held to the preset's ceiling (docs/conversion-library.md).
    virtual void videoSetBitRate(int kbps, int mode, int maxKbps) = 0;
    // 2: the preset's own sound codec (the only one offered).
    virtual void audioSetCodec(int codec) = 0;
    // How the sound files are joined; without it they follow each other at their own level
    // and the sound fades out over its last second.
    virtual void audioSetMixing(const SoundMixing& mixing) { (void)mixing; }
    // Lines for a subtitle track (mov_text, language Chinese); only MP4 and MOV files hold
    // one, other files leave them out.
    virtual void setSubtitles(const QVector<Subtitle>& lines) { (void)lines; }
    // Video and sound go into one file; both names are the same in practice, and the video
    // name wins when they differ.
    virtual void videoSetFileName(const QString& fileName) = 0;
    virtual void audioSetFileName(const QString& fileName) = 0;

    // Runs the whole conversion. Returns true when the output file is complete under its name;
    // false after an error (error() non-zero) or an abort (error() zero). The file is written
    // under a fresh partial name beside the output (workspace/leftovers.h) and renamed at the
    // end; it is removed otherwise. Stale partial files of ours in that folder are removed first.
    virtual bool convert() = 0;
    // What the user should know about a complete file: songs whose sound ended early (a read
    // error, or less sound than the file announces). One line each.
    virtual QStringList notices() const { return {}; }
    virtual int error() const = 0;
    virtual QString errorString() const = 0;

    // Times in seconds.
    virtual double elapsedTime() const = 0;
    virtual double remainingTime(int totalFrames, qint64 totalSamples) const = 0;

    // Stops a running conversion; callable from inside a callback or from another thread.
    // convert() then returns promptly. Does nothing when no conversion runs.
    virtual void abort() = 0;
};

std::unique_ptr<Converter> createConverter();

// "hh:mm:ss" of a time in seconds (negative times count as 0).
QString makeTimeStr(double seconds);

}  // namespace vellumo::mcl
