#pragma once

// Music for tests: a WAV file of silence, 8-bit mono at 8 kHz, small even for minutes.

#include <QString>

#include "media/silent_wav.h"
#include "tests/support/test_files.h"

namespace vellumo::test {

inline QString writeSilentWav(const TempFolder& folder, const QString& name, double seconds) {
    return folder.write(name, silentWav(seconds));
}

}  // namespace vellumo::test
