#pragma once

// LRC lyric files: the lyric table read from one file, the time texts it is searched with, and
// the simplified/traditional Chinese conversion applied to a line before it is shown.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

namespace vellumo {

struct LyricEntry {
    QString tag;  // a time tag such as 01:05.32, or a header key (ti, ar, al, by)
    QString text;
    friend bool operator==(const LyricEntry&, const LyricEntry&) = default;
};

// A word of a karaoke line (enhanced LRC: "<01:05.32>word"): where it starts in the line's
// shown text and when it starts to be sung.
struct LyricWord {
    qsizetype position = 0;
    qint64 startMs = 0;
    friend bool operator==(const LyricWord&, const LyricWord&) = default;
};

// When a lyric line is sung: from its own time tag to the next line's (or to its last word time
// when the line ends in one), with the times of its words when the file gives them.
struct LyricTiming {
    qint64 startMs = -1;  // -1: the entry is no timed line
    qint64 endMs = -1;    // -1: nothing follows, the line is sung from its start on
    QVector<LyricWord> words;
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
    // The timing of entry i; word time tags are taken out of the entry's text when it is read,
    // so no "<mm:ss.xx>" is ever shown.
    LyricTiming timing(qsizetype entry) const;
    // How many characters of entry i's text have been sung at ms (within the file's time),
    // fractional while a character is being sung: word by word when the line has word times,
    // else evenly from the line's time to the next line's.
    qreal sungCharacters(qsizetype entry, qint64 ms) const;
    // The first entry whose tag begins with the time text; nothing when none does.
    const LyricEntry* find(QStringView timeText) const;
    // True when some entry can ever be shown: a lyric line whose time tag begins with two-digit
    // minutes and seconds, as lyricTimeText() looks them up.
    bool hasLines() const;
    void clear() {
        entries_.clear();
        words_.clear();
        lineTimes_.clear();
    }

private:
    QVector<LyricEntry> entries_;
    QHash<qsizetype, QVector<LyricWord>> words_;  // by entry, only lines with word times
    QVector<qint64> lineTimes_;                   // every timed line's start, ascending
};

// The lookup key for a whole number of seconds: two-digit minutes and seconds, "02:05".
QString lyricTimeText(qint64 seconds);

// Milliseconds of a time tag "mm:ss", "mm:ss.x", "mm:ss.xx" or "mm:ss.xxx"; -1 for anything else.
qint64 lyricTagMs(QStringView tag);

// Text of a lyric file in the code page the system reads it with.
QString decodeLyricText(const QByteArray& bytes);

}  // namespace vellumo
