#pragma once

// The album's lyric files in the order they were added, each with its own display settings.

#include <QString>
#include <QVector>

#include "album/lyric_settings.h"

namespace vellumo {

struct LyricFileRecord {
    QString name;      // file name without folder and extension
    QString format;    // extension with its dot
    QString location;  // full path, never copied
    LyricSettings settings;
};

class LyricsList {
public:
    const QVector<LyricFileRecord>& records() const { return records_; }
    const LyricFileRecord& at(int row) const { return records_.at(row); }
    int size() const { return static_cast<int>(records_.size()); }
    bool isEmpty() const { return records_.isEmpty(); }

    // Appends a file with the default settings.
    void add(const QString& path);
    // A record with its settings (an album project being opened).
    void append(LyricFileRecord record) { records_.append(std::move(record)); }
    void remove(int row) { records_.removeAt(row); }
    void clear() { records_.clear(); }
    void setSettings(int row, const LyricSettings& settings) { records_[row].settings = settings; }

private:
    QVector<LyricFileRecord> records_;
};

}  // namespace vellumo
