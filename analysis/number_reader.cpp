#include "number_reader.h"

#include <algorithm>

#include "../elements/mdlVeltrax.h"
#include "numbers.h"
#include "workspace.h"

namespace {

bool ContinuesNumber(char32_t c) { return IsDigit(c) || c == U'.' || c == U','; }

}  // namespace

double ConvertNumberText(TextView text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == kBlank || text[i] == U'\t' || text[i] == kLF)) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == U'+' || text[i] == U'-')) negative = text[i++] == U'-';
    std::size_t consumed = 0;
    const double magnitude = mdlVeltrax::ReadLeadingDecimal(text.substr(i), &consumed);
    // A sign with no digit after it reads as 0, not as -0.
    const TextView number = text.substr(i, consumed);
    return negative && std::any_of(number.begin(), number.end(), IsDigit) ? -magnitude : magnitude;
}

double ReadDigit(TextView text, TextPosition& position) {
    Text work;
    do {
        if (position < text.size()) work.push_back(text[position]);  // character position + 1
        ++position;
    } while (position < text.size() && ContinuesNumber(text[position]));
    if (const auto comma = work.find(U','); comma != Text::npos) work[comma] = U'.';
    return ConvertNumberText(work);
}

std::int16_t PrecisionOfEntry(TextView entry) {
    const double places = RoundHalfEven(ConvertNumberText(entry));
    return static_cast<std::int16_t>(places >= 0 && places <= kMaxPrecision ? places : 0);
}
