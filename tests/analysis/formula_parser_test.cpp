#include "analysis/formula_parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

#include "analysis/numbers.h"
#include "tests/doubles.h"

// The bits of a float (std::bit_cast is missing from some C++ libraries).
static std::uint32_t Bits(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

namespace {

// "Symbol count" for every record, joined by "; "; a record whose element is
// missing from the table shows its mass 0 as "?".
std::string Records(const CompositionTable& table) {
    std::string text;
    for (std::size_t i = 1; i < table.size(); ++i) {
        if (i > 1) text += "; ";
        text += ToUtf8(table[i].Symbol) + ToUtf8(FormatGeneral(table[i].Count, 7, U'.'));
        if (table[i].Mass == 0) text += "?";
    }
    return text;
}

// The messages shown, abbreviated: N nested, I missing index, B stray
// bracket, and the symbol of an element that is not found.
std::string Messages(const std::vector<Text>& shown) {
    std::string text;
    for (const auto& message : shown) {
        if (!text.empty()) text += " ";
        if (message == kNestedBracketsMessage)
            text += "N";
        else if (message == kMissingGroupIndexMessage)
            text += "I";
        else if (message == kStrayBracketMessage)
            text += "B";
        else if (message.rfind(U"Элемент ", 0) == 0)
            text += "[" + ToUtf8(message.substr(8, 2)) + "]";
        else
            text += "?";
    }
    return text;
}

class FormulaParser : public ::testing::Test {
protected:
    void Analyse(std::u32string_view formula) {
        test.messages.shown.clear();
        AnalizeFormula(test.workspace, formula, box);
    }
    TestWorkspace test;
    RecordingTextBox box;
};

}  // namespace

TEST_F(FormulaParser, CountsEveryElementOfTheFormula) {
    const struct {
        const char32_t* formula;
        const char* records;
        const char* messages;
    } rows[] = {
        {U"H2O", "H 2; O 1", ""},
        {U"CH3COOH", "C 2; H 4; O 2", ""},
        {U"Ca(OH)2", "Ca1; O 2; H 2", ""},
        {U"Fe2(SO4)3", "Fe2; S 3; O 12", ""},
        {U"(NH4)2SO4", "N 2; H 8; S 1; O 4", ""},
        {U"CuSO4(H2O)5", "Cu1; S 1; O 9; H 10", ""},
        {U"(OH)2(SO4)3", "O 14; H 2; S 3", ""},
        {U"Al2(SO4)3(H2O)18", "Al2; S 3; O 30; H 36", ""},
        {U"CO", "C 1; O 1", ""},
        {U"Co", "Co1", ""},
        {U"co", "co1", ""},
        {U"h2o", "h 2; o 1", ""},
        {U"nacl", "na1; cl1", ""},
        {U"NACL", "N 1; A 1?; C 1; L 1?", "[A ] [L ]"},
        {U"XX", "X 2?", "[X ] [X ]"},
        {U"2H2O", "2 1?; H 2; O 1", "[2 ]"},
        {U"CuSO4*5H2O", "Cu1; S 1; O 5; * 5?; H 2", "[* ]"},
        {U"CuSO45H2O", "Cu1; S 1; O 46; H 2", ""},
        {U"Ca(OH)", "Ca1; O 1; H 1", "I"},
        {U"Ca(OH)H", "Ca1; O 1; H 2", "I"},
        {U"(OH)(SO4)", "O 5; H 1; S 1", "I I"},
        {U"K4(Fe(CN)6)", "K 4; Fe1", "N"},
        {U"(H(O))", "H 1", "N"},
        {U"(H", "H 1", ""},
        {U"(OH)2.5", "O 2; H 2", ""},
        {U"(OH)3.5", "O 4; H 4", ""},
        {U"H0.5", "H 0.5", ""},
        {U"H1,5", "H 1.5", ""},
        {U"(Xx)3", "Xx3?", "[Xx] [Xx] [Xx]"},
        {U"(Xx)", "Xx1?", "[Xx] I"},
        {U"Hh", "Hh1?", "[Hh]"},
        // Letters of every script are told apart by their upper case.
        {U"éÉ2", "é 3?", "[é ] [É ]"},
        {U"жЖ", "ж 2?", "[ж ] [Ж ]"},
        {U"ωΩ3", "ω 4?", "[ω ] [Ω ]"},
    };
    for (const auto& row : rows) {
        Analyse(row.formula);
        EXPECT_EQ(Records(test.workspace.Composition), row.records) << ToUtf8(row.formula);
        EXPECT_EQ(Messages(test.messages.shown), row.messages) << ToUtf8(row.formula);
    }
}

TEST_F(FormulaParser, KeepsMassesAndNumbersFromTheElementTable) {
    Analyse(U"CaXx");
    const auto& table = test.workspace.Composition;
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[1].Mass, 40);
    EXPECT_EQ(table[1].Number, 20);
    EXPECT_EQ(table[2].Mass, 0);
    EXPECT_EQ(table[2].Number, 0);
    EXPECT_EQ(test.messages.shown.at(0),
              U"Элемент Xx не найден в базе данных или не существует. Сведения по формуле могут быть не точны. "
              U"Проверьте написание формулы и регистры букв.");
    Analyse(U"O");
    EXPECT_EQ(test.messages.shown, std::vector<Text>{});
    EXPECT_EQ(table.size(), 2u);
}

TEST_F(FormulaParser, WhatStopsBeforeAnyElementLeavesThePreviousRecordsToTheReport) {
    Analyse(U"H2O");
    const Text report = box.text;
    for (const char32_t* formula : {U"((H))", U"()"}) {
        Analyse(formula);
        EXPECT_EQ(Records(test.workspace.Composition), "H 2; O 1") << ToUtf8(formula);
        EXPECT_EQ(box.text, report);
    }
    EXPECT_EQ(Messages(test.messages.shown), "I");
}

TEST_F(FormulaParser, ABlankFormulaDoesNothingAtAll) {
    box.text = U"kept";
    for (const char32_t* formula : {U"", U"   "}) Analyse(formula);
    EXPECT_EQ(box.writes, 0);
    EXPECT_EQ(box.text, U"kept");
    EXPECT_FALSE(std::filesystem::exists(test.directory.path() / "NameMass.dat"));
}

// Inputs whose outcome the program decides itself; each must end cleanly.
TEST_F(FormulaParser, EndsCleanlyOnMalformedFormulas) {
    const struct {
        const char32_t* formula;
        const char* records;
        const char* messages;
    } rows[] = {
        {U")H2", "H 2", "B"},           // a stray bracket is skipped
        {U"(OH)2)H", "O 2; H 3", "B"},  // it never re-enters the closed group
        {U"H))", "H 1", "B B"},
        {U"(OH)0", "O 1; H 1", ""},  // an index below 1 leaves the group read once
        {U"(OH)0.5", "O 1; H 1", ""},
        {U"H2 O", "H 2; O 1", ""},  // a blank is no element
        {U"H 3O", "H 1; O 1", ""},  // ... and takes its count along
        {U"H2O(", "H 2; O 1", ""},
        {U"(", "", ""},
        {U"H\tO", "H 1; \t 1?; O 1", "[\t ]"},
    };
    for (const auto& row : rows) {
        test.workspace.Composition.assign(1, {});
        Analyse(row.formula);
        EXPECT_EQ(Records(test.workspace.Composition), row.records) << ToUtf8(row.formula);
        EXPECT_EQ(Messages(test.messages.shown), row.messages) << ToUtf8(row.formula);
    }
}

TEST_F(FormulaParser, AHugeGroupIndexGivesTheSumsOfEveryPassWithoutTakingThemAll) {
    Analyse(U"(H)2147483647");
    EXPECT_EQ(test.workspace.Composition.at(1).Count, 16777216.0f);
    Analyse(U"(OH2)99999999999999999999999999999999999999999");
    EXPECT_EQ(Records(test.workspace.Composition), "O 1.677722E+07; H 3.355443E+07");
    Analyse(U"H" + Text(30, U'9'));
    EXPECT_EQ(Records(test.workspace.Composition), "H 1E+30");
    Analyse(U"H" + Text(40, U'9'));
    EXPECT_EQ(test.workspace.Composition.at(1).Count, HUGE_VALF);
}

// Reading a group k times must add exactly what writing its content out k
// times adds, to the last bit of every single-precision sum.
TEST_F(FormulaParser, AGroupCountsAsItsContentWrittenOutIndexTimes) {
    std::mt19937 random(7);
    const char32_t* symbols[] = {U"H", U"O", U"C", U"Na", U"Cl", U"S", U"Fe"};
    const char32_t* counts[] = {U"", U"2", U"0.1", U"1.5", U"7", U"0.333", U"12"};
    auto pick = [&](const auto& pool) { return pool[random() % std::size(pool)]; };
    for (int trial = 0; trial < 200; ++trial) {
        Text grouped, written;
        for (int part = 0; part < 4; ++part) {
            Text content;
            for (int i = 1 + static_cast<int>(random() % 4); i > 0; --i) content += Text(pick(symbols)) + pick(counts);
            if (random() % 2) {
                const unsigned index = 2 + static_cast<unsigned>(random() % 60);
                grouped += U"(" + content + U")" + FromUtf8(std::to_string(index));
                for (unsigned pass = 0; pass < index; ++pass) written += content;
            } else {
                grouped += content;
                written += content;
            }
        }
        Analyse(grouped);
        const CompositionTable fromGroups = test.workspace.Composition;
        Analyse(written);
        ASSERT_EQ(fromGroups.size(), test.workspace.Composition.size()) << ToUtf8(grouped);
        for (std::size_t i = 1; i < fromGroups.size(); ++i)
            EXPECT_EQ(Bits(fromGroups[i].Count), Bits(test.workspace.Composition[i].Count))
                << ToUtf8(grouped) << " record " << i;
    }
}

TEST_F(FormulaParser, RepeatedMessagesStopAtTheLimit) {
    Analyse(U"(Xx)1000");
    EXPECT_EQ(test.messages.shown.size(), std::size_t{Workspace::kRepeatableMessageLimit});
    EXPECT_EQ(test.workspace.Composition.at(1).Count, 1000);
    Analyse(Text(3000, U'Q') + U"((");
    EXPECT_EQ(test.messages.shown.size(), std::size_t{Workspace::kRepeatableMessageLimit} + 1);
    EXPECT_EQ(test.messages.shown.back(), kNestedBracketsMessage);
    Analyse(U"Q");  // every analysis starts a new count
    EXPECT_EQ(test.messages.shown.size(), 1u);
}

TEST_F(FormulaParser, FindsNonLatinSymbolsOfAUserTableInEitherCase) {
    // One byte a character: 0xC9 is É.
    std::ofstream(test.directory.path() / "NameMass.dat", std::ios::binary) << " H \xC9 \r\n 1 7 \r\n 1 3 ";
    Analyse(U"éH2É");
    EXPECT_EQ(Records(test.workspace.Composition), "é 2; H 2");
    EXPECT_EQ(test.workspace.Composition.at(1).Mass, 7);
    EXPECT_TRUE(test.messages.shown.empty());
}

TEST_F(FormulaParser, ReadsEveryEditOfTheElementFile) {
    Analyse(U"H");
    std::ofstream(test.directory.path() / "NameMass.dat", std::ios::binary | std::ios::trunc) << " H \r\n 2 \r\n 1 ";
    Analyse(U"H");
    EXPECT_EQ(test.workspace.Composition.at(1).Mass, 2);
}
