#include "derivation/composition_parser.h"

#include <gtest/gtest.h>

#include "analysis/formula_parser.h"
#include "analysis/numbers.h"
#include "tests/doubles.h"

namespace {

// "Symbol=percent" for every record; "?" marks the mass 1 of an element
// that is not found.
std::string Records(const CompositionTable& table) {
    std::string text;
    for (std::size_t i = 1; i < table.size(); ++i) {
        if (i > 1) text += "; ";
        text += ToUtf8(table[i].Symbol) + "=" + ToUtf8(FormatGeneral(table[i].Percent, 7, U'.'));
        if (table[i].Number == 0) text += "?";
    }
    return text;
}

std::string Drawing(const RecordingSurface& surface) {
    std::string text;
    for (const auto& print : surface.Printed())
        text += print.FontSize < 20 ? "[" + ToUtf8(print.Printed) + "]" : ToUtf8(print.Printed);
    return text;
}

class CompositionParser : public ::testing::Test {
protected:
    std::string Parse(std::u32string_view text) {
        test.messages.shown.clear();
        AnalizePercentage(test.workspace, text, surface);
        return Records(test.workspace.Composition);
    }
    TestWorkspace test;
    RecordingSurface surface;
};

}  // namespace

TEST_F(CompositionParser, ReadsALineWithAnyOfItsSeparators) {
    const struct {
        const char32_t* line;
        const char* records;
    } rows[] = {
        {U"C = 40%", "C =40"},
        {U"C - 40%", "C =40"},
        {U"C 40%", "C =40"},
        {U"C=40", "C =40"},
        {U"c = 40", "c =40"},
        {U"C = 40,5%", "C =40.5"},
        {U"  C = 40  ", "C =40"},
        {U"C=-5", "C =-5"},
        {U"C-5", "C =5"},
        {U"C - -5%", "C =-5"},
        {U"C = 1-2", "C =1"},
        {U"C = x", "C =0"},
        {U"C =", "C =0"},
        {U"Carbon 12", "Ca=12"},
        {U"C = 40% H = 6.7%", "C =40"},
        {U"Fe - 69.94%", "Fe=69.94"},
        // A word processor's dashes separate as "-" does, after "=" and before a blank.
        {U"C — 40 %", "C =40"},
        {U"C – 40 %", "C =40"},
        {U"C − 40%", "C =40"},
        {U"C —40", "C =40"},
        {U"C = −5", "C =0"},
        {U"C —− 5", "C =0"},
        {U"Fe – 69,94%", "Fe=69.94"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Parse(row.line), row.records) << ToUtf8(row.line);
        for (const auto& message : test.messages.shown)  // the sum may be reported, nothing else
            EXPECT_EQ(message.substr(0, 5), U"Сумма") << ToUtf8(row.line);
    }
}

TEST_F(CompositionParser, RecordsUnknownSymbolsWithMassOneAndAMessage) {
    EXPECT_EQ(Parse(U"Chlorine = 10\r\nE = 20\r\n= 30\r\nС = 40"), "Ch=10?; E =20?; =30?; С =40?");
    for (std::size_t i = 1; i <= 4; ++i) EXPECT_EQ(test.workspace.Composition[i].Mass, 1.0);
    ASSERT_EQ(test.messages.shown.size(), 4u);  // one a line; the sum of 100 passes
    EXPECT_EQ(test.messages.shown[0],
              U"Элемент Ch не найден в базе данных или не существует. Формула, выведенная по процентному составу, "
              U"может быть неверна. Проверьте написание процентного состава и регистры букв.");
    EXPECT_EQ(test.messages.shown[1].substr(0, 12), U"Элемент E  н");
    EXPECT_EQ(test.messages.shown[2].substr(0, 11), U"Элемент  не");
}

TEST_F(CompositionParser, SkipsCommentsEmptyLinesAndLinesWithoutSeparator) {
    EXPECT_EQ(Parse(U"# comment\r\n\r\n   \r\n  # indented\r\nC40\r\nC\t40\r\nH = 1\r\nH = 2"), "H =1; H =2");
    EXPECT_TRUE(Parse(U"").empty());
    EXPECT_TRUE(Parse(U"# only\r\n# comments").empty());
    EXPECT_EQ(test.workspace.Composition.size(), 1u);
    EXPECT_EQ(surface.clears, 1);  // only the run with records drew anything
}

TEST_F(CompositionParser, SplitsLinesAtCarriageReturnsOnly) {
    EXPECT_EQ(Parse(U"C = 40\nH = 6.7"), "C =40");
    EXPECT_EQ(Parse(U"\rC = 40\r\nH = 6.7\r\n"), "C =40; H =6.7");
    EXPECT_EQ(Parse(U"C = 40\rH = 6.7\r"), "C =40; H =6.7");
    EXPECT_EQ(Parse(U"\r\n\r\nO = 5"), "O =5");
}

TEST_F(CompositionParser, DrawsTheDerivedFormulaOfTheWorkedExample) {
    Parse(U"C = 40.0 %\r\nH = 6.7 %\r\nO = 53.3 %");
    EXPECT_EQ(Drawing(surface), "C[n]H[ 2n]O[n]");
    EXPECT_TRUE(test.messages.shown.empty());
}

// A report left in the box reads back as the percent composition of its formula.
TEST_F(CompositionParser, ReadsAReportBackUnchanged) {
    for (const char32_t separator : {U'.', U','}) {
        test.workspace.DecimalSeparator = separator;
        RecordingTextBox box;
        test.workspace.Precision = 2;
        AnalizeFormula(test.workspace, U"Al2(SO4)3(H2O)18", box);
        EXPECT_EQ(Parse(box.text), "Al=8.1; S =14.43; O =72.02; H =5.44");
        EXPECT_EQ(Drawing(surface), "Al[n]S[ 1.5n]O[ 15n]H[ 17.99n]");
        AnalizeFormula(test.workspace, U"H2O", box);
        EXPECT_EQ(Parse(box.text), "H =11.19; O =88.81");
    }
}

TEST_F(CompositionParser, ReadsTextsOfAnyLength) {
    Text text;
    for (int i = 0; i < 5000; ++i) text += U"C = 0.02\r\n";
    EXPECT_GT(text.size(), 32767u);
    Parse(text);
    EXPECT_EQ(test.workspace.Composition.size(), 5001u);
    EXPECT_TRUE(test.messages.shown.empty());
}

TEST_F(CompositionParser, RepeatedMessagesStopAtTheLimitButTheSumIsStillReported) {
    Text text;
    for (int i = 0; i < 100; ++i) text += U"Q = 2\r\n";
    Parse(text);
    EXPECT_EQ(test.workspace.Composition.size(), 101u);
    ASSERT_EQ(test.messages.shown.size(), std::size_t{Workspace::kRepeatableMessageLimit} + 1);
    EXPECT_EQ(test.messages.shown.back().substr(0, 5), U"Сумма");
}
