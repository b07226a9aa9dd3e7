#pragma once

// Geometry of the main window's areas, in client coordinates.

#include <QRect>

namespace vellumo::layout {

inline constexpr int kClientWidth = 1191;
inline constexpr int kClientHeight = 690;
inline constexpr int kTitleHeight = 49;
inline constexpr int kBottomStripHeight = 18;

inline constexpr QRect kIcon{7, 8, 32, 32};
inline constexpr QRect kDisplay{383, 104, 800, 450};
inline constexpr QRect kToolbar{8, 57, 1175, 38};
inline constexpr QRect kSummaries{8, 104, 367, 352};
inline constexpr QRect kTransport{8, 462, 367, 92};
inline constexpr QRect kThumbnails{4, 560, 1183, 106};

}  // namespace vellumo::layout
