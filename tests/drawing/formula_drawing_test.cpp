#include "drawing/formula_drawing.h"

#include <gtest/gtest.h>

#include "drawing/cleaning_notice.h"
#include "drawing/formula_edit.h"
#include "tests/doubles.h"

namespace {

using Drawn = RecordingSurface::Drawn;

// "text" for normal type at y = 50, "_text" for a subscript 250 twips lower
// and 6 points smaller.
std::string Sequence(const RecordingSurface& surface) {
    std::string text;
    for (const auto& print : surface.Printed()) {
        if (!text.empty()) text += " ";
        if (print.Y == 300 && print.FontSize == 14)
            text += "_";
        else if (print.Y != 50 || print.FontSize != 20)
            text += "?";
        text += ToUtf8(print.Printed);
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
    EXPECT_EQ(surface.Printed(), expected);
    // The next character would stand on the formula line again, in normal type.
    EXPECT_EQ(surface.CurrentY(), 50);
    EXPECT_EQ(surface.FontSize(), 20);
    EXPECT_EQ(surface.CurrentX(), 6 * w + RecordingSurface::Width(U"2", 14));
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
        surface.Print(U"old");
        Text formula = row.typed;
        ShowFormula(formula, surface);
        EXPECT_EQ(formula, row.kept) << ToUtf8(row.typed);
        EXPECT_EQ(Sequence(surface), row.drawn) << ToUtf8(row.typed);
        EXPECT_EQ(surface.clears, 1);
    }
}

TEST(DIndex, DrawsOneSubscriptAndRestoresFontAndLine) {
    RecordingSurface surface;
    surface.SetCurrentX(100);
    surface.SetCurrentY(50);
    DIndex(U" 2n", surface);
    const std::vector<Drawn> expected = {{U" 2n", 100, 300, 14}};
    EXPECT_EQ(surface.Printed(), expected);
    EXPECT_EQ(surface.CurrentY(), 50);
    EXPECT_EQ(surface.FontSize(), 20);
    EXPECT_EQ(surface.CurrentX(), 100 + RecordingSurface::Width(U" 2n", 14));
}

// What an edit brings in and the cleaning drops is told when it changes the
// formula's meaning, and told again beside the report at Enter, however the
// text arrived: pasted whole, or typed key by key (`keys`), where a later key
// that loses nothing keeps the notice and a trailing mark waits for the next
// key. The cleaning itself stays as it is.
TEST(CleaningNotice, NamesWhatTheEditLostAndHowToWriteIt) {
    const Text prompt = window_texts::kFormulaPrompt;
    const struct {
        Text before, after;
        const char32_t* kept;
        const char32_t* notice;  // a part of the notice, or empty for none
        bool keys = false;       // typed key by key; `notice` is then a part of the one at Enter
    } rows[] = {
        {U"", U"(NН4)2SО4", U"(N4)2S4", U"русские буквы «Н» и «О»: в формуле нужны латинские. Переключите"},
        {U"", U"(NН4)2SО4", U"(N4)2S4", U"В формуле убраны русские буквы «Н», «О»: посчитано для (N4)2S4.", true},
        {U"", U"Н2SО4", U"2S4", U"В формуле убраны русские буквы «Н», «О»: посчитано для 2S4.", true},
        {U"", U"Н2O", U"2O",
         U"Убрана русская буква «Н»: в формуле нужны латинские. Переключите клавиатуру на "
         U"латинскую раскладку и наберите её заново. Русская «Н» только похожа на латинскую"},
        {U"", U"СгЫЩ4(Р2Щ)5", U"4(2)5", U"«С», «г», «Ы», «Щ» и «Р»"},
        {U"", U"HС", U"H", U"Русская «С» только похожа на латинскую"},
        {U"", U"HА", U"H", U"Убрана русская буква «А»"},  // the alphabet's first letter
        {U"", U"HІ", U"H", U"Убрана кириллическая буква «І»: в формуле нужны латинские"},  // Ukrainian
        {U"", U"H₂SO₄", U"HSO", U"Убраны подстрочные цифры «₂» и «₄»: набирайте обычные"},
        {U"", U"₀₉⁰¹³⁴⁹", U"", U"подстрочные и надстрочные цифры «₀», «₉», «⁰», «¹», «³», «⁴» и «⁹»"},
        {U"", U"Fe³", U"Fe", U"В формуле убрана надстрочная цифра «³»: посчитано для Fe.", true},
        // A charge goes whole, and a charge written on the line leaves its digits as counts.
        {U"", U"Ca²⁺", U"Ca", U"Убран заряд иона «²⁺»: формула вещества пишется без заряда"},
        {U"", U"Ca²⁺", U"Ca", U"В формуле убран заряд иона «²⁺»: посчитано для Ca.", true},
        {U"", U"SO₄²⁻", U"SO", U"заряд иона «²⁻»"},
        {U"", U"Ca²⁺Н", U"Ca", U"русская буква «Н»"},  // what follows a charge is looked at too
        {U"", U"Fe⁺³", U"Fe", U"заряд иона «⁺³»"},
        {U"", U"SO4^2-", U"SO42", U"Убраны знаки заряда «^» и «-»: если при них были цифры заряда"},
        {U"", U"Fe3+", U"Fe3", U"Убран знак заряда «+»"},
        {U"", U"SO4-2, H+", U"SO42H", U"знак заряда «-»"},
        {U"", U"Fe3+", U"Fe3", U"В формуле убран знак заряда «+»: посчитано для Fe3.", true},
        {U"", U"Ca+2", U"Ca2", U"знак заряда «+»", true},  // the digit right after the sign
        // A mark that waits, then a key: a charge run only when both are superscript.
        {U"", U"Fe3+²", U"Fe3", U"В формуле убраны надстрочная цифра «²», знак заряда «+»: посчитано для Fe3.", true},
        {U"", U"Ca²3", U"Ca3", U"В формуле убрана надстрочная цифра «²»: посчитано для Ca3.", true},
        {U"", U"CuSO4 5H2O", U"CuSO45H2O", U"Убран пробел между цифрами «4 5»: цифры по обе стороны от него слились"},
        {U"", U"CuSO4\u20005H2O", U"CuSO45H2O", U"пробел между цифрами"},  // the first of the wide spaces
        {U"", U"CuSO4  5H2O", U"CuSO45H2O", U"Убран пробел между цифрами «4 5»"},  // a run of blanks is one
        {U"", U"Na2CO3 10H2O", U"Na2CO310H2O", U"В формуле убран пробел между цифрами «3 1»: посчитано для Na2CO310H2O.", true},
        {U"H", U"HЖ", U"H", U"«Ж»"},                                              // the edit only appends
        {U"", U"абвгдёжз", U"", U"«ж» и «з»: в формуле"},                         // eight named, no more to tell
        {U"", U"HÀɏͰϿＡｚ", U"H", U"алфавита «À», «ɏ», «Ͱ», «Ͽ», «Ａ» и «ｚ»:"},  // each alphabet's first and last
        {U"", U"Hµ", U"H", U"Убрана буква другого алфавита «µ»"},
        {U"", U"HЀԯ", U"H", U"кириллические буквы «Ѐ» и «ԯ»:"},
        {U"", U"H×÷¿", U"H", U""},                    // signs beside the Latin letters with accents
        {U"", U"O·H2O", U"OH2O", U"Убран знак «·»"},  // a neighbour at the very start
        {U"", U"CuSO4·5H2O", U"CuSO45H2O", U"Убран знак «·» между частями формулы: кристаллогидрат"},
        {U"", U"CuSO4·5H2O", U"CuSO45H2O", U"В формуле убран знак «·»: посчитано для CuSO45H2O.", true},
        {U"", U"CuSO₄·5H₂O", U"CuSO5HO", U"Убран знак «·» между частями формулы"},  // after a subscript digit
        {U"", U"CuSO4\u00A0·\u00A05H2O", U"CuSO45H2O", U"знак «·» между частями"},
        {U"", U"CuSO4\u00A0·\u00A05H2O", U"CuSO45H2O", U"знак «·»", true},
        {U"", U"CuSO4\t•\u20095H2O", U"CuSO45H2O", U"«•»"},
        {U"", U"CuSO4*5H2O", U"CuSO45H2O", U"CuSO4(H2O)5 вместо CuSO4·5H2O"},
        {U"", U"CuSO4×5H2O·H2O", U"CuSO45H2OH2O", U"Убраны знаки «×» и «·» между частями формулы"},
        {U"", U"Na2CO3·10H2O", U"Na2CO310H2O", U"«·»"},
        {U"", U"C1.5H3", U"C15H3", U"Убран знак «.» внутри числа"},
        {U"", U"C1.5H3", U"C15H3", U"знак «.» внутри числа: посчитано для C15H3.", true},
        {U"", U"Fe0.95O", U"Fe095O", U"знак «.» внутри числа", true},
        {U"", U"C1,5H3", U"C15H3", U"«,» внутри числа"},
        {U"", U"Hαβ", U"H", U"буквы другого алфавита «α» и «β»"},
        {U"H2O", U"H2OЖ", U"H2O", U"«Ж»"},
        // Nothing of meaning lost: no notice.
        {U"", U"K4[Fe(CN)6]", U"K4Fe(CN)6", U""},
        {U"", U"H2 O", U"H2O", U""},
        {U"", U"Na+ Cl-", U"NaCl", U""},
        {U"", U"CH3–CH2–OH", U"CH3CH2OH", U""},  // bonds, not charges
        {U"", U"CH3-CH3", U"CH3CH3", U"", true},
        {U"", U"Fe3 +", U"Fe3", U"", true},  // a sign apart from the digits, as between substances
        {U"", U"H2O.", U"H2O", U""},
        {U"", U"·5H2O", U"5H2O", U""},  // a dot with nothing before it joins no parts
        {U"", U"H2O.", U"H2O", U"", true},
        {U"", U"H2 O", U"H2O", U"", true},
        {prompt, U"H" + prompt, U"H", U""},
        {prompt, U"Введите формулу иH нажмите ввод, чтобы получить процентный состав", U"H", U""},
        {U"HС", U"HСl", U"Hl", U""},  // only what this edit inserted counts
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.after));
        EXPECT_EQ(KeepFormula(row.after).Formula, row.kept);
        FormulaBoxState box;
        box.Shown = row.before;
        RecordingSurface surface;
        if (row.keys) {
            for (std::size_t typed = 1; typed <= row.after.size(); ++typed)
                ChangeFormula(box, box.Formula + row.after[typed - 1], surface);
        } else {
            ChangeFormula(box, row.after, surface);
        }
        EXPECT_EQ(box.Formula, row.kept);
        const Text notice = row.keys ? AnalysisStarts(box) : CleaningNotice(row.before, row.after);
        if (*row.notice == 0)
            EXPECT_EQ(notice, U"");
        else
            EXPECT_NE(notice.find(row.notice), Text::npos) << ToUtf8(notice);
        // Every due notice is there at Enter too, with the formula computed.
        const Text atEnter = row.keys ? notice : AnalysisStarts(box);
        EXPECT_EQ(atEnter.empty(), *row.notice == 0) << ToUtf8(atEnter);
        EXPECT_TRUE(atEnter.empty() || !*row.kept || atEnter.ends_with(U"посчитано для " + Text(row.kept) + U"."));
    }
    // A letter that looks like no Latin one is not said to.
    EXPECT_EQ(CleaningNotice(U"", U"HЖ"), U"Убрана русская буква «Ж»: в формуле нужны латинские. Переключите "
                                         U"клавиатуру на латинскую раскладку и наберите её заново.");
    EXPECT_EQ(CleaningNotice(U"", U"NН4·H2O"),
              U"Убрана русская буква «Н»: в формуле нужны латинские. Переключите клавиатуру на латинскую раскладку и "
              U"наберите её заново. Русская «Н» только похожа на латинскую, но это другая буква. Убран знак «·» между "
              U"частями формулы: кристаллогидрат пишите со скобками и индексом, например CuSO4(H2O)5 вместо "
              U"CuSO4·5H2O.");

    // The notice lasts until Enter, which tells it once more; an Enter with
    // no edit between says the same again. A later edit that loses nothing
    // ends it, and emptying the box or replacing all of it starts afresh.
    FormulaBoxState box;
    RecordingSurface surface;
    ChangeFormula(box, U"Н", surface);
    const Text lost = box.Notice;
    ChangeFormula(box, U"2", surface);
    EXPECT_EQ(box.Notice, lost);
    EXPECT_EQ(AnalysisStarts(box), U"В формуле убрана русская буква «Н»: посчитано для 2.");
    EXPECT_EQ(AnalysisStarts(box), U"В формуле убрана русская буква «Н»: посчитано для 2.");
    ChangeFormula(box, U"2H", surface);
    EXPECT_EQ(box.Notice, U"");
    EXPECT_EQ(AnalysisStarts(box), U"");
    for (const auto& [text, replacesAll] : {std::pair<Text, bool>{U"", false}, {U"O", true}}) {
        ChangeFormula(box, U"HС", surface);
        ChangeFormula(box, text, surface, replacesAll);
        EXPECT_EQ(box.Notice, U"");
    }
    ChangeFormula(box, U"2Ж", surface, true);
    EXPECT_EQ(AnalysisStarts(box), U"В формуле убрана русская буква «Ж»: посчитано для 2.");
    ChangeFormula(box, U"Ж", surface);
    EXPECT_EQ(AnalysisStarts(box), U"В формуле убрана русская буква «Ж»: формулы не осталось, считать нечего.");
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
        return surface.Description();
    };
    EXPECT_EQ(described(U"2H2O"), U"нижний индекс 2, H нижний индекс 2, O");
    EXPECT_EQ(described(U"C12O"), U"C нижний индекс 12, O");
}
