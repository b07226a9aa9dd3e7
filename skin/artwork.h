#pragma once

// Pictures of our own: the splash picture, the static start picture and the program icon.

#include <QIcon>
#include <QImage>

namespace vellumo::artwork {

inline constexpr int kSplashWidth = 500;
inline constexpr int kSplashHeight = 249;
inline constexpr int kStartPictureWidth = 800;
inline constexpr int kStartPictureHeight = 450;
inline constexpr int kIconSize = 32;

// Whether the start picture carries its welcome line (the album has no photos yet).
enum class StartHint { Welcome, None };

QImage splashPicture();
QImage startPicture(StartHint hint = StartHint::Welcome);
QImage programIcon(int size = kIconSize);
// The icon at several sizes, for window managers and task bars.
QIcon programIconSet();

}  // namespace vellumo::artwork
