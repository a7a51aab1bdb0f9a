#pragma once

#include <cmath>
#include <cstddef>
#include <string_view>

// Conversions between binary floating point and decimal text, correctly
// rounded. One implementation per toolchain: the C++ library's <charconv>
// where it has the floating-point forms, the C library's otherwise.
namespace number_text {

// The powers of ten from 10^0 to 10^22, every one exact in a double.
inline constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                          1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// 10 to the power `exponent`: exact from 0 to 22, and from -22 to -1 the
// nearest double (one division of two exact numbers), as the literals give.
inline double PowerOfTen(int exponent) {
    if (exponent >= 0 && exponent <= 22) return kPowersOfTen[exponent];
    if (exponent < 0 && exponent >= -22) return 1.0 / kPowersOfTen[-exponent];
    return std::pow(10.0, exponent);
}

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
