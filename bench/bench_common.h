#pragma once

// What the benchmarks share: the installed library (build/bin) as the catalogue, photos written
// to a folder and placed, the working folders moved below a temporary folder, and the figures
// taken from the system (processor time, peak memory) and from the ffmpeg program.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#include "assignment/placement.h"
#include "catalogue/catalogue.h"
#include "photo/fitting_canvas.h"
#include "project/album.h"
#include "workspace/data_paths.h"
#include "workspace/program_folder.h"

extern char** environ;

namespace vellumo::bench {

// The program folder the build lays out (build/bin), seen from a benchmark in build/bench.
inline QString installedFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/");
}

// Points the program folder at the installed library and reads its catalogue; says so and
// returns false when there is none.
inline bool readInstalledCatalogue(Catalogue& catalogue) {
    setProgramFolder(installedFolder());
    if (!catalogue.build()) {
        std::printf("no installed templates below %s\n", qPrintable(installedFolder()));
        return false;
    }
    return true;
}

// Writes photos first .. first + count - 1 of make(i) as JPEGs into folder (those already there
// stay) and returns their paths.
inline QStringList writePhotos(const QString& folder, int first, int count,
                               const std::function<QImage(int)>& make) {
    QStringList files;
    for (int i = first; i < first + count; ++i) {
        const QString file = folder + QStringLiteral("/p%1.jpg").arg(i);
        if (!QFileInfo::exists(file)) {
            writeJpeg(make(i), file);
        }
        files << file;
    }
    return files;
}

// Adds the photos to the album and places them on the templates automatically.
inline void addAndPlace(Album& album, const QStringList& files) {
    for (const QString& file : files) {
        album.addPhoto(*measurePhoto(file));
    }
    PlacementRun placement = placementRun(album);
    placement.start();
    placement.runToEnd();
}

// Moves the program's working folders below folder, taking the closing movie along; data paths
// read before this call still point into the installed library.
inline void workBelow(const QString& folder) {
    const QString closing = dataPath(paths::kClosingMovie);
    setProgramFolder(folder + u'/');
    QDir().mkpath(QFileInfo(dataPath(paths::kClosingMovie)).absolutePath());
    QFile::copy(closing, dataPath(paths::kClosingMovie));
}

inline double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// Peak resident memory of the process or of its largest waited-for child, in MiB.
inline double peakMiB(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kB on Linux
}

// Processor time of the process (all its threads) or of its waited-for children, in seconds.
inline double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline QByteArray quoted(const QString& path) {
    return "'" + path.toUtf8().replace("'", "'\\''") + "'";
}

// The settings of our DVD preset at high quality, for the ffmpeg program.
inline QStringList ffmpegDvdCodec() {
    return {"-c:v",     "mpeg2video", "-b:v", "8000k", "-maxrate", "9000k", "-minrate", "0",
            "-bufsize", "1835008",    "-g",   "15",    "-bf",      "2",     "-c:a",     "ac3",
            "-ar",      "48000",      "-ac",  "2",     "-b:a",     "192k",  "-f",       "dvd"};
}

// The ffmpeg program's arguments for the reference: as many pictures of its own (lavfi's
// testsrc2 at size, 25 a second) as an album has frames, with the song cut at the pictures' end,
// through codec (the settings of one of our presets), into output.
inline QStringList ffmpegReference(const QString& size, const QString& music, int frames,
                                   const QStringList& codec, const QString& output) {
    QStringList words = {"-v",
                         "error",
                         "-y",
                         "-f",
                         "lavfi",
                         "-i",
                         "testsrc2=s=" + size + ":r=25",
                         "-i",
                         music,
                         "-map",
                         "0:v",
                         "-map",
                         "1:a",
                         "-frames:v",
                         QString::number(frames),
                         "-pix_fmt",
                         "yuv420p"};
    words << codec << "-t" << QString::number(frames / 25.0, 'f', 2) << output;
    return words;
}

// What a program run cost: wall time, processor time and peak resident memory of that child
// alone.
struct ChildRun {
    bool ok = false;
    double seconds = 0;
    double cpuSeconds = 0;
    double peakMiB = 0;
};

// Runs program with arguments (its output discarded unless showOutput) and waits for it.
inline ChildRun runChild(const QString& program, const QStringList& arguments,
                         bool showOutput = false) {
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString& a : arguments) {
        words.push_back(a.toUtf8());
    }
    std::vector<char*> argv;
    for (QByteArray& w : words) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!showOutput) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t pid = 0;
    ChildRun run;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return run;
    }
    // The child's own peak is read from its status while it runs: after a spawn from a large
    // process the kernel's figure at the end (ru_maxrss) also counts the parent's memory, which
    // the child shared until it started its program.
    const QString statusFile = QStringLiteral("/proc/%1/status").arg(pid);
    int status = 0;
    rusage usage{};
    for (;;) {
        QFile file(statusFile);
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : file.readAll().split('\n')) {
                if (line.startsWith("VmHWM:")) {
                    run.peakMiB = std::max(
                        run.peakMiB, line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0);
                }
            }
        }
        const pid_t ended = wait4(pid, &status, WNOHANG, &usage);
        if (ended == pid) {
            break;
        }
        if (ended < 0) {
            return run;
        }
        const timespec pause{0, 50'000'000};
        nanosleep(&pause, nullptr);
    }
    timespec end{};
    clock_gettime(CLOCK_MONOTONIC, &end);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.seconds = static_cast<double>(end.tv_sec - start.tv_sec) +
                  static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e9;
    run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    return run;
}

}  // namespace vellumo::bench
