#pragma once

#include <QString>

namespace vellumo {

class LyricTable;

// Reads a lyric file to be shown into table (emptied when it cannot be read). Returns the
// message for the user when the file cannot be read or yields no lyric line, else nothing.
QString readShownLyrics(const QString& location, LyricTable& table);

}  // namespace vellumo
