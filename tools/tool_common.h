#pragma once

// Shared plumbing of vellumo-tool's commands.

#include <QMap>
#include <QString>
#include <QStringList>

namespace vellumo {
class Album;
}

namespace vellumo::tool {

// An option the command does not know. The tool answers it with the command's usage line and
// exit status 2, so that a mistyped option never changes silently what is made.
struct UnknownOption {
    QString option;
};

// Command-line words split into "--name value" options, "--flag" switches and positionals.
class Arguments {
public:
    // valueOptions take a value, switches none. Throws UnknownOption for any other "--x".
    Arguments(const QStringList& words, const QStringList& valueOptions,
              const QStringList& switches = {});

    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }
    const QStringList& positional() const { return positional_; }
    bool has(const QString& name) const { return options_.contains(name); }
    QString value(const QString& name, const QString& fallback = {}) const;
    // A non-negative decimal option; sets error() and returns -1 when it is not one.
    int integer(const QString& name, int fallback);

private:
    QMap<QString, QString> options_;
    QStringList positional_;
    QString error_;
};

// The switches of the album's lyrics and sound that make-album, plan and preview take:
// --karaoke turns on every lyric file's karaoke fill, --subtitles puts every lyric file's lines
// into a subtitle track (an SRT file beside an AVI or MPEG file), --crossfade the crossfade
// between songs, --no-level leaves the songs at their own loudness.
QStringList soundSwitches();
// Applies the sound switches given to the album (after its music and lyrics are added).
void applySoundSwitches(Album& album, const Arguments& args);

void printOut(const QString& text);
void printError(const QString& text);

// usage with "--type TYPE" spelled out as the album types the tool offers:
// "--type VCD|SVCD|...".
QString withAlbumTypes(QString usage);

// A command's exit status after printing a one-line error.
int fail(const QString& message);

// From now on SIGINT, SIGTERM and SIGHUP only note that the command is to stop: the command asks
// stopSignal() where it can stop cleanly (removing what it made) and then exits with
// 128 + the signal's number.
void catchStopSignals();
// The stop signal received, 0 while none was.
int stopSignal();

// The working folders of a command go below folder (made if missing), never below the program
// folder, which may be read-only or belong to a running Vellumo; the installed data is read where
// it is. Throws Error when the folder cannot be made.
void workBelow(const QString& folder);

}  // namespace vellumo::tool
