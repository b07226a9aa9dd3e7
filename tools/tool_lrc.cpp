// vellumo-tool lrc: prints the lyric table of an LRC file as Vellumo builds it (file order, a
// line's tags last to first, headers at the end) with the word times of karaoke lines, and the
// line found at each time given, for anyone checking a lyric file.

#include <QRegularExpression>

#include "album/lyrics.h"
#include "tools/tool_commands.h"
#include "tools/tool_common.h"
#include "tools/tool_texts.h"
#include "workspace/errors.h"

namespace vellumo::tool {

namespace {

const QString kUsage = QStringLiteral("usage: lrc FILE [--at MM:SS]...");

// Whole seconds of "MM:SS" (any number of minute digits, two second digits below 60), or -1.
qint64 secondsOf(const QString& time) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,6}):([0-5]\\d)$"));
    const QRegularExpressionMatch match = pattern.match(time);
    if (!match.hasMatch()) {
        return -1;
    }
    return match.captured(1).toLongLong() * 60 + match.captured(2).toLongLong();
}

// A karaoke line's words, each after its time: "\t\t逐字时间: 00:12.00 春天 00:12.80 的".
QString wordTimes(const QString& text, const QVector<LyricWord>& words) {
    QString out = texts::kToolWordTimes;
    for (qsizetype w = 0; w < words.size(); ++w) {
        const qint64 ms = words[w].startMs;
        const qsizetype end = w + 1 < words.size() ? words[w + 1].position : text.size();
        out += QStringLiteral(" %1:%2.%3")
                   .arg(ms / 60000, 2, 10, QLatin1Char('0'))
                   .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
                   .arg(ms % 1000 / 10, 2, 10, QLatin1Char('0'));
        const QString word = text.mid(words[w].position, end - words[w].position).trimmed();
        if (!word.isEmpty()) {
            out += u' ' + word;
        }
    }
    return out;
}

}  // namespace

int runLrc(const QStringList& words) {
    QString file;
    QList<qint64> times;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (word == QStringLiteral("--at")) {
            if (i + 1 >= words.size()) {
                return fail(QStringLiteral("option --at needs a time MM:SS"));
            }
            const qint64 seconds = secondsOf(words[++i]);
            if (seconds < 0) {
                return fail(QStringLiteral("\"%1\" is not a time MM:SS").arg(words[i]));
            }
            times.append(seconds);
        } else if (word.startsWith(u"--") && word.size() > 2) {
            throw UnknownOption{word};
        } else if (!file.isEmpty()) {
            return fail(kUsage);
        } else {
            file = word;
        }
    }
    if (file.isEmpty()) {
        return fail(kUsage);
    }
    LyricTable table;
    try {
        table = LyricTable::read(file);
    } catch (const Error& error) {
        return fail(error.message());
    }

    printOut(texts::kToolLyricsHeading);
    const QVector<LyricEntry>& entries = table.entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        printOut(QStringLiteral("%1\t%2\t%3").arg(i).arg(entries[i].tag, entries[i].text));
        const LyricTiming timing = table.timing(i);
        if (!timing.words.isEmpty()) {
            printOut(wordTimes(entries[i].text, timing.words));
        }
    }
    if (times.isEmpty()) {
        return 0;
    }
    // Each time is looked up the way the players do: the time text of its whole seconds.
    printOut(QString());
    printOut(texts::kToolLookupHeading);
    for (const qint64 seconds : times) {
        const QString timeText = lyricTimeText(seconds);
        const LyricEntry* found = table.find(timeText);
        const QString time = QStringLiteral("%1:%2")
                                 .arg(seconds / 60, 2, 10, QLatin1Char('0'))
                                 .arg(seconds % 60, 2, 10, QLatin1Char('0'));
        if (found == nullptr) {
            printOut(texts::kToolLookupMissing.arg(time, timeText));
        } else {
            printOut(QStringLiteral("%1\t%2\t%3\t%4")
                         .arg(time, timeText)
                         .arg(found - entries.constData())
                         .arg(found->text));
        }
    }
    return 0;
}

}  // namespace vellumo::tool
