#include "album/lyrics.h"

#include <QFile>
#include <QStringDecoder>

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

}  // namespace

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
    table.entries_ += timed;
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
