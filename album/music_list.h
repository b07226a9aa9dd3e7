#pragma once

// The album's music in the order it was added, each file with its playing time. A file the
// music player cannot open is played from a WAV copy the converter makes in the user's lasting
// cache of converted music; the record keeps the user's own file.

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

#include "media/loudness.h"

namespace vellumo {

class MusicPlayer;

struct MusicRecord {
    QString name;      // the chosen file's name without folder and extension
    QString format;    // extension of the file played: ".mp3", or ".wav" for a converted copy
    QString duration;  // "00:" + minutes + ":" + seconds
    QString location;  // the chosen file, the user's own
    QString copy;      // its converted copy in the cache; empty when the chosen file plays
    std::optional<Loudness> loudness;  // measured when it was added; none for older albums

    bool isConverted() const { return !copy.isEmpty(); }
    // The file the player opens: the chosen file, or its converted copy.
    const QString& playedFile() const { return copy.isEmpty() ? location : copy; }
    // The gain that levels it; 0 while it is not measured.
    double levellingGain() const { return loudness ? levellingGainDb(*loudness) : 0.0; }
};

// The lasting cache of converted music: $XDG_CACHE_HOME/vellumo/converted-music/ (below
// ~/.cache without that variable), ending in "/". Nothing at start-up clears it.
QString convertedMusicFolder();

// Where the converted copy of a music file lies in the cache: a name made from the file's
// absolute path, size and modification time (a SHA-256 digest), so that two files never share
// a copy and a changed file gets a new one.
QString convertedMusicPath(const QString& source);

// "00:" + whole minutes (not wrapped at 60) + ":" + seconds, two digits at least.
QString musicDurationText(qint64 lengthMs);

class MusicList {
public:
    const QVector<MusicRecord>& records() const { return records_; }
    const MusicRecord& at(int row) const { return records_.at(row); }
    int size() const { return static_cast<int>(records_.size()); }
    bool isEmpty() const { return records_.isEmpty(); }
    void remove(int row) { records_.removeAt(row); }
    void clear() { records_.clear(); }
    // A record measured before (an album project being opened).
    void append(MusicRecord record) { records_.append(std::move(record)); }

    // Adds a chosen file: the player measures it, or its converted copy when the player cannot
    // open it (pump runs while the converter works; a copy already in the cache is taken as it
    // is), and its loudness is measured on a thread of its own while pump runs. On failure nothing
    // is added and the returned text says why; empty on success. The player keeps the file open.
    QString add(const QString& path, MusicPlayer& player, const std::function<void()>& pump = {});

    // Makes again the converted copies missing from the cache (a cache emptied since the album
    // was saved). Returns the chosen files that could not be converted; their records stay.
    QStringList remakeMissingCopies(const std::function<void()>& pump = {});

private:
    QVector<MusicRecord> records_;
};

}  // namespace vellumo
