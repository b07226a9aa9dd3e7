#pragma once

// Silence as a WAV file, 8-bit mono at 8 kHz: small even for minutes. The disc menus carry it as
// their sound, which DVD players want, and tests use it as music of a known length.

#include <QByteArray>

namespace vellumo {

// The whole file, header included, for the given length.
QByteArray silentWav(double seconds);

}  // namespace vellumo
