#include "derivation/formula_derivation.h"

#include <gtest/gtest.h>

#include <limits>

#include "analysis/numbers.h"
#include "tests/doubles.h"

namespace {

// Normal text as it is, subscripts in brackets: "C[n]H[ 2n]O[n]". The
// derived formula starts at the top-left corner of the cleared picture.
std::string Drawing(const RecordingSurface& surface) {
    std::string text;
    for (const auto& print : surface.Printed()) {
        if (print.Y == 250 && print.FontSize == 14)
            text += "[" + ToUtf8(print.Printed) + "]";
        else if (print.Y == 0 && print.FontSize == 20)
            text += ToUtf8(print.Printed);
        else
            text += "?";
    }
    return text;
}

ElementRecord Record(const char32_t* symbol, double mass, float percent) {
    ElementRecord record;
    record.Symbol = symbol;
    record.Mass = mass;
    record.Percent = percent;
    return record;
}

class FormulaDerivation : public ::testing::Test {
protected:
    std::string Derive(std::vector<ElementRecord> records, int precision) {
        auto& table = test.workspace.Composition;
        table.assign(1, {});
        table.insert(table.end(), records.begin(), records.end());
        test.workspace.Precision = static_cast<std::int16_t>(precision);
        test.messages.shown.clear();
        surface = RecordingSurface();
        CreateFormula(test.workspace, surface);
        return Drawing(surface);
    }
    TestWorkspace test;
    RecordingSurface surface;
};

const std::vector<ElementRecord> kWorkedExample = {Record(U"C ", 12.011, 40.0f), Record(U"H ", 1.00794, 6.7f),
                                                   Record(U"O ", 15.9994, 53.3f)};

}  // namespace

TEST_F(FormulaDerivation, DerivesTheWorkedExample) {
    EXPECT_EQ(Derive(kWorkedExample, 1), "C[n]H[ 2n]O[n]");
    EXPECT_TRUE(test.messages.shown.empty());
    const auto& table = test.workspace.Composition;
    const char32_t* moles[] = {U"3.330281", U"6.647221", U"3.331375"};
    const char32_t* counts[] = {U"1", U"1.995994", U"1.000329"};
    for (std::size_t i = 1; i <= 3; ++i) {
        EXPECT_EQ(FormatGeneral(table[i].Moles, 7, U'.'), moles[i - 1]);
        EXPECT_EQ(FormatGeneral(table[i].Count, 7, U'.'), counts[i - 1]);
    }
    EXPECT_EQ(Derive(kWorkedExample, 3), "C[n]H[ 1.996n]O[n]");
    EXPECT_EQ(Derive(kWorkedExample, 4), "C[n]H[ 1.996n]O[ 1.0003n]");
    // Each symbol goes on where the subscript before it ended, on the formula line.
    EXPECT_EQ(surface.Printed()[2].X, surface.Printed()[1].X + RecordingSurface::Width(U"n", 14));
    EXPECT_EQ(surface.Printed()[2].Y, 0);
}

TEST_F(FormulaDerivation, RoundsRatiosToThePrecisionWithTiesToEven) {
    const std::vector<ElementRecord> ironOxide = {Record(U"Fe", 55.84, 69.94f), Record(U"O ", 15.9994, 30.06f)};
    EXPECT_EQ(Derive(ironOxide, 0), "Fe[n]O[ 2n]");
    EXPECT_EQ(Derive(ironOxide, 1), "Fe[n]O[ 1.5n]");
    // Masses of 1 make the ratios exact: 1, 2.5, 3.5, 3.
    const std::vector<ElementRecord> halves = {Record(U"A ", 1, 10), Record(U"B ", 1, 25), Record(U"C ", 1, 35),
                                               Record(U"D ", 1, 30)};
    EXPECT_EQ(Derive(halves, 0), "A[n]B[ 2n]C[ 4n]D[ 3n]");
    EXPECT_EQ(Derive(halves, 14), "A[n]B[ 2.5n]C[ 3.5n]D[ 3n]");
}

TEST_F(FormulaDerivation, ReportsASumOutsideNinetyNineToOneHundredAndOne) {
    for (float edge : {99.0f, 101.0f}) {
        Derive({Record(U"C ", 12.011, edge)}, 1);
        EXPECT_TRUE(test.messages.shown.empty()) << edge;
    }
    test.workspace.DecimalSeparator = U',';
    EXPECT_EQ(Derive({Record(U"C ", 12.011, 98.9f)}, 1), "C[n]");
    ASSERT_EQ(test.messages.shown.size(), 1u);
    EXPECT_EQ(test.messages.shown[0],
              U"Сумма всех процентов составляет 98,9%, а не 100%. Полученная формула может быть не точна. "
              U"Проверьте введенные значения, процентный и химический состав вещества.");
    Derive({Record(U"C ", 12.011, 101.1f)}, 1);
    EXPECT_EQ(test.messages.shown.size(), 1u);
}

TEST_F(FormulaDerivation, DrawsEveryRecordAsTypedEvenTwice) {
    const std::vector<ElementRecord> twice = {Record(U"C ", 12.011, 20), Record(U"C ", 12.011, 20),
                                              Record(U"H ", 1.00794, 6.7f), Record(U"O ", 15.9994, 53.3f)};
    EXPECT_EQ(Derive(twice, 1), "C[n]C[n]H[ 4n]O[ 2n]");
    EXPECT_EQ(Derive({Record(U"c ", 12.011, 100)}, 1), "c[n]");
}

TEST_F(FormulaDerivation, DrawsZeroWhereNoRatioCanBeFormed) {
    EXPECT_EQ(Derive({Record(U"C ", 12.011, 0), Record(U"H ", 1.00794, 100)}, 1), "C[ 0n]H[ 0n]");
    // A mass of 0 from an edited element file.
    EXPECT_EQ(Derive({Record(U"C ", 0, 50), Record(U"H ", 1.00794, 50)}, 1), "C[ 0n]H[n]");
    EXPECT_EQ(Derive({Record(U"C ", 0, 0), Record(U"H ", 1.00794, 100)}, 1), "C[ 0n]H[n]");
    // A quotient beyond single precision.
    EXPECT_EQ(Derive({Record(U"C ", 1, 1e-30f), Record(U"H ", 1, 1e30f)}, 1), "C[n]H[ 0n]");
    EXPECT_EQ(test.workspace.Composition[2].Count, 0);
}

TEST_F(FormulaDerivation, LeavesThePictureAloneForAnEmptyTable) {
    surface.Print(U"kept");
    test.workspace.Composition.assign(1, {});
    CreateFormula(test.workspace, surface);
    EXPECT_EQ(surface.clears, 0);
    EXPECT_EQ(surface.Printed().size(), 1u);
    EXPECT_TRUE(test.messages.shown.empty());
}

TEST_F(FormulaDerivation, PercentagesBeyondSinglePrecisionGiveOneMessageAndNoDrawing) {
    const float infinity = std::numeric_limits<float>::infinity();
    const std::vector<std::vector<ElementRecord>> tooLarge = {
        {Record(U"C ", 12.011, infinity)},                                      // read as 1E+39
        {Record(U"C ", 12.011, 3e38f), Record(U"H ", 1.00794, 3e38f)},          // a sum that overflows
        {Record(U"C ", 12.011, infinity), Record(U"H ", 1.00794, -infinity)}};  // a sum that is no number
    for (const auto& records : tooLarge) {
        EXPECT_EQ(Derive(records, 1), "");
        EXPECT_EQ(surface.clears, 1);
        ASSERT_EQ(test.messages.shown.size(), 1u);
        EXPECT_EQ(test.messages.shown[0], kCompositionNumbersTooLargeMessage);
    }
    // The largest single-precision percentages still add up to a finite sum.
    Derive({Record(U"C ", 12.011, 1e38f), Record(U"H ", 1.00794, 1e38f)}, 1);
    ASSERT_EQ(test.messages.shown.size(), 1u);
    EXPECT_EQ(test.messages.shown[0].find(U'∞'), Text::npos);
}
