// The number reader, the number forms, and the shortcut for repeated group
// passes checked against the plain loop.
#include <cmath>
#include <cstring>
#include <vector>

#include "analysis/number_reader.h"
#include "analysis/numbers.h"
#include "analysis/repeated_sums.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 12) return 0;
    const Text text = BytesAsText(data + 1, size - 1);
    for (TextPosition start : {TextPosition{0}, TextPosition{data[0]}}) {
        TextPosition position = start;
        const double value = ReadDigit(text, position);
        FUZZ_CHECK(position > start);
        FUZZ_CHECK(!std::isnan(value));
    }

    double value = 0;
    std::memcpy(&value, data + 1, sizeof value);
    const int places = data[0] % 15;
    for (int digits : {kSingleDigits, kDoubleDigits}) {
        const Text general = FormatGeneral(value, digits, U',');
        FUZZ_CHECK(!general.empty() && general.size() <= 24);
        FUZZ_CHECK(general == FormatGeneralExactly(value, digits, U','));
        const auto single = static_cast<double>(ToSingle(value));
        FUZZ_CHECK(FormatGeneral(single, digits, U'.') == FormatGeneralExactly(single, digits, U'.'));
    }
    const double rounded = RoundToPlaces(value, places);
    FUZZ_CHECK(std::isnan(value) == std::isnan(rounded));
    (void)FormatShort(ToSingle(rounded));

    // Counts are non-negative; a few passes can be checked against the loop.
    std::vector<float> adds;
    for (std::size_t i = 9; i + 4 <= size && adds.size() < 6; i += 4) {
        float add = 0;
        std::memcpy(&add, data + i, sizeof add);
        if (std::isfinite(add)) adds.push_back(std::fabs(add));
    }
    float start = 0;
    std::memcpy(&start, data + 1, sizeof start);
    if (!std::isfinite(start)) start = 0;
    start = std::fabs(start);
    const std::uint64_t passes = data[0] * 37u;
    float plain = start;
    for (std::uint64_t pass = 0; pass < passes; ++pass)
        for (const float add : adds) plain = plain + add;
    const float fast = RepeatSingleSums(start, adds, passes);
    FUZZ_CHECK(fast == plain || (std::isnan(fast) && std::isnan(plain)));
    return 0;
}
