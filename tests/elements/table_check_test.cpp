#include "elements/table_check.h"

#include <gtest/gtest.h>

#include <string>

#include "analysis/formula_parser.h"
#include "elements/mdlVeltrax.h"
#include "tests/doubles.h"
#include "tests/elements/user_table.h"

namespace {

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

std::string BuiltIn() { return std::string(mdlVeltrax::BuiltInNameMass()); }

// Each CR LF made another line end: "\n" alone, or "\r\r\n" by a second conversion.
std::string WithLineEnds(std::string text, std::string_view end) {
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += end.size())
        text.replace(at, 2, end);
    return text;
}

struct BrokenTable {
    const char* what;
    std::string bytes;
    const char32_t* says;  // a part of the one message; nothing for a sound table
    const char32_t* formula;
    const char* molarMassLine;  // what the analysis still reports
};

}  // namespace

// Each table as a teacher might save it: the one message it gives for that
// version of the file, and the analysis that goes on with the table as read.
TEST(ElementFileCheck, ABrokenTableIsReportedOnceForEachVersionAndStillUsed) {
    const BrokenTable tables[] = {
        {"the built-in table", BuiltIn(), nullptr, U"H2O", "# Масса - 18.01528"},
        {"a blank where a mass would start", " H  O \r\n 1     \r\n 1  8 ", nullptr, U"H2O", "# Масса - 2"},
        {"line feeds alone", WithLineEnds(BuiltIn(), "\n"), U"разделены одним символом LF", U"H2O", "# Масса - 1"},
        {"CR CR LF", WithLineEnds(BuiltIn(), "\r\r\n"), U"кончаются знаками CR CR LF", U"H2O", "# Масса - 1"},
        {"no bytes at all", "", U"файл пуст (0 байт), и расчёты ведутся по встроенной таблице", U"H2O",
         "# Масса - 18.01528"},
        {"an empty mass line", " H  O \r\n    \r\n 1  8 ", U"строка 2 (атомные массы) пуста", U"H2O", "# Масса - 1"},
        {"an empty number line", " H  O \r\n 1  16 \r\n", U"строка 3 (порядковые номера) пуста", U"H2O",
         "# Масса - 18"},
        {"a mass line of words", " H  O \r\n a  b \r\n 1  8 ", U"нет ни одного числа", U"H2O", "# Масса - 1"},
        {"saved as UTF-8", " H  \xD0\x9D \r\n 1  1 \r\n 1  1 ",
         U"файл в кодировке UTF-8, а нужна однобайтовая: в строке 1 знак «Н» занимает в нём два байта", U"H",
         "# Масса - 1"},
        {"a Russian letter in the Russian code page", " H  \xCD \r\n 1  14 16 \r\n 1  7 ",
         U"после элемента «Н» (позиция 5)", U"H", "# Масса - 1"},
        {"two lines", " H  O \r\n 1  16 ", U"меньше трёх строк, а нужны три", U"H2O", "# Масса - 18"},
        {"a byte-order mark", "\xEF\xBB\xBF" + BuiltIn(), U"(BOM)", U"H2O", "# Масса - 11582"},
        {"64 typed over 63.54", Replaced(BuiltIn(), " 63.54 ", " 64 "),
         U"текст «65.4» начинается в позиции 161, а в первой строке там не начинается ни один символ: столбцы "
         U"сдвинуты после элемента «CU» (позиция 158).",
         U"ZnBr2", "# Масса - 22"},
        {"a lower-case symbol", Replaced(BuiltIn(), " FE ", " Fe "),
         U"строчная буква в символе «Fe»: такой элемент не найдётся", U"Fe", "# Масса - 1"},
        {"a number that stands apart", " H  O \r\n 1  16 \r\n 1 8 ",
         U"в строке 3 (порядковые номера) текст «8» начинается в позиции 4", U"H2O", "# Масса - 18"},
        {"a mass over two columns", " H  O \r\n 1.0079 16 \r\n 1  8 ", U"текст «16» начинается в позиции 9", U"H2O",
         "# Масса - 81.0158"},
        {"a mass running on under the next symbol", " H  O \r\n 1.000 \r\n 1  8 ",
         U"у элемента «O» в позиции 5 продолжается чужой текст", U"H2O", "# Масса - 2"},
        {"a one-letter symbol after a two-letter one", " H  HE E \r\n 1  4  5 \r\n 1  2  3 ",
         U"однобуквенный символ «E» (позиция 8) стоит после символа «HE» (позиция 5)", U"He", "# Масса - 4"},
        {"the same at the very end of the lines", " H  HE E\r\n 1  4  5\r\n 1  2  3",
         U"однобуквенный символ «E» (позиция 8)", U"He", "# Масса - 4"},
        {"a small a at a symbol's end", Replaced(BuiltIn(), " CA ", " Ca "), U"в позиции 121, строчная буква в символе «Ca»", U"Ca",
         "# Масса - 1"},
        {"a small z at a symbol's start", Replaced(BuiltIn(), " ZN ", " zN "), U"в символе «zN»", U"H",
         "# Масса - 1.00794"},
    };
    for (const BrokenTable& table : tables) {
        SCOPED_TRACE(table.what);
        TestWorkspace test;
        WriteBytes(test.directory.path() / "NameMass.dat", table.bytes);
        for (int analysis = 0; analysis < 3; ++analysis)
            EXPECT_EQ(MolarMassLine(test.workspace, table.formula), table.molarMassLine);
        std::size_t problems = 0;
        for (const Text& message : test.messages.shown) {
            if (message.starts_with(U"Таблица элементов «")) {
                ++problems;
                ASSERT_NE(table.says, nullptr) << ToUtf8(message);
                EXPECT_NE(message.find(table.says), Text::npos) << ToUtf8(message);
                const std::u8string file = (test.directory.path() / "NameMass.dat").make_preferred().u8string();
                EXPECT_NE(message.find(FromUtf8(std::string(file.begin(), file.end()))), Text::npos);
            }
        }
        EXPECT_EQ(problems, table.says ? 1u : 0u);
    }
}

TEST(ElementFileMessages, ATableThatCannotBeMadeIsToldOnceAndOneThatCannotBeReadEachTimeItFails) {
    TestWorkspace test;
    const auto shownContaining = [&](const char32_t* words) {
        std::size_t count = 0;
        for (const Text& message : test.messages.shown)
            if (message.find(words) != Text::npos) ++count;
        return count;
    };
    test.workspace.ElementFolder = test.directory.path() / "missing";  // no folder: nothing can be made there
    for (int analysis = 0; analysis < 3; ++analysis)
        EXPECT_EQ(MolarMassLine(test.workspace, U"H2O"), "# Масса - 18.01528");
    EXPECT_EQ(shownContaining(U"не удаётся создать"), 1u);

    test.workspace.ElementFolder = test.directory.path();
    const auto file = test.directory.path() / "NameMass.dat";
    std::filesystem::create_directory(file);  // a name that cannot be read as a table
    MolarMassLine(test.workspace, U"H2O");
    MolarMassLine(test.workspace, U"H2O");
    EXPECT_EQ(shownContaining(U"не удаётся прочитать"), 1u);
    std::filesystem::remove(file);
    WriteBytes(file, kUserTable);
    EXPECT_EQ(MolarMassLine(test.workspace, U"H2O"), "# Масса - 20");
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_EQ(MolarMassLine(test.workspace, U"H2O"), "# Масса - 18.01528");
    EXPECT_EQ(shownContaining(U"не удаётся прочитать"), 2u);
    // A faulty table emptied and written again is a version of its own, told again.
    std::filesystem::remove(file);
    for (const std::string_view bytes : {" H  O \r\n 1  16 ", "", " H  O \r\n 1  16 "}) {
        WriteBytes(file, bytes);
        MolarMassLine(test.workspace, U"H2O");
    }
    EXPECT_EQ(shownContaining(U"меньше трёх строк"), 2u);
}

TEST(AdministratorsTable, SeedsAMissingTableAndIsNeverWritten) {
    TemporaryDirectory administrator;
    const auto seed = administrator.path() / "NameMass.dat";
    WriteBytes(seed, kUserTable);
    TestWorkspace test;
    test.workspace.SeedFile = seed;
    const auto file = test.directory.path() / "NameMass.dat";
    EXPECT_EQ(MolarMassLine(test.workspace, U"H2O"), "# Масса - 20");
    EXPECT_EQ(ReadFileBytes(file), kUserTable);
    // The user's table is theirs from then on: a new administrator's table does not replace it.
    WriteBytes(seed, BuiltIn());
    EXPECT_EQ(MolarMassLine(test.workspace, U"H2O"), "# Масса - 20");
    EXPECT_EQ(ReadFileBytes(seed), BuiltIn());
    // Without an administrator's table the built-in copy seeds, without a word.
    TestWorkspace other;
    other.workspace.SeedFile = administrator.path() / "absent.dat";
    EXPECT_EQ(MolarMassLine(other.workspace, U"H2O"), "# Масса - 18.01528");
    EXPECT_EQ(ReadFileBytes(other.directory.path() / "NameMass.dat"), BuiltIn());
    EXPECT_TRUE(other.messages.shown.empty());
}

// A table whose lines end past what is read says so, not that lines are missing.
TEST(ElementFileCheck, ALineEndingPastWhatIsReadIsToldAsSuch) {
    const std::string longMassLine = Replaced(BuiltIn(), " 1.00794 ", " 1.00794" + std::string(99000, ' ') + " ");
    EXPECT_NE(mdlVeltrax::CheckNameMass(longMassLine.substr(0, mdlVeltrax::kMaxNameMassBytes), true)
                  .find(U"Файл длиннее, чем программа читает: читаются только первые 98305 байт, а строка 2 кончается"),
              Text::npos);
    std::string longNumberLine = BuiltIn();
    longNumberLine.back() = '7';
    longNumberLine += std::string(100000, '7');
    EXPECT_NE(mdlVeltrax::CheckNameMass(longNumberLine.substr(0, mdlVeltrax::kMaxNameMassBytes), true)
                  .find(U"строка 3 кончается дальше"),
              Text::npos);
    // Blanks cut off at the end of the last line lose nothing.
    const std::string padded = BuiltIn() + std::string(200000, ' ');
    EXPECT_EQ(mdlVeltrax::CheckNameMass(padded.substr(0, mdlVeltrax::kMaxNameMassBytes), true), U"");
}

// The built-in table and the two ready ones in tables/: sound, and every one
// of the 109 elements found under its symbol with its atomic number.
TEST(ReadyTables, PassTheCheckAndFindAll109Elements) {
    const char* const symbols[] = {"H",  "HE", "LI", "BE", "B",  "C",  "N",  "O",  "F",  "NE", "NA", "MG", "AL", "SI",
                                   "P",  "S",  "CL", "AR", "K",  "CA", "SC", "TI", "V",  "CR", "MN", "FE", "CO", "NI",
                                   "CU", "ZN", "GA", "GE", "AS", "SE", "BR", "KR", "RB", "SR", "Y",  "ZR", "NB", "MO",
                                   "TC", "RU", "RH", "PD", "AG", "CD", "IN", "SN", "SB", "TE", "I",  "XE", "CS", "BA",
                                   "LA", "CE", "PR", "ND", "PM", "SM", "EU", "GD", "TB", "DY", "HO", "ER", "TM", "YB",
                                   "LU", "HF", "TA", "W",  "RE", "OS", "IR", "PT", "AU", "HG", "TL", "PB", "BI", "PO",
                                   "AT", "RN", "FR", "RA", "AC", "TH", "PA", "U",  "NP", "PU", "AM", "CM", "BK", "CF",
                                   "ES", "FM", "MD", "NO", "LR", "RF", "DB", "SG", "BH", "HS", "MT"};
    const std::filesystem::path tables = VELTRAX_SOURCE_DIR "/tables";
    const struct {
        std::string bytes;
        const char* cuCl2;  // the molar mass of CuCl2 by the table
    } rows[] = {{BuiltIn(), "134.44"},
                {ReadFileBytes(tables / "NameMass-school.dat"), "135"},
                {ReadFileBytes(tables / "NameMass-iupac-2021.dat"), "134.446"}};
    for (const auto& row : rows) {
        ASSERT_FALSE(row.bytes.empty());
        EXPECT_EQ(mdlVeltrax::CheckNameMass(row.bytes), Text());
        const mdlVeltrax::LoadedElements table(mdlVeltrax::SplitNameMass(row.bytes));
        for (std::size_t z = 1; z <= std::size(symbols); ++z) {
            const FoundElement element = table.Find(FromUtf8(symbols[z - 1]));
            EXPECT_TRUE(element.Found) << symbols[z - 1];
            EXPECT_EQ(element.Number, z) << symbols[z - 1];
            EXPECT_GT(element.Mass, 0) << symbols[z - 1];
        }
        TestWorkspace test;
        WriteBytes(test.directory.path() / "NameMass.dat", row.bytes);
        EXPECT_EQ(MolarMassLine(test.workspace, U"CuCl2"), std::string("# Масса - ") + row.cuCl2);
        EXPECT_TRUE(test.messages.shown.empty());
    }
}
