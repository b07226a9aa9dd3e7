#include "album/lyrics.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

#include "workspace/errors.h"
#include "workspace/packed_file.h"
#include "workspace/text_codec.h"

namespace vellumo {

namespace {

const QString kHeaderKeys[] = {QStringLiteral("ti"), QStringLiteral("ar"), QStringLiteral("al"),
                               QStringLiteral("by")};

bool isHeaderKey(QStringView key) {
    for (const QString& k : kHeaderKeys) {
        if (key == k) {
            return true;
        }
    }
    return false;
}

// The entries of one lyric line, scanned from its second-to-last character back to its first.
void scanLine(const QString& line, QVector<LyricEntry>& entries) {
    QVector<qsizetype> closes;
    QVector<qsizetype> opens;
    qsizetype end = line.size();  // the line "as it now stands" is line.left(end)
    QString previousText;
    for (qsizetype p = line.size() - 2; p >= 0; --p) {
        const QChar c = line[p];
        if (c == u']') {
            closes.append(p);
            continue;
        }
        if (c != u'[') {
            continue;
        }
        opens.append(p);
        const qsizetype j = opens.size();
        if (j <= closes.size()) {
            const qsizetype q = closes[j - 1];
            LyricEntry entry;
            entry.tag = line.mid(p + 1, q - p - 1);
            if (j == 1) {
                entry.text = line.mid(closes.first() + 1);
            } else if (closes.last() + 1 == opens[j - 2]) {
                entry.text = previousText;  // Tags that touch share the line's text.
            } else {
                entry.text = line.mid(q + 1, end - q - 1);
            }
            previousText = entry.text;
            entries.append(entry);
        }
        end = p;
    }
}

// Takes the word time tags out of a line's text, noting where each word starts and when.
// Anything in angle brackets that is not a time stays as text.
QVector<LyricWord> takeWordTimes(QString& text) {
    QVector<LyricWord> words;
    if (!text.contains(u'<')) {
        return words;
    }
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] == u'<') {
            const qsizetype close = text.indexOf(u'>', i + 1);
            if (close > i) {
                const qint64 ms = lyricTagMs(QStringView(text).mid(i + 1, close - i - 1));
                if (ms >= 0) {
                    words.append(LyricWord{plain.size(), ms});
                    i = close + 1;
                    continue;
                }
            }
        }
        plain.append(text[i]);
        ++i;
    }
    text = plain;
    return words;
}

}  // namespace

qint64 lyricTagMs(QStringView tag) {
    const auto digitsAt = [&tag](qsizetype from, qsizetype count) -> qint64 {
        qint64 n = 0;
        for (qsizetype i = from; i < from + count; ++i) {
            if (i >= tag.size() || tag[i] < u'0' || tag[i] > u'9') {
                return -1;
            }
            n = n * 10 + (tag[i].unicode() - u'0');
        }
        return n;
    };
    if (tag.size() < 5 || tag[2] != u':') {
        return -1;
    }
    const qint64 minutes = digitsAt(0, 2);
    const qint64 seconds = digitsAt(3, 2);
    if (minutes < 0 || seconds < 0 || seconds > 59) {
        return -1;
    }
    qint64 ms = (minutes * 60 + seconds) * 1000;
    if (tag.size() == 5) {
        return ms;
    }
    const qsizetype fraction = tag.size() - 6;
    if ((tag[5] != u'.' && tag[5] != u':') || fraction < 1 || fraction > 3) {
        return -1;
    }
    const qint64 part = digitsAt(6, fraction);
    if (part < 0) {
        return -1;
    }
    ms += fraction == 1 ? part * 100 : fraction == 2 ? part * 10 : part;
    return ms;
}

QString decodeLyricText(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        return QString::fromUtf8(bytes.mid(3));
    }
    // Windows editors save "Unicode" text as UTF-16 with its mark.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                          : QStringDecoder::Utf16BE);
        return utf16.decode(bytes.mid(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return asUtf8;
    }
    return fromGbk(bytes);
}

LyricTable LyricTable::fromText(const QString& text) {
    QStringList headers;
    QStringList lyricLines;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        (line.endsWith(u']') ? headers : lyricLines).append(line);
    }

    QVector<LyricEntry> timed;
    for (const QString& line : lyricLines) {
        if (!line.isEmpty()) {
            scanLine(line, timed);
        }
    }
    // Header tags written as lyric lines ("[ti:A] ") join the headers, ti first.
    for (const QString& key : kHeaderKeys) {
        for (qsizetype i = 0; i < timed.size();) {
            if (timed[i].tag.startsWith(key)) {
                headers.append(u'[' + timed[i].tag + u']');
                timed.removeAt(i);
            } else {
                ++i;
            }
        }
    }
    LyricTable table;
    table.entries_.append(LyricEntry{QStringLiteral("00:00"), QString()});
    table.lineTimes_.append(0);
    for (LyricEntry& entry : timed) {
        const qint64 ms = lyricTagMs(entry.tag);
        if (ms < 0) {
            table.entries_.append(entry);
            continue;
        }
        table.lineTimes_.append(ms);
        QVector<LyricWord> words = takeWordTimes(entry.text);
        if (!words.isEmpty()) {
            table.words_.insert(table.entries_.size(), std::move(words));
        }
        table.entries_.append(entry);
    }
    std::sort(table.lineTimes_.begin(), table.lineTimes_.end());
    for (const QString& header : headers) {
        if (header.size() >= 3 && isHeaderKey(QStringView(header).mid(1, 2))) {
            table.entries_.append(LyricEntry{header.mid(1, 2), header.mid(4, header.size() - 5)});
        }
    }
    return table;
}

LyricTable LyricTable::fromBytes(const QByteArray& bytes) {
    return fromText(decodeLyricText(bytes));
}

LyricTable LyricTable::read(const QString& path) {
    return fromBytes(readWholeFile(path));
}

const LyricEntry* LyricTable::find(QStringView timeText) const {
    for (const LyricEntry& entry : entries_) {
        if (entry.tag.startsWith(timeText)) {
            return &entry;
        }
    }
    return nullptr;
}

LyricTiming LyricTable::timing(qsizetype entry) const {
    LyricTiming t;
    if (entry < 0 || entry >= entries_.size()) {
        return t;
    }
    t.startMs = lyricTagMs(entries_[entry].tag);
    if (t.startMs < 0) {
        return t;
    }
    t.words = words_.value(entry);
    const auto next = std::upper_bound(lineTimes_.cbegin(), lineTimes_.cend(), t.startMs);
    if (next != lineTimes_.cend()) {
        t.endMs = *next;
    }
    // A last word time at the line's very end closes the line.
    if (!t.words.isEmpty() && t.words.last().position >= entries_[entry].text.size() &&
        t.words.last().startMs > t.startMs) {
        t.endMs = t.endMs < 0 ? t.words.last().startMs : std::min(t.endMs, t.words.last().startMs);
    }
    return t;
}

qreal LyricTable::sungCharacters(qsizetype entry, qint64 ms) const {
    const LyricTiming t = timing(entry);
    if (t.startMs < 0) {
        return 0;
    }
    const auto size = static_cast<qreal>(entries_[entry].text.size());
    // Between from and to, the characters between first and last fill evenly.
    const auto share = [ms](qint64 from, qint64 to, qreal first, qreal last) {
        if (ms <= from) {
            return ms < from ? -1.0 : first;
        }
        if (to <= from || ms >= to) {
            return last;
        }
        return first +
               (last - first) * static_cast<qreal>(ms - from) / static_cast<qreal>(to - from);
    };
    if (t.words.isEmpty()) {
        return std::max(0.0, share(t.startMs, t.endMs, 0, size));
    }
    // Text before the first word time is sung with the line's start.
    qreal sung = std::min<qreal>(size, static_cast<qreal>(t.words.first().position));
    if (ms < t.startMs) {
        return 0;
    }
    for (qsizetype w = 0; w < t.words.size(); ++w) {
        const LyricWord& word = t.words[w];
        const bool last = w + 1 == t.words.size();
        const qint64 to = last ? t.endMs : t.words[w + 1].startMs;
        const qreal end = last ? size : static_cast<qreal>(t.words[w + 1].position);
        const qreal now = share(word.startMs, to, static_cast<qreal>(word.position), end);
        if (now < 0) {
            break;
        }
        sung = std::min(size, now);
    }
    return sung;
}

bool LyricTable::hasLines() const {
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    // The first entry is the table's own "00:00" start, never a line of the file.
    for (qsizetype i = 1; i < entries_.size(); ++i) {
        const QString& tag = entries_[i].tag;
        if (tag.size() >= 5 && isDigit(tag[0]) && isDigit(tag[1]) && tag[2] == u':' &&
            isDigit(tag[3]) && isDigit(tag[4])) {
            return true;
        }
    }
    return false;
}

QString lyricTimeText(qint64 seconds) {
    qint64 minutes = seconds / 60;
    while (minutes > 60) {
        minutes -= 60;
    }
    const qint64 rest = seconds - 60 * (seconds / 60);
    const auto twoDigits = [](qint64 n) {
        return n < 10 ? u'0' + QString::number(n) : QString::number(n);
    };
    return twoDigits(minutes) + u':' + twoDigits(rest);
}

}  // namespace vellumo
