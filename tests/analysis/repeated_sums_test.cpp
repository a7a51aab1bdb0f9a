#include "analysis/repeated_sums.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

float PlainLoop(float sum, const std::vector<float>& adds, std::uint64_t passes) {
    for (std::uint64_t pass = 0; pass < passes; ++pass)
        for (const float add : adds) sum = sum + add;
    return sum;
}

}  // namespace

// The shortcut must give what adding pass after pass gives, to the last bit,
// including where sums round at binade edges and halves round to even.
TEST(RepeatSingleSums, EqualsThePlainLoopBitForBit) {
    std::mt19937 random(20261207);
    const float pool[] = {1, 2, 3, 0.5f, 0.25f, 0.1f, 1.5f, 7, 12, 0.333f, 1e-7f, 1e-40f, 1e30f, 0, 4096, 6.5f};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pool) - 1);
    std::uniform_int_distribution<int> count(1, 4);
    std::uniform_int_distribution<std::uint64_t> passes(0, 300000);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<float> adds;
        for (int i = count(random); i > 0; --i) adds.push_back(pool[pick(random)]);
        const float start = trial % 3 == 0 ? 0.0f : pool[pick(random)] * 1000.0f;
        const std::uint64_t n = trial < 20 ? static_cast<std::uint64_t>(trial) : passes(random);
        const float expected = PlainLoop(start, adds, n);
        EXPECT_EQ(RepeatSingleSums(start, adds, n), expected) << "trial " << trial;
    }
    // Passes whose increments of the sum's last place alternate between two values.
    const std::vector<float> alternating = {1.0f / 3, 0.7f, 6.73698425f};
    EXPECT_EQ(RepeatSingleSums(370.239716f, alternating, 474), PlainLoop(370.239716f, alternating, 474));
}

// Every pass count over the first binade edges: the shortcut stops short of
// each edge and never steps over it.
TEST(RepeatSingleSums, EqualsThePlainLoopAtEveryBinadeEdge) {
    for (const std::vector<float>& adds : {std::vector<float>{0.1f}, {0.3f, 0.7f}, {1.0f / 3}, {2.5f}})
        for (std::uint64_t passes = 0; passes <= 600; ++passes)
            ASSERT_EQ(RepeatSingleSums(0.7f, adds, passes), PlainLoop(0.7f, adds, passes)) << passes;
}

TEST(RepeatSingleSums, ReachesTheSaturatedSumOfAHugeIndexQuickly) {
    // 1 added to 16777216 in single precision gives 16777216 again.
    const std::vector<float> one = {1};
    EXPECT_EQ(RepeatSingleSums(1, one, 2147483646), 16777216.0f);
    EXPECT_EQ(RepeatSingleSums(1, one, std::uint64_t{1} << 62), 16777216.0f);
    const std::vector<float> mixed = {16000, 0.001f, 0.001f, 3};
    EXPECT_EQ(RepeatSingleSums(5, mixed, 20000000), PlainLoop(5, mixed, 20000000));
}
