#include "media/mcl_presets.h"

#include <algorithm>

namespace vellumo::mcl::detail {

namespace {

struct PresetRow {
    Preset preset;
    PresetFormat format;
};

// Muxer, video and sound encoders, sound rate and bit rate, standard rate and maximum, high
// rate and maximum (kbit/s), VBV buffer, GOP under PAL and NTSC, B-frames; the disc presets
// add the display aspect, closed GOPs, scan offsets, the muxer's pack size, rate and delay, and
// a sound stream always.
constexpr PresetRow kPresets[] = {
    {Preset::Vcd,
     {"mpeg", "mpeg1video", "mp2", 44100, 224000, 1150, 1150, 3000, 3000, 327680, 15, 18, 2}},
    {Preset::Svcd,
     {"svcd", "mpeg2video", "mp2", 44100, 224000, 2500, 2600, 6000, 8000, 917504, 15, 18, 2}},
    {Preset::Dvd,
     {"dvd", "mpeg2video", "ac3", 48000, 192000, 5000, 8000, 8000, 9000, 1835008, 15, 18, 2}},
    {Preset::Avi,
     {"avi", "mpeg4", "libmp3lame", 44100, 192000, 2000, 4000, 8000, 12000, 0, 50, 60, 0}},
    {Preset::Mp4, {"mp4", "libx264", "aac", 48000, 160000, 2500, 5000, 8000, 12000, 0, 50, 60, 2}},
    {Preset::Mp4Hevc,
     {"mp4", "libx265", "aac", 48000, 160000, 2500, 5000, 8000, 12000, 0, 50, 60, 2}},
    // A VCD player's stream: constant 1150 kbit/s whatever the quality, 4:3.
    {Preset::VcdDisc,
     {"vcd", "mpeg1video", "mp2", 44100, 224000,  1150,   1150, 1150, 1150, 327680, 15, 18, 2, 4,
      3,     true,         false, 2324,  1411200, 440000, true}},
    {Preset::SvcdDisc, {"svcd", "mpeg2video", "mp2", 44100, 224000, 2000, 2500, 2300, 2500, 1835008,
                        15,     18,           2,     4,     3,      true, true, 2324, 0,    0}},
    // DVD-Video: 16:9 anamorphic, at most 9.8 Mbit/s, a VBV buffer of 224 KiB.
    {Preset::DvdVideo,
     {"dvd", "mpeg2video", "ac3", 48000, 192000, 5000, 8000,     8000, 9800, 1835008, 15, 18,
      2,     16,           9,     true,  false,  2048, 10080000, 0,    true}},
    // A DVD-Video menu: the same stream at 4:3.
    {Preset::DvdMenu,
     {"dvd", "mpeg2video", "ac3", 48000, 192000,   5000, 8000, 8000, 9800, 1835008, 15, 18, 2, 4,
      3,     true,         false, 2048,  10080000, 0,    true}},
};

constexpr const PresetRow* rowOf(Preset preset) {
    for (const PresetRow& row : kPresets) {
        if (row.preset == preset) {
            return &row;
        }
    }
    return nullptr;
}

// Every preset has exactly its row. The switch has no default, so with warnings as errors a
// preset added to the enumeration does not build until it is named here, and the assertion
// below holds it to a row.
constexpr bool hasItsRow(Preset preset) {
    switch (preset) {
        case Preset::Vcd:
        case Preset::Svcd:
        case Preset::Dvd:
        case Preset::Avi:
        case Preset::Mp4:
        case Preset::VcdDisc:
        case Preset::SvcdDisc:
        case Preset::DvdVideo:
        case Preset::DvdMenu:
        case Preset::Mp4Hevc:
            return rowOf(preset) != nullptr &&
                   std::count_if(std::begin(kPresets), std::end(kPresets),
                                 [preset](const PresetRow& row) { return row.preset == preset; }) ==
                       1;
    }
    return false;
}

static_assert(hasItsRow(Preset::Vcd) && hasItsRow(Preset::Svcd) && hasItsRow(Preset::Dvd) &&
              hasItsRow(Preset::Avi) && hasItsRow(Preset::Mp4) && hasItsRow(Preset::VcdDisc) &&
              hasItsRow(Preset::SvcdDisc) && hasItsRow(Preset::DvdVideo) &&
              hasItsRow(Preset::DvdMenu) && hasItsRow(Preset::Mp4Hevc));

}  // namespace

const PresetFormat& presetFormat(Preset preset) {
    // A number outside the enumeration (a caller's cast) gets the first preset, the one in
    // force before a preset is set.
    const PresetRow* row = rowOf(preset);
    return (row != nullptr ? row : rowOf(Preset::Vcd))->format;
}

}  // namespace vellumo::mcl::detail
