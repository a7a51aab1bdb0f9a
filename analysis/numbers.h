#pragma once

#include <cstdint>

#include "../text/text.h"

// Stores a double into single precision the way IEEE 754 does (nearest, ties
// to even, overflow to infinity) without the undefined behaviour that C++
// gives an out-of-range conversion.
float ToSingle(double value);

// Rounds to `places` decimal places: scale by 10^places, round to the nearest
// whole number with an exact half going to the even neighbour, scale back.
double RoundToPlaces(double value, int places);

// The nearest whole number, ties to even.
double RoundHalfEven(double value);

inline constexpr int kDoubleDigits = 15;
inline constexpr int kSingleDigits = 7;

// The general number form: at most `digits` significant digits, trailing
// zeros and a bare separator dropped, no grouping, `separator` as the decimal
// separator; exponent form (1E-05, 1.5E+20) below 0.0001 in magnitude or when
// the integer digits exceed `digits`.
Text FormatGeneral(double value, int digits, char32_t separator);

// The same text, always from the value rounded digit by digit: slower, and
// the reference that FormatGeneral's shortcut is tested against.
Text FormatGeneralExactly(double value, int digits, char32_t separator);

// The short form of a single-precision value: a leading blank for a value
// that is not negative (a minus sign for a negative one), "." as the point.
Text FormatShort(float value);

// a / b with the IEEE 754 result (infinity or NaN) also when b is zero,
// without performing a division by zero.
double DivideOrInfinity(double a, double b);
