#pragma once

// A moving test picture with the frame number drawn on it, for checking the encoder's presets
// and speed without an album.

#include <QImage>
#include <QSize>

namespace vellumo {

// Picture frameNumber of the pattern at the given size: colour bars sliding left, a square
// crossing the picture, and the number in large digits.
QImage testPattern(QSize size, int frameNumber);

}  // namespace vellumo
