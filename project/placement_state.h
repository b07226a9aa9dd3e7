#pragma once

// The placement state the album keeps between runs: the mode and the combined wrap cursors.

#include <QString>

namespace vellumo {

enum class PlacementMode { Random, Combined };  // "shiyong_suijimoban" / "shiyong_zuhemoban"
inline QString placementModeWord(PlacementMode mode) {
    return mode == PlacementMode::Random ? QStringLiteral("shiyong_suijimoban")
                                         : QStringLiteral("shiyong_zuhemoban");
}

// Where combined placement took its last photo of each orientation: -1 before the first. The
// cursors live on between templates and between runs.
struct WrapCursors {
    int landscape = -1;
    int portrait = -1;
};

}  // namespace vellumo
