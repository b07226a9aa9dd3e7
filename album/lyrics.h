#pragma once

// LRC lyric files: the lyric table read from one file, the time texts it is searched with, and
// the simplified/traditional Chinese conversion applied to a line before it is shown.

#include <QByteArray>
#include <QString>
#include <QVector>

namespace vellumo {

struct LyricEntry {
    QString tag;  // a time tag such as 01:05.32, or a header key (ti, ar, al, by)
    QString text;
    friend bool operator==(const LyricEntry&, const LyricEntry&) = default;
};

// The entries of one LRC file, in the order the file gives them: first ("00:00", empty), then
// every time tag of the lyric lines (within a line from the last tag to the first), then the
// ti, ar, al and by headers. Nothing is sorted.
class LyricTable {
public:
    static LyricTable fromText(const QString& text);
    // The file's text is UTF-8 or UTF-16 (little or big end first) when it starts with that
    // byte-order mark; otherwise UTF-8 when it is valid UTF-8, else GBK.
    static LyricTable fromBytes(const QByteArray& bytes);
    // Throws FileError when the file cannot be read.
    static LyricTable read(const QString& path);

    const QVector<LyricEntry>& entries() const { return entries_; }
    // The first entry whose tag begins with the time text; nothing when none does.
    const LyricEntry* find(QStringView timeText) const;
    // True when some entry can ever be shown: a lyric line whose time tag begins with two-digit
    // minutes and seconds, as lyricTimeText() looks them up.
    bool hasLines() const;
    void clear() { entries_.clear(); }

private:
    QVector<LyricEntry> entries_;
};

// The lookup key for a whole number of seconds: two-digit minutes and seconds, "02:05".
QString lyricTimeText(qint64 seconds);

// Text of a lyric file in the code page the system reads it with.
QString decodeLyricText(const QByteArray& bytes);

}  // namespace vellumo
