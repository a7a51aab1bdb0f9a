#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text in the analysis core is a sequence of Unicode code points, so that a
// "character" of a formula or of a composition line is one code point whatever
// script the user types in. Positions are 1-based where the algorithms speak
// of positions, and always wide enough for any text.
using Text = std::u32string;
using TextView = std::u32string_view;

inline constexpr char32_t kBlank = U' ';
inline constexpr char32_t kCR = U'\r';
inline constexpr char32_t kLF = U'\n';

// Removes blanks (the space character alone, never tabs) from both ends.
TextView TrimBlanks(TextView text);

// Upper-cases every letter that has a simple upper-case form (a, é, ж, ω)
// and leaves every other character alone, whatever the user's locale.
Text UpperCase(TextView text);

bool IsDigit(char32_t c);

// A whole number in decimal digits, for messages.
Text WholeNumberText(std::size_t value);

// Conversions at the edges of the core (tests, files, diagnostics).
Text FromUtf8(std::string_view utf8);
std::string ToUtf8(TextView text);
