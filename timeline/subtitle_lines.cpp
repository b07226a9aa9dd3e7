#include "timeline/subtitle_lines.h"

#include <QHash>

#include <algorithm>

#include "album/lyrics.h"
#include "project/album.h"
#include "timeline/album_sequence.h"
#include "timeline/shown_lyrics.h"

namespace vellumo {

namespace {

QString srtTime(qint64 ms) {
    return QStringLiteral("%1:%2:%3,%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

}  // namespace

bool hasSubtitleLyrics(const Album& album) {
    const LyricsList& lyrics = album.lyrics();
    for (int i = 0; i < lyrics.size(); ++i) {
        if (lyrics.at(i).settings.asSubtitles) {
            return true;
        }
    }
    return false;
}

QVector<mcl::Subtitle> subtitleLines(const Album& album, const AlbumSequence& sequence) {
    QVector<mcl::Subtitle> lines;
    QHash<int, LyricTable> tables;
    const qint64 albumEndMs = sequence.totalFrames() * kAlbumFrameMs;
    const QVector<MusicRow>& rows = sequence.musicRows();
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const MusicRow& row = rows[r];
        if (row.music >= album.lyrics().size() ||
            !album.lyrics().at(row.music).settings.asSubtitles) {
            continue;
        }
        if (!tables.contains(row.music)) {
            LyricTable table;
            readShownLyrics(album.lyrics().at(row.music).location, table);
            tables.insert(row.music, table);
        }
        const LyricTable& table = tables[row.music];
        const LyricSettings& settings = album.lyrics().at(row.music).settings;
        qint64 rowEndMs = std::min(albumEndMs, row.startMs + row.lengthMs);
        if (r + 1 < rows.size()) {
            rowEndMs = std::min(rowEndMs, rows[r + 1].startMs);
        }
        QVector<mcl::Subtitle> rowLines;
        for (qsizetype i = 0; i < table.entries().size(); ++i) {
            const LyricTiming timing = table.timing(i);
            const QString& text = table.entries()[i].text;
            if (timing.startMs < 0 || text.trimmed().isEmpty()) {
                continue;
            }
            const qint64 start = row.startMs + timing.startMs;
            const qint64 end =
                std::min(rowEndMs, timing.endMs >= 0 ? row.startMs + timing.endMs : rowEndMs);
            if (start < end) {
                rowLines.append(mcl::Subtitle{start, end, lyricInScript(settings, text)});
            }
        }
        std::stable_sort(
            rowLines.begin(), rowLines.end(),
            [](const mcl::Subtitle& a, const mcl::Subtitle& b) { return a.startMs < b.startMs; });
        lines += rowLines;
    }
    return lines;
}

QByteArray srtText(const QVector<mcl::Subtitle>& lines) {
    QString text;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        text += QStringLiteral("%1\r\n%2 --> %3\r\n%4\r\n\r\n")
                    .arg(i + 1)
                    .arg(srtTime(lines[i].startMs), srtTime(lines[i].endMs), lines[i].text);
    }
    return text.toUtf8();
}

}  // namespace vellumo
