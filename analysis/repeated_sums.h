#pragma once

#include <cstdint>
#include <span>

// The count of an element after a bracket group has been read `passes` more
// times: each pass adds the group's counts of that element to it, one after
// the other, each sum stored in single precision. Returns exactly what that
// loop gives, in time that does not grow with `passes`: within one binade of
// the float format the rounding of every addition depends only on the parity
// of the running sum's last significand bit, so whole runs of passes can be
// taken in one step. Counts and the starting sum must not be negative.
float RepeatSingleSums(float sum, std::span<const float> adds, std::uint64_t passes);
