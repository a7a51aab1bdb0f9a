#pragma once

#include <cstddef>
#include <string_view>

// Conversions between binary floating point and decimal text, correctly
// rounded. One implementation per toolchain: the C++ library's <charconv>
// where it has the floating-point forms, the C library's otherwise.
namespace number_text {

// Room for any text these functions write.
inline constexpr std::size_t kBufferSize = 64;

// "d.ddde+XX" (a "-" in front of a negative value) with `precision` digits
// after the point, the value rounded to nearest, ties to even. Returns the
// length written into `buffer` (kBufferSize bytes).
std::size_t Scientific(double value, int precision, char* buffer);

// A scientific form of the same shape that reads back as exactly the value,
// as a double or (second form) as a float. The fewer its digits the better,
// but it may carry more than the shortest such form has; 0 where none is
// cheaper to have than Scientific's.
std::size_t RoundTripScientific(double value, char* buffer);
std::size_t RoundTripScientific(float value, char* buffer);

// Reads "digits.digits" (no sign, no exponent) into `value`. False when the
// number lies beyond the range of a double, too large or too small but
// nonzero; `value` is then unchanged.
bool ReadFixed(std::string_view text, double& value);

}  // namespace number_text
