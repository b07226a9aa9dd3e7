#pragma once

// The album's clock: its length in frames and the clock texts the preview and the production
// show.

#include <QString>

namespace vellumo {

class Album;

// Hours, minutes and seconds of a number of seconds, two digits each at least.
QString clockText(qint64 seconds);
// The clock text of a number of frames at 25 frames a second.
QString clockTextOfFrames(qint64 frames);

// The frames the clock counts for an album: every complete used template, plus 150 for the
// closing movie.
qint64 albumTotalFrames(const Album& album);

}  // namespace vellumo
