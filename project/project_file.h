#pragma once

// The album project file (".vellumo"): the whole album as JSON with a format version. Photo,
// background, music and lyric paths are kept absolute and relative to the project file, so that
// a project moved together with its files still opens; templates are named by their package, so
// that a project still opens when the library has changed.

#include <QString>
#include <QStringList>
#include <functional>

#include "project/album.h"
#include "settings/system_settings.h"

namespace vellumo {

inline constexpr int kProjectFormatVersion = 1;
inline const QString kProjectExtension = QStringLiteral(".vellumo");

// The system settings that shape placement and display, kept with the album.
struct ProjectSettings {
    PhotoFit landscapeImportCrop = PhotoFit::FullScreen;
    PhotoFit landscapeDisplay = PhotoFit::FullScreen;
    TemplateCombination templateCombination = TemplateCombination::DoNotUse;

    static ProjectSettings of(const SystemSettings& settings);
    void applyTo(SystemSettings& settings) const;
    friend bool operator==(const ProjectSettings&, const ProjectSettings&) = default;
};

// The project's text for the album. Relative paths are written against projectPath's folder;
// none when projectPath is empty. The lyric table is not kept: it is read again from its file.
QByteArray projectBytes(const Album& album, const ProjectSettings& settings,
                        const QString& projectPath);

// Called after each piece of a file written safely, with the bytes written so far; a test may
// throw from it to stand for a crash in the middle of the write.
using WriteProgress = std::function<void(qint64 written)>;

// Writes the bytes to a temporary name beside path, flushes them to the disk and renames the
// file over path, so that path holds either the old or the new text, never a part. Throws
// FileError when it cannot.
void writeFileSafely(const QString& path, const QByteArray& bytes,
                     const WriteProgress& progress = {});

// Saves the album as a project; throws FileError with kAlbumFileNotWritten.
void saveProject(const Album& album, const ProjectSettings& settings, const QString& path);

// A project read and checked, ready to be put into an album, with what could not be brought
// back. Music and lyric files pair by row: a song that is gone takes its lyric row with it, and
// a lyric file that is gone stays, its song without lyrics. Photos and background pictures
// whose file is gone or holds no picture stay (photos with their slots and crops) and are left
// out of what is shown until the file is back. Each list names a file once, as saved.
struct ProjectLoad {
    Album::Snapshot album;
    ProjectSettings settings;
    QStringList missingFiles;      // music gone, taken out
    QStringList notFiles;          // music whose path holds a folder, a device…, taken out
    QStringList lyricsWithMusic;   // lyric files taken out with their song
    QStringList missingKept;       // gone, kept until they are back: photos, pictures, lyrics
    QStringList unusableFiles;     // kept, but the path holds no picture or lyric file now
    QStringList turnedPhotos;      // photos now standing the other way, taken out of their slots
    QStringList missingTemplates;  // template names, each once
    QStringList unconvertedMusic;  // music whose converted copy could not be made again
    QString recoveredFrom;         // a recovery file: the project it was the album of

    // The one message about what was left out; empty when everything came back.
    QString report() const;
};

// Reads a project for the catalogue. Throws Error (unreadable, damaged, newer format) and then
// leaves every album as it was.
ProjectLoad readProject(const QString& path, const Catalogue& catalogue);
ProjectLoad projectFromBytes(const QByteArray& bytes, const QString& path,
                             const Catalogue& catalogue);

// The recovery file's text: the project text and the path of the project it belongs to.
QByteArray recoveryBytes(const Album& album, const ProjectSettings& settings,
                         const QString& projectPath);

}  // namespace vellumo
