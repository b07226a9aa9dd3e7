#pragma once

// How the program's memory is held.

namespace vellumo {

// Pictures (photos, frames, staged images) are large blocks allocated and freed all the time, on
// several threads. Left to itself, the C library raises its threshold for mapping a block of its
// own each time such a block is freed, and later pictures come from its heaps, where their pages
// stay resident after they are freed: an hour of preview kept twice the memory it used. Blocks of
// 1 MiB and more are mapped and given back to the system when freed. Called once at start-up;
// false when the C library refuses.
bool keepLargeBlocksMapped();

// The size from which keepLargeBlocksMapped() maps blocks.
constexpr int kLargeBlockBytes = 1 << 20;

}  // namespace vellumo
