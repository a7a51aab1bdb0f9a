#pragma once

#include <cstddef>
#include <cstdint>

#include "../text/text.h"

// A position names the last character consumed, counting from 1; the next
// character is at position + 1. Positions are wide: any text length works.
using TextPosition = std::size_t;

// Reads the number that starts at character position + 1 and moves the
// position onto its last character. The first character is taken whatever it
// is; the run goes on over digits, "." and ",". The first "," counts as the
// decimal point, so "1,5" and "1.5" read alike; the value ends at a second
// separator. Text that holds no number there reads as 0. Locale-independent.
double ReadDigit(TextView text, TextPosition& position);

// The conversion at the end of ReadDigit: leading blanks, tabs and line feeds
// skipped, an optional sign, digits with at most one "." as the point.
double ConvertNumberText(TextView text);

// The precision that an entry of the precision list stands for: its leading
// number, rounded to a whole number, ties to even; 0 for anything outside 0
// to 14.
std::int16_t PrecisionOfEntry(TextView entry);
