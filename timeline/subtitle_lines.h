#pragma once

// The lyric lines that go into the video as subtitles rather than onto its pictures: those of
// the lyric files whose settings say "歌词作为字幕", each at its album time.

#include <QByteArray>
#include <QVector>

#include "media/mcl.h"

namespace vellumo {

class Album;
class AlbumSequence;

// True when some lyric file puts its lines into a subtitle track.
bool hasSubtitleLyrics(const Album& album);

// Every timed line of such a lyric file, for each music row heard, in album time: from the
// row's start plus the line's time until the file's next line, the row's end (or the next
// row's start) or the album's end, whichever comes first. Empty lines and lyric files that
// cannot be read give none.
QVector<mcl::Subtitle> subtitleLines(const Album& album, const AlbumSequence& sequence);

// The lines as the text of an SRT file (UTF-8, numbered cues, "hh:mm:ss,mmm" times).
QByteArray srtText(const QVector<mcl::Subtitle>& lines);

}  // namespace vellumo
