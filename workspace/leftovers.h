#pragma once

// Files and folders a run makes for itself and removes when it ends: the partial output file
// written beside an output until it is complete, and the working folder of a command-line run.
// Each carries a name we recognise with the id of the process that made it, so that what a
// killed run left behind is found and removed later, and only that: never a file of someone
// else, never one that another running process is still writing.
//
//   PartialFile partial(output);        // ".album.mpg.4711-k3Jd9a.vellumo-part", created anew
//   write(partial.descriptor(), ...);
//   partial.commit();                   // flushed, closed and renamed over the output
//   // destroyed without commit(): closed and removed

#include <QString>

#include <chrono>

namespace vellumo {

// Leftovers not changed for this long are stale even when their process id is in use again.
inline constexpr std::chrono::hours kLeftoverAgeLimit{24};
// A leftover whose process has ended is left alone while it changed this recently: a process
// of another machine sharing the folder may be writing it.
inline constexpr std::chrono::seconds kLeftoverQuietTime{60};

class PartialFile {
public:
    // Creates a fresh partial file in the output's folder, exclusively: never over an existing
    // file, never through a symbolic link. Throws FileError (the output and the system's reason).
    explicit PartialFile(const QString& output);
    ~PartialFile();

    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    int descriptor() const { return fd_; }
    const QString& path() const { return path_; }
    const QString& output() const { return output_; }

    // Writes the file to the disk, closes it and renames it over the output. Throws FileError
    // (the system's reason) and removes the partial file when that fails.
    void commit();
    // Closes and removes the partial file; nothing happens after commit().
    void discard();

private:
    QString output_;
    QString path_;
    int fd_ = -1;
};

// Whether name (without its folder) is the name of a partial file of ours.
bool isPartialFileName(const QString& name);
// Removes the stale partial files of ours in folder (see the top of this file): files of the
// current user whose process no longer runs and that have been quiet for kLeftoverQuietTime,
// or that have not changed for kLeftoverAgeLimit. Returns how many were removed.
int removeStalePartialFiles(const QString& folder);

// The pattern of a command-line run's working folder below the system's temporary folder,
// for QTemporaryDir: "vellumo-work-PID-XXXXXX".
QString workingFolderTemplate();
// Removes stale working folders of ours below the system's temporary folder, by the same rule
// as the partial files. Returns how many were removed.
int removeStaleWorkingFolders();

}  // namespace vellumo
