#pragma once

// Disc authoring: an MPEG program stream made at a disc standard's size becomes a disc a
// player plays. A DVD becomes a VIDEO_TS folder (dvdauthor, its menus through spumux) and, as an
// image, an ISO file (genisoimage); a VCD or SVCD becomes a BIN/CUE image (vcdimager). The tools
// are Debian's programs, started with their arguments as a list, never through a shell; what they
// print goes to the log. The result is checked before it is called complete: a DVD is read back
// (one title, its chapters, its video attributes, its length against the album's).
//
//   DiscRequest request;            // the stream, the kind, where to write, chapters, pictures
//   DiscAuthor author(request);
//   author.onProgress = [&](const DiscProgress& p) { /* bar; process events */ };
//   const DiscResult result = author.run();   // returns when the disc is written or has failed
//
// run() works on the calling thread; onProgress is called every few milliseconds while a tool
// runs, so a window stays alive and its stop button (stop(), from any thread) answers. After a
// failure or a stop nothing is left at the output path.

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <atomic>
#include <functional>

#include "media/mcl.h"

namespace vellumo::disc {

enum class DiscKind { Vcd, Svcd, Dvd };
// Image: an ISO file (DVD) or PATH.bin + PATH.cue (VCD, SVCD). Folder: the folder that receives
// VIDEO_TS (DVD only).
enum class DiscTarget { Image, Folder };

struct DiscRequest {
    DiscKind kind = DiscKind::Dvd;
    mcl::TvSystem tv = mcl::TvSystem::Pal;
    DiscTarget target = DiscTarget::Image;
    // The program stream the production made at the standard's size and rates.
    QString streamFile;
    // The ISO file, the folder, or the image's name (PATH.bin and PATH.cue; an extension given is
    // replaced).
    QString outPath;
    // The menu's title and, reduced to what the standard allows, the volume label.
    QString albumName;
    // Seconds from the stream's start of every chapter: each template's start and the closing
    // movie's, ascending, the first 0.
    QVector<double> chapterStarts;
    // The first photos of the album, upright, for the menu's background.
    QList<QImage> menuPhotos;
    // One picture per chapter, in order: the first complete frame of its template.
    QList<QImage> chapterPictures;
    // The album's length in seconds; the disc's title must match it within a frame.
    double albumSeconds = 0;
    // Scratch space of the caller's, which it removes afterwards.
    QString workFolder;
};

struct DiscProgress {
    QString step;  // what is being done, for the window
    int percent = 0;
};

struct DiscResult {
    bool ok = false;
    // Why it failed: a Chinese text, with a tool's last lines where a tool failed, or the package
    // to install where a tool is missing. Empty after a stop.
    QString error;
    bool stopped = false;
    // What was written: the ISO, the VIDEO_TS folder, or the .bin and .cue files.
    QStringList outputFiles;
};

class DiscAuthor {
public:
    explicit DiscAuthor(DiscRequest request);
    ~DiscAuthor();

    DiscAuthor(const DiscAuthor&) = delete;
    DiscAuthor& operator=(const DiscAuthor&) = delete;

    std::function<void(const DiscProgress&)> onProgress;
    // Every line the tools print, and each command started.
    std::function<void(const QString& line)> onLog;

    DiscResult run();
    void stop();

private:
    DiscRequest request_;
    std::atomic<bool> stopRequested_{false};
};

// The message naming the Debian package to install when a tool kind needs is missing; empty when
// every tool is present.
QString missingDiscTool(DiscKind kind);

// The files that make up the image of outPath: "a.bin" and "a.cue" for VCD and SVCD, the path
// itself for a DVD.
QStringList discImageFiles(DiscKind kind, const QString& outPath);

}  // namespace vellumo::disc
