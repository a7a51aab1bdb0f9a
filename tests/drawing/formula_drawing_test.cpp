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
        // Every letter, and the characters on either side of each range.
        {U"@ABCDEFGHIJKLMNOPQRSTUVWXYZ[`abcdefghijklmnopqrstuvwxyz{'*/:",
         U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz",
         "A B C D E F G H I J K L M N O P Q R S T U V W X Y Z a b c d e f g h i j k l m n o p q r s t u v w x y z"},
        {U"/0123456789:", U"0123456789", "_0 _1 _2 _3 _4 _5 _6 _7 _8 _9"},
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

// What an edit brings in and the cleaning drops is told when it changes the
// formula's meaning; the cleaning itself stays as it is.
TEST(CleaningNotice, NamesWhatTheEditLostAndHowToWriteIt) {
    const Text prompt = U"Введите формулу и нажмите ввод, чтобы получить процентный состав";
    const struct {
        Text before, after;
        const char32_t* kept;
        const char32_t* notice;  // a part of the notice, or empty for none
    } rows[] = {
        {U"", U"(NН4)2SО4", U"(N4)2S4", U"русские буквы «Н» и «О»: в формуле нужны латинские. Переключите"},
        {U"", U"СгЫЩ4(Р2Щ)5", U"4(2)5", U"«С», «г», «Ы», «Щ» и «Р»"},
        {U"", U"HС", U"H", U"Русские «С» только похожи на латинские"},
        {U"", U"H₂SO₄", U"HSO", U"подстрочные и надстрочные цифры «₂» и «₄»: набирайте обычные"},
        {U"", U"Ca²⁺", U"Ca", U"цифры «²»:"},
        {U"", U"₀₉⁰¹³⁴⁹", U"", U"«₀», «₉», «⁰», «¹», «³», «⁴» и «⁹»"},
        {U"H", U"HЖ", U"H", U"«Ж»"},  // the edit only appends
        {U"", U"абвгдёжз", U"", U"«ж» и «з»: в формуле"},  // eight named, no more to tell
        {U"", U"HÀɏͰϿＡｚ", U"H", U"алфавита «À», «ɏ», «Ͱ», «Ͽ», «Ａ» и «ｚ»:"},  // each alphabet's first and last
        {U"", U"HЀԯ", U"H", U"русские буквы «Ѐ» и «ԯ»:"},
        {U"", U"H×÷¿", U"H", U""},  // signs beside the Latin letters with accents
        {U"", U"O·H2O", U"OH2O", U"Убран знак «·»"},  // a neighbour at the very start
        {U"", U"CuSO4·5H2O", U"CuSO45H2O", U"Убран знак «·» между частями формулы: кристаллогидрат"},
        {U"", U"CuSO4*5H2O", U"CuSO45H2O", U"CuSO4(H2O)5 вместо CuSO4·5H2O"},
        {U"", U"CuSO4 • 5H2O", U"CuSO45H2O", U"«•»"},
        {U"", U"Na2CO3·10H2O", U"Na2CO310H2O", U"«·»"},
        {U"", U"C1.5H3", U"C15H3", U"Убран знак «.» внутри числа"},
        {U"", U"C1,5H3", U"C15H3", U"«,» внутри числа"},
        {U"", U"Hαβ", U"H", U"буквы другого алфавита «α» и «β»"},
        {U"H2O", U"H2OЖ", U"H2O", U"«Ж»"},
        // Nothing of meaning lost: no notice.
        {U"", U"K4[Fe(CN)6]", U"K4Fe(CN)6", U""},
        {U"", U"H2 O", U"H2O", U""},
        {U"", U"SO4-2, H+", U"SO42H", U""},
        {U"", U"H2O.", U"H2O", U""},
        {prompt, U"H" + prompt, U"H", U""},
        {prompt, U"Введите формулу иH нажмите ввод, чтобы получить процентный состав", U"H", U""},
        {U"HС", U"HСl", U"Hl", U""},  // only what this edit inserted counts
    };
    for (const auto& row : rows) {
        EXPECT_EQ(KeepFormula(row.after).Formula, row.kept) << ToUtf8(row.after);
        const Text notice = CleaningNotice(row.before, row.after);
        if (*row.notice == 0)
            EXPECT_EQ(notice, U"") << ToUtf8(row.after);
        else
            EXPECT_NE(notice.find(row.notice), Text::npos) << ToUtf8(row.after) << ": " << ToUtf8(notice);
    }
    EXPECT_EQ(CleaningNotice(U"", U"NН4·H2O"),
              U"Убраны русские буквы «Н»: в формуле нужны латинские. Переключите клавиатуру на латинскую раскладку и "
              U"наберите их заново. Русские «Н» только похожи на латинские, но это другие буквы. Убран знак «·» между "
              U"частями формулы: кристаллогидрат пишите со скобками и индексом, например CuSO4(H2O)5 вместо "
              U"CuSO4·5H2O.");
}

// The box keeps exactly its capacity, the first characters.
TEST(KeepFormula, KeepsTheFirstCharactersUpToTheCapacity) {
    EXPECT_EQ(KeepFormula(U"H O", 2).Formula, U"HO");
    EXPECT_EQ(KeepFormula(U"H O", 2).Dropped, 0u);
    EXPECT_EQ(KeepFormula(U"H O2", 2).Formula, U"HO");
    EXPECT_EQ(KeepFormula(U"H O2", 2).Dropped, 1u);
}

// Words for assistive technology: subscripts named, one number read as one.
TEST(FormulaDescription, NamesSubscriptsFromTheFirstText) {
    const auto described = [](Text formula) {
        RecordingSurface surface;
        ShowFormula(formula, surface);
        std::vector<PrintedText> printed;
        for (const auto& print : surface.prints) printed.push_back({print.text, print.x, print.y, print.fontSize});
        return FormulaDescription(printed, 20);
    };
    EXPECT_EQ(described(U"2H2O"), U"нижний индекс 2, H нижний индекс 2, O");
    EXPECT_EQ(described(U"C12O"), U"C нижний индекс 12, O");
}
