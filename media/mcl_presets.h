#pragma once

// What each conversion preset writes: container, encoders, sound rate and the video rates.
// docs/conversion-library.md lists the same numbers for the reader.

#include "media/mcl.h"

namespace vellumo::mcl::detail {

struct PresetFormat {
    const char* muxer;
    const char* videoEncoder;
    const char* audioEncoder;
    int sampleRate;
    int audioBitRate;
    int standardKbps;  // the preset's own rate
    int standardMaxKbps;
    int highKbps;  // ceiling of videoSetBitRate
    int highMaxKbps;
    int vbvBits;  // 0: one second at the maximum rate
    int gopPal;
    int gopNtsc;
    int bFrames;
};

// The format of preset; every preset has one (the compiler refuses a preset left out).
const PresetFormat& presetFormat(Preset preset);

}  // namespace vellumo::mcl::detail
