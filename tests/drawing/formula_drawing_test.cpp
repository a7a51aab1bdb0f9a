#include "drawing/formula_drawing.h"

#include <gtest/gtest.h>

#include "tests/doubles.h"

namespace {

using Drawn = RecordingSurface::Drawn;

// "text" for normal type at y = 50, "_text" for a subscript 250 twips lower
// and 6 points smaller.
std::string Sequence(const RecordingSurface& surface) {
    std::string text;
    for (const auto& print : surface.prints) {
        if (!text.empty()) text += " ";
        if (print.y == 300 && print.fontSize == 14)
            text += "_";
        else if (print.y != 50 || print.fontSize != 20)
            text += "?";
        text += ToUtf8(print.text);
    }
    return text;
}

}  // namespace

TEST(ShowFormula, DrawsLettersAndBracketsInNormalTypeAndDigitsAsSubscripts) {
    RecordingSurface surface;
    Text formula = U"Ca(OH)2";
    ShowFormula(formula, surface);
    EXPECT_EQ(formula, U"Ca(OH)2");
    const double w = RecordingSurface::Width(U"C", 20);
    const std::vector<Drawn> expected = {{U"C", 0, 50, 20},     {U"a", w, 50, 20},     {U"(", 2 * w, 50, 20},
                                         {U"O", 3 * w, 50, 20}, {U"H", 4 * w, 50, 20}, {U")", 5 * w, 50, 20},
                                         {U"2", 6 * w, 300, 14}};
    EXPECT_EQ(surface.prints, expected);
    // The next character would stand on the formula line again, in normal type.
    EXPECT_EQ(surface.y, 50);
    EXPECT_EQ(surface.fontSize, 20);
    EXPECT_EQ(surface.x, 6 * w + RecordingSurface::Width(U"2", 14));
}

TEST(ShowFormula, RemovesEveryOtherCharacterAndHandsTheCleanTextBack) {
    const struct {
        const char32_t* typed;
        const char32_t* kept;
        const char* drawn;
    } rows[] = {
        {U"", U"", ""},
        {U"H2 O", U"H2O", "H _2 O"},
        {U"H  O", U"HO", "H O"},
        {U"C1.5H3", U"C15H3", "C _1 _5 H _3"},
        {U"2H2O", U"2H2O", "_2 H _2 O"},
        {U"НCl", U"Cl", "C l"},  // a Cyrillic letter that looks Latin
        {U"Введите формулу, H", U"H", "H"},
        {U"Fe2(SO4)3*5H2O\t", U"Fe2(SO4)35H2O", "F e _2 ( S O _4 ) _3 _5 H _2 O"},
    };
    for (const auto& row : rows) {
        RecordingSurface surface;
        surface.prints.push_back({U"old", 0, 0, 20});
        Text formula = row.typed;
        ShowFormula(formula, surface);
        EXPECT_EQ(formula, row.kept) << ToUtf8(row.typed);
        EXPECT_EQ(Sequence(surface), row.drawn) << ToUtf8(row.typed);
        EXPECT_EQ(surface.clears, 1);
    }
}

TEST(DIndex, DrawsOneSubscriptAndRestoresFontAndLine) {
    RecordingSurface surface;
    surface.x = 100;
    surface.y = 50;
    DIndex(U" 2n", surface);
    const std::vector<Drawn> expected = {{U" 2n", 100, 300, 14}};
    EXPECT_EQ(surface.prints, expected);
    EXPECT_EQ(surface.y, 50);
    EXPECT_EQ(surface.fontSize, 20);
    EXPECT_EQ(surface.x, 100 + RecordingSurface::Width(U" 2n", 14));
}
