#include "repeated_sums.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

float OnePass(float sum, std::span<const float> adds) {
    for (const float add : adds) sum = sum + add;
    return sum;
}

// [low, high) holds the floats spaced `ulp` apart that share the sum's exponent;
// the subnormals and the first normal binade share one spacing.
struct Binade {
    double high;
    double ulp;
};

Binade BinadeOf(float sum) {
    constexpr double kTiny = std::numeric_limits<float>::min();
    if (sum < kTiny) return {kTiny, std::numeric_limits<float>::denorm_min()};
    int exponent = 0;
    std::frexp(sum, &exponent);  // sum = m * 2^exponent, 0.5 <= m < 1
    return {std::ldexp(1.0, exponent), std::ldexp(1.0, exponent - std::numeric_limits<float>::digits)};
}

}  // namespace

float RepeatSingleSums(float sum, std::span<const float> adds, std::uint64_t passes) {
    while (passes > 0) {
        if (!std::isfinite(sum)) return sum;  // nothing non-negative changes it any more
        const float first = OnePass(sum, adds);
        if (--passes == 0 || first == sum) return first;  // a pass that changes nothing never will
        const float second = OnePass(first, adds);
        if (--passes == 0 || second == first) return second;

        const Binade binade = BinadeOf(sum);
        if (!(second < binade.high)) {
            sum = second;
            continue;
        }
        // All three sums are whole multiples of the ulp of this binade.
        const auto k0 = static_cast<std::int64_t>(sum / binade.ulp);
        const auto k1 = static_cast<std::int64_t>(first / binade.ulp);
        const auto k2 = static_cast<std::int64_t>(second / binade.ulp);
        const auto kHigh = static_cast<std::int64_t>(binade.high / binade.ulp);
        // If the parity came back after two passes, the pair repeats; otherwise
        // it changed once and has been steady since the first pass.
        const bool pairs = (k2 - k0) % 2 == 0;
        const std::int64_t step = pairs ? k2 - k0 : k2 - k1;
        const std::uint64_t passesPerStep = pairs ? 2 : 1;
        const auto steps =
            std::min<std::uint64_t>(static_cast<std::uint64_t>((kHigh - 1 - k2) / step), passes / passesPerStep);
        sum = static_cast<float>(static_cast<double>(k2 + static_cast<std::int64_t>(steps) * step) * binade.ulp);
        passes -= steps * passesPerStep;
    }
    return sum;
}
