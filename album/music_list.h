#pragma once

// The album's music in the order it was added, each file with its playing time. A file the
// music player cannot open is replaced by a WAV copy the converter makes in "linshi/".

#include <QString>
#include <QVector>
#include <functional>

namespace vellumo {

class MusicPlayer;

struct MusicRecord {
    QString name;      // the chosen file's name without folder and extension
    QString format;    // extension of the file played: ".mp3", or ".wav" for a copy
    QString duration;  // "00:" + minutes + ":" + seconds
    QString location;  // the file played
};

// Where the converted copy of a file called name goes in folder: name + ".wav", or name + "_2.wav",
// "_3.wav" … when that file exists already, so that every copy has a name of its own.
QString convertedCopyPath(const QString& folder, const QString& name);

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
    // open it (pump runs while the converter works). On failure nothing is added and the
    // returned text says why; empty on success. The player keeps the file open.
    QString add(const QString& path, MusicPlayer& player, const std::function<void()>& pump = {});

private:
    QVector<MusicRecord> records_;
};

}  // namespace vellumo
