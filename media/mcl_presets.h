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
    // The disc presets: the shape the frame is shown in (0: square pixels, the frame's own
    // shape), every GOP closed, and the muxer's pack size, rate (bit/s) and start delay (µs)
    // the disc's authoring program expects (0: the muxer's own).
    int displayAspectNum = 0;
    int displayAspectDen = 0;
    bool closedGops = false;
    bool scanOffsets = false;  // room for the SVCD player's scan offsets
    int packetSize = 0;
    int muxRate = 0;
    int preloadUs = 0;
    // A sound stream whatever the sound files: silence where they give none (a disc player
    // expects one).
    bool soundAlways = false;
};

// The format of preset; every preset has one (the compiler refuses a preset left out).
const PresetFormat& presetFormat(Preset preset);

}  // namespace vellumo::mcl::detail
