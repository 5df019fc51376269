// Host times (value / scale seconds) and composition frames, computed so that
// nothing overflows the host's 32-bit fields and frame numbers come out exact.
#pragma once

#include "host_api.h"

#include <cstdint>

// The scale of the host times the simulation builds: 100000 ticks a second.
constexpr A_u_long kSimulationTimeScale = 100000;

// Seconds as a host time at kSimulationTimeScale, rounded to the nearest tick.
// When the value would not fit the host's signed 32 bits, the scale is lowered
// by factors of ten until it does; a time too large even at scale 1 is clamped.
// Not-a-number gives time 0.
A_Time HostTimeFromSeconds(double seconds);

// The time of a host time in seconds (value / scale in double).
double SecondsFromHostTime(A_Time t);

// The start of `frame` in seconds, divided by `timeDivider`:
// frameDuration.value x frame / frameDuration.scale / timeDivider, in double.
double FrameSeconds(A_Time frameDuration, A_long frame, double timeDivider);

// Whole frames of `frameDuration` in the time a + b, truncated toward zero and
// computed exactly from the rational times. False, with `frames` untouched,
// when the frame duration is not a positive time or a scale is 0.
bool FramesInTime(A_Time a, A_Time b, A_Time frameDuration, int64_t& frames);
bool FramesInTime(A_Time t, A_Time frameDuration, int64_t& frames);

// The time of `frame` whole frames of `frameDuration` (value × frame at the
// duration's scale), computed in 64 bits. False, with `time` untouched, when
// the value does not fit the host's signed 32 bits.
bool FrameTime64(A_Time frameDuration, int64_t frame, A_Time& time);
