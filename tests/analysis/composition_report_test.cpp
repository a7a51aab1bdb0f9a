#include "analysis/composition_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "analysis/formula_parser.h"
#include "analysis/numbers.h"
#include "tests/doubles.h"

namespace {

Text Lines(std::initializer_list<const char32_t*> lines) {
    Text text;
    bool first = true;
    for (const char32_t* line : lines) {
        if (!first) text += U"\r\n";
        first = false;
        text += line;
    }
    return text;
}

class CompositionReport : public ::testing::Test {
protected:
    Text Report(std::u32string_view formula, int precision, char32_t separator = U'.') {
        test.workspace.Precision = static_cast<std::int16_t>(precision);
        test.workspace.DecimalSeparator = separator;
        AnalizeFormula(test.workspace, formula, box);
        return box.text;
    }
    TestWorkspace test;
    RecordingTextBox box;
};

}  // namespace

TEST_F(CompositionReport, WritesTheWorkedExampleOfWater) {
    EXPECT_EQ(Report(U"H2O", 2), Lines({U"# Масса - 18.01528", U"# 1.00794 * 2 + 15.9994 * 1 = 18.01528 #", U"",
                                        U"H - 11.19%", U"O - 88.81%", U"# 11.19% + 88.81% = 100% #"}));
    EXPECT_EQ(Report(U"H2O", 1), Lines({U"# Масса - 18.01528", U"# 1.00794 * 2 + 15.9994 * 1 = 18.01528 #", U"",
                                        U"H - 11.2%", U"O - 88.8%", U"# 11.2% + 88.8% = 100% #"}));
    EXPECT_EQ(Report(U"H2O", 14),
              Lines({U"# Масса - 18.01528", U"# 1.00794 * 2 + 15.9994 * 1 = 18.01528 #", U"", U"H - 11.1898345501602%",
                     U"O - 88.810166727103%", U"# 11.18983% + 88.81017% = 100% #"}));
    // Whatever the precision, the records keep the unrounded single-precision percentages.
    for (int precision : {0, 14}) {
        Report(U"H2O", precision);
        EXPECT_EQ(FormatGeneral(test.workspace.Composition[1].Percent, 7, U'.'), U"11.18983");
        EXPECT_EQ(FormatGeneral(test.workspace.Composition[2].Percent, 7, U'.'), U"88.81017");
    }
    EXPECT_EQ(Report(U"H2O", 2, U','), Lines({U"# Масса - 18,01528", U"# 1,00794 * 2 + 15,9994 * 1 = 18,01528 #", U"",
                                              U"H - 11,19%", U"O - 88,81%", U"# 11,19% + 88,81% = 100% #"}));
}

TEST_F(CompositionReport, WritesTheEdgeExamples) {
    EXPECT_EQ(Report(U"O2", 1),
              Lines({U"# Масса - 31.9988", U"# 15.9994 * 2 = 31.9988 #", U"", U"O - 100%", U"# 100% = 100% #"}));
    EXPECT_EQ(Report(U"O2", 14), Lines({U"# Масса - 31.9988", U"# 15.9994 * 2 = 31.9988 #", U"",
                                        U"O - 99.9999991321238%", U"# 100% = 100% #"}));
    const Text glucose = Report(U"C6H12O6", 2);
    EXPECT_NE(glucose.find(U"# Масса - 180.1577\r\n"), Text::npos);
    EXPECT_NE(glucose.find(U"\r\nC - 40%\r\n"), Text::npos);
    EXPECT_EQ(Report(U"HC4", 2), Lines({U"# Масса - 49.05194", U"# 1.00794 * 1 + 12.011 * 4 = 49.05194 #", U"",
                                        U"H - 2.05%", U"C - 97.95%", U"# 2.05% + 97.95% = 99.99999% #"}));
    EXPECT_EQ(Report(U"HeSi", 0), Lines({U"# Масса - 32", U"# 4 * 1 + 28 * 1 = 32 #", U"", U"He - 12%", U"Si - 88%",
                                         U"# 12% + 88% = 100% #"}));
    EXPECT_EQ(Report(U"Xx", 1), Lines({U"# Масса - 1", U"# 0 * 1 = 1 #", U"", U"Xx - 0%", U"# 0% = 0% #"}));
}

TEST_F(CompositionReport, NumbersBeyondSinglePrecisionGiveOneMessageAndNoReport) {
    // A count, a group index, and an infinite count of an element of mass 0.
    for (const Text& formula : {U"H" + Text(40, U'9'), U"(H" + Text(39, U'9') + U")99", U"Xx" + Text(45, U'9')}) {
        const Text before = Report(U"H2O", 2);
        test.messages.shown.clear();
        EXPECT_EQ(Report(formula, 2), before) << ToUtf8(formula);
        ASSERT_FALSE(test.messages.shown.empty());
        EXPECT_EQ(test.messages.shown.back(), kNumbersTooLargeMessage) << ToUtf8(formula);
        EXPECT_EQ(std::count(test.messages.shown.begin(), test.messages.shown.end(), Text(kNumbersTooLargeMessage)), 1);
    }
    // The largest count that single precision holds is still reported.
    test.messages.shown.clear();
    EXPECT_EQ(Report(U"H" + Text(38, U'9'), 2).substr(0, 11), U"# Масса - 1");
    EXPECT_TRUE(test.messages.shown.empty());
}

// The report box's bound, as both shells ask it: what an insertion keeps of
// its start, given the box's text and the selection it replaces.
TEST(ReportBoxBound, KeepsTheStartThatFitsAndNeverHalfACharacter) {
    constexpr std::size_t kFull = kReportBoxCapacity;
    struct Row {
        const char* what;
        std::size_t held, replaced, inserted, kept;
        std::size_t highAt = SIZE_MAX;  // where the insertion's one high surrogate is, if anywhere
    };
    const Row rows[] = {
        {"an empty box takes all that fits", 0, 0, kFull, kFull},
        {"one more is cut", 0, 0, kFull + 1, kFull},
        {"a full box takes nothing", kFull, 0, 5, 0},
        {"the selection gives way", kFull, 3, 5, 3},
        {"a selection longer than the text", 2, 7, kFull + 9, kFull},
        {"a pair across the cut goes whole", 10, 0, kFull, kFull - 11, kFull - 11},
        {"a pair before the cut stays", 10, 0, kFull, kFull - 10, kFull - 12},
        {"a pair that fits whole stays", 0, 0, 4, 4, 3},
        {"a box one short takes one unit, not half a pair", kFull - 1, 0, 2, 0, 0},
    };
    for (const Row& row : rows) {
        int asked = 0;
        const auto unitAt = [&](std::size_t i) -> char16_t {
            ++asked;
            return i == row.highAt ? u'\xD83D' : u'a';
        };
        EXPECT_EQ(ReportBoxKeeps(row.held, row.replaced, row.inserted, unitAt), row.kept) << row.what;
        EXPECT_LE(asked, 1) << row.what;
    }
}
