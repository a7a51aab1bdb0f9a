#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <sstream>

#include "analysis/formula_parser.h"
#include "derivation/composition_parser.h"
#include "elements/mdlVeltrax.h"
#include "tests/doubles.h"
#include "tests/elements/user_table.h"

using namespace mdlVeltrax;

namespace {

ElementTable Table(std::string_view symbols, std::string_view masses, std::string_view numbers) {
    return {FromUtf8(symbols), FromUtf8(masses), FromUtf8(numbers)};
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

}  // namespace

// The default file, rebuilt here from the element lists by the layout rules:
// a leading blank, columns as wide as their longest text plus one, and the
// last column followed by a single blank in each line.
TEST(BuiltInElementFile, HasTheExactBytesOfTheLayoutRules) {
    const auto symbols = Words(
        "H B C N O F P S K V Y I W U HE LI BE NE NA MG AL SI CL AR CA SC TI CR MN FE CO NI CU ZN GA GE AS SE BR KR RB "
        "SR ZR NB MO TC RU RH PD AG CD IN SN SB TE XE CS BA LA CE PR ND PM SM EU GD TB DY HO ER TM YB LU HF TA RE OS "
        "IR PT AU HG TL PB BI PO AT RN FR RA AC TH PA NP PU AM CM BK CF ES FM MD NO LR RF DB SG BH HS MT");
    const auto masses = Words(
        "1.00794 10.811 12.011 14.0067 15.9994 19 31 32.066 39 50.9 88.9 126.9 184 238 4 6.9 9 20.2 23 24.3 27 28 "
        "35.45 39.9 40 44.95 47.9 52 54.9 55.84 58.9 58.7 63.54 65.4 69.72 72.6 74.9216 78.96 79.9 83.8 85.5 87.6 "
        "91.2 92.9 95.9 97.9 101 102.9 106.4 107.8 112.4 114.8 118.7 121.75 127.6 131.3 132.9 137.3 138.9 140 141 "
        "144 145 150 152 157 159 162.5 165 167 169 173 175 178.5 181 186 190 192 195 196.97 200.59 204 207 209 209 "
        "210 222 223 226 227 232 231 237 244 243 247 247 251 252 257 258 259 260 261 262 263 262 265 266");
    const auto byNumber = Words(
        "H HE LI BE B C N O F NE NA MG AL SI P S CL AR K CA SC TI V CR MN FE CO NI CU ZN GA GE AS SE BR KR RB SR Y "
        "ZR NB MO TC RU RH PD AG CD IN SN SB TE I XE CS BA LA CE PR ND PM SM EU GD TB DY HO ER TM YB LU HF TA W RE "
        "OS IR PT AU HG TL PB BI PO AT RN FR RA AC TH PA U NP PU AM CM BK CF ES FM MD NO LR RF DB SG BH HS MT");
    ASSERT_EQ(symbols.size(), 109u);
    ASSERT_EQ(masses.size(), 109u);
    std::string lines[3] = {" ", " ", " "};
    for (std::size_t k = 0; k < 109; ++k) {
        const auto number =
            std::to_string(std::find(byNumber.begin(), byNumber.end(), symbols[k]) - byNumber.begin() + 1);
        const std::string texts[3] = {symbols[k], masses[k], number};
        const std::size_t width = k == 108 ? 0 : std::max({texts[0].size(), texts[1].size(), texts[2].size()}) + 1;
        for (int line = 0; line < 3; ++line) {
            std::string text = texts[line] + " ";
            if (text.size() < width) text.resize(width, ' ');
            lines[line] += text;
        }
    }
    const std::string expected = lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + std::string(1, '\0');

    const std::string_view builtIn = BuiltInNameMass();
    EXPECT_EQ(builtIn.size(), 1564u);
    EXPECT_EQ(lines[0].size(), 519u);
    EXPECT_EQ(lines[1].size(), 520u);
    EXPECT_EQ(lines[2].size() + 1, 521u);
    EXPECT_EQ(builtIn, expected);
}

TEST(BuiltInElementFile, ColumnsStartWhereTheTableSays) {
    const ElementTable table = SplitNameMass(BuiltInNameMass());
    const struct {
        std::u32string symbol;
        std::size_t start;  // 1-based
    } columns[] = {{U"H ", 2},  {U"B ", 10}, {U"C ", 17}, {U"N ", 24},  {U"O ", 32},
                   {U"F ", 40}, {U"P ", 43}, {U"S ", 46}, {U"HE ", 80}, {U"MT ", 517}};
    for (const auto& column : columns) {
        EXPECT_EQ(table.SymbolLine.find(column.symbol) + 1, column.start) << ToUtf8(column.symbol);
        EXPECT_EQ(table.SymbolLine[column.start - 2], U' ');
    }
    EXPECT_EQ(table.NumberLine.back(), U'\0');
}

TEST(FindElement, FindsSymbolsByTheColumnRule) {
    const ElementTable table = SplitNameMass(BuiltInNameMass());
    const struct {
        const char32_t* symbol;
        double mass;
        int number;
    } found[] = {{U"C", 12.011, 6},  {U"MT", 266, 109}, {U"S", 32.066, 16}, {U"H", 1.00794, 1},
                 {U"co", 58.9, 27},  {U"Co", 58.9, 27}, {U"CO", 58.9, 27},  {U" he ", 4, 2},
                 {U"Cl", 35.45, 17}, {U"U", 238, 92},   {U"Y", 88.9, 39},   {U"I", 126.9, 53}};
    // The plain search and the indexed lookup of a loaded table agree.
    const LoadedElements loaded(table);
    for (const auto& element : found) {
        for (const FoundElement& result : {FindElement(element.symbol, table), loaded.Find(element.symbol)}) {
            EXPECT_TRUE(result.Found) << ToUtf8(element.symbol);
            EXPECT_EQ(result.Mass, element.mass) << ToUtf8(element.symbol);
            EXPECT_EQ(result.Number, element.number) << ToUtf8(element.symbol);
        }
    }
    // Second letters of two-letter symbols, first letters of them, absent
    // letters, and nothing at all.
    for (const char32_t* missing : {U"E", U"A", U"D", U"G", U"R", U"L", U"M", U"T", U"X", U"Z", U"J", U"Q", U"", U"  ",
                                    U"XX", U"*", U"2", U"Н", U"HEL"}) {
        EXPECT_FALSE(FindElement(missing, table).Found) << ToUtf8(missing);
        EXPECT_FALSE(loaded.Find(missing).Found) << ToUtf8(missing);
    }
}

TEST(FindElement, GivesDefinedValuesForOddlyEditedColumns) {
    // Column texts (symbol, mass, number) laid out by the file's rules.
    const std::vector<std::array<std::string, 3>> columns = {{"AA", "", "1"},
                                                             {"CC", "1e999", "300"},
                                                             {"DD", "-5", "-5"},
                                                             {"EE", "7.5", "2.5"},
                                                             {"FF", "99999999999999999999", "3.5"},
                                                             {"GG", ".", "x"},
                                                             {"HH", "1", "255"},
                                                             {"II", "1", "255.5"}};
    std::string lines[3] = {" ", " ", " "};
    for (const auto& column : columns) {
        const std::size_t width = std::max({column[0].size(), column[1].size(), column[2].size()}) + 1;
        for (int line = 0; line < 3; ++line) {
            std::string text = column[static_cast<std::size_t>(line)];
            text.resize(width, ' ');
            lines[line] += text;
        }
    }
    const ElementTable table = Table(lines[0], lines[1], lines[2]);
    const struct {
        const char32_t* symbol;
        double mass;
        int number;
    } expected[] = {{U"AA", 0, 1},                                     // a missing mass reads as 0
                    {U"CC", 1, 0},                                     // no exponents; a number beyond a byte gives 0
                    {U"DD", 0, 0},                                     // no signs
                    {U"EE", 7.5, 2},                                   // ties go to the even neighbour
                    {U"FF", 1e20, 4}, {U"GG", 0, 0}, {U"HH", 1, 255},  // the largest number a byte holds
                    {U"II", 1, 0}};                                    // 256 once rounded
    for (const auto& element : expected) {
        const FoundElement result = FindElement(element.symbol, table);
        EXPECT_TRUE(result.Found) << ToUtf8(element.symbol);
        EXPECT_EQ(result.Mass, element.mass) << ToUtf8(element.symbol);
        EXPECT_EQ(result.Number, element.number) << ToUtf8(element.symbol);
    }

    // Mass and number lines shorter than the symbol line.
    const ElementTable shortLines = Table(" H  GG ", " 1.5", " 1");
    EXPECT_EQ(FindElement(U"H", shortLines).Mass, 1.5);
    EXPECT_EQ(FindElement(U"GG", shortLines).Mass, 0);
    EXPECT_EQ(FindElement(U"GG", shortLines).Number, 0);

    const ElementTable huge = Table(" H ", " " + std::string(400, '9') + " ", " 1 ");
    EXPECT_TRUE(std::isinf(FindElement(U"H", huge).Mass));
    EXPECT_FALSE(FindElement(U"H", Table(" H", " 1", " 1")).Found);  // no blank after the symbol
}

TEST(SplitNameMass, EndsLinesAtCrLfOrLoneCrOnly) {
    const ElementTable table = SplitNameMass(std::string_view(" a\nb\r c\r\r\n d\r\n ignored", 24));
    EXPECT_EQ(table.SymbolLine, U" a\nb");
    EXPECT_EQ(table.MassLine, U" c");
    EXPECT_EQ(table.NumberLine, U"");
    const ElementTable twoLines = SplitNameMass(" H \r\n 1 ");
    EXPECT_EQ(twoLines.MassLine, U" 1 ");
    EXPECT_EQ(twoLines.NumberLine, U"");
    EXPECT_EQ(SplitNameMass("\xC9").SymbolLine, U"\u00C9");  // one byte, one character
}

TEST(CleanLine, TrimsBlanksAndAtMostTwoLeadingLineBreaks) {
    const struct {
        Text in, out;
    } cases[] = {
        {U" \r\nFe ", U"Fe"}, {U"\n\n\nO", U"\nO"}, {U"   ", U""}, {U"", U""}, {U"\r\n  C = 40%  ", U"C = 40%"},
        {U"\tC", U"\tC"}};
    for (auto [in, out] : cases) {
        CleanLine(in);
        EXPECT_EQ(in, out);
    }
}

class ElementFile : public ::testing::Test {
protected:
    TemporaryDirectory directory;
    std::filesystem::path file = directory.path() / "NameMass.dat";
    ElementTable table;
};

TEST_F(ElementFile, AMissingFileIsWrittenFromTheBuiltInCopyAndRead) {
    LoadNameMass(directory.path(), table);
    EXPECT_EQ(ReadFileBytes(file), BuiltInNameMass());
    EXPECT_EQ(table.SymbolLine.size(), 519u);
    EXPECT_EQ(table.MassLine.size(), 520u);
    EXPECT_EQ(table.NumberLine.size(), 521u);
    EXPECT_TRUE(FindElement(U"Fe", table).Found);
}

TEST_F(ElementFile, AnExistingFileIsNeverChangedAndAnEditTakesEffectAtOnce) {
    const std::string edited = " H  C \r\n 2 12 \r\n 1 6 \r\nextra line";
    WriteBytes(file, edited);
    LoadNameMass(directory.path(), table);
    EXPECT_EQ(ReadFileBytes(file), edited);
    EXPECT_EQ(FindElement(U"H", table).Mass, 2);
    ExtractNameMass(directory.path());
    EXPECT_EQ(ReadFileBytes(file), edited);

    const std::string garbage("\0\0\xff junk", 9);
    WriteBytes(file, garbage);
    LoadNameMass(directory.path(), table);
    EXPECT_EQ(ReadFileBytes(file), garbage);
    EXPECT_FALSE(FindElement(U"H", table).Found);
}

TEST_F(ElementFile, AnEmptyFileIsLeftAloneAndTheBuiltInCopyServes) {
    WriteBytes(file, "");
    LoadNameMass(directory.path(), table);
    EXPECT_EQ(std::filesystem::file_size(file), 0u);
    EXPECT_EQ(FindElement(U"C", table).Mass, 12.011);
}

TEST_F(ElementFile, WithoutAUsableFileTheBuiltInCopyServesFromMemory) {
    // A directory of that name cannot be written or read as the table.
    std::filesystem::create_directory(file);
    LoadNameMass(directory.path(), table);
    EXPECT_TRUE(std::filesystem::is_directory(file));
    EXPECT_EQ(FindElement(U"C", table).Mass, 12.011);

    // A directory that cannot be written to (here: one that is not there).
    const auto nowhere = directory.path() / "missing";
    LoadNameMass(nowhere, table);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
    EXPECT_EQ(FindElement(U"MT", table).Number, 109);
}

TEST_F(ElementFile, ADanglingLinkIsNotFollowedToCreateAFileElsewhere) {
    const auto elsewhere = directory.path() / "elsewhere.dat";
    std::error_code error;
    std::filesystem::create_symlink(elsewhere, file, error);
    if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();
    LoadNameMass(directory.path(), table);
    EXPECT_FALSE(std::filesystem::exists(elsewhere));
    EXPECT_TRUE(FindElement(U"O", table).Found);
}

TEST_F(ElementFile, FileExistsCountsOrdinaryFilesOnly) {
    EXPECT_FALSE(FileExists(file));
    std::filesystem::create_directory(file);
    EXPECT_FALSE(FileExists(file));
    std::filesystem::remove(file);
    WriteBytes(file, "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(std::string(5000, 'x')));
}

namespace {

class ElementFileReuse : public ::testing::Test {
protected:
    std::filesystem::path file() const { return test.directory.path() / "NameMass.dat"; }
    std::string MolarMassLine(const Text& formula) { return ::MolarMassLine(test.workspace, formula); }
    TestWorkspace test;
};

}  // namespace

TEST_F(ElementFileReuse, AnEditIsSeenAtTheNextAnalysisAndAnUnchangedFileIsNotReadAgain) {
    // Edits of the same size, each right after an analysis, within one clock tick.
    for (int round = 0; round < 50; ++round) {
        const char mass = round % 2 ? '3' : '2';
        WriteBytes(file(), std::string(" H \r\n ") + mass + " \r\n 1 ");
        ASSERT_EQ(MolarMassLine(U"H"), std::string("# Масса - ") + mass) << round;
    }

    // A file read well after its last change is trusted while its stamp stays.
    test.workspace.ElementFile.RacyNanoseconds = 0;
    WriteBytes(file(), kUserTable);
    MolarMassLine(U"H2O");
    const int reads = test.workspace.ElementFile.FileReads;
    ReadFileBytes(file());  // reading it changes nothing
    RecordingSurface surface;
    AnalizePercentage(test.workspace, U"H = 20\r\nO = 80\r\nC = 1", surface);
    EXPECT_EQ(MolarMassLine(U"H2O"), "# Масса - 20");
    EXPECT_EQ(test.workspace.ElementFile.FileReads, reads);

    // Any change of its stamp (here a rename over it) reads it again.
    WriteBytes(test.directory.path() / "edited", " H  O \r\n 3  16 \r\n 1  8 ");
    std::filesystem::rename(test.directory.path() / "edited", file());
    EXPECT_EQ(MolarMassLine(U"H2O"), "# Масса - 22");
    EXPECT_EQ(test.workspace.ElementFile.FileReads, reads + 1);
}

TEST(CreateNew, NeverReplacesAFileAndLeavesNoTemporaryFile) {
    TemporaryDirectory directory;
    const auto path = directory.path() / "NameMass.dat";
    EXPECT_EQ(file_access::CreateNew(path, "first"), file_access::Creation::Created);
    // A file that stands there already, or appears before the new one is put in place, wins.
    EXPECT_EQ(file_access::CreateNew(path, "second"), file_access::Creation::Existed);
    EXPECT_EQ(ReadFileBytes(path), "first");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.path()), {}), 1);
    EXPECT_EQ(file_access::CreateNew(directory.path() / "missing" / "NameMass.dat", "x"),
              file_access::Creation::Failed);
    // A dangling link is a taken name too, and is not followed.
    std::filesystem::remove(path);
    std::error_code noLinks;
    std::filesystem::create_symlink(directory.path() / "elsewhere", path, noLinks);
    if (noLinks) return;
    EXPECT_EQ(file_access::CreateNew(path, "third"), file_access::Creation::Existed);
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "elsewhere"));
}

// Text crosses from files and shells as UTF-8: every boundary of the encoding,
// and what is not a character (cut, surrogate, overlong, beyond U+10FFFF)
// becomes U+FFFD, one for each byte that does not start a character.
TEST(Utf8, DecodesAndEncodesEveryBoundaryAndReplacesWhatIsNoCharacter) {
    const struct {
        std::string bytes;
        Text text;
    } rows[] = {
        {"\x7F", U"\u007F"},
        {"\xC2\x80", U"\u0080"},
        {"\xDF\xBF", U"\u07FF"},
        {"\xE0\xA0\x80", U"\u0800"},
        {"\xEF\xBF\xBF", U"\uFFFF"},
        {"\xF0\x90\x80\x80", U"\U00010000"},
        {"\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
        {std::string("H\0O", 3), Text(U"H\0O", 3)},
        {"H\xC3", U"H\uFFFD"},                              // cut at the end
        {"\xE2\x82", U"\uFFFD\uFFFD"},                      // cut at the end
        {"\xC3\x28", U"\uFFFD("},                           // no continuation
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},            // U+D800
        {"\xED\xBF\xBF", U"\uFFFD\uFFFD\uFFFD"},            // U+DFFF, the last surrogate
        {"\xC0\x80", U"\uFFFD\uFFFD"},                      // an overlong NUL
        {"\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},            // an overlong "/"
        {"\xF0\x8F\xBF\xBF", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // an overlong U+FFFF
        {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FromUtf8(row.bytes), row.text) << row.bytes;
        if (row.text.find(U'\uFFFD') == Text::npos) {
            EXPECT_EQ(ToUtf8(row.text), row.bytes);
        }
    }
    for (const char32_t c : {U'\xD800', U'\xDFFF', U'\x110000'})
        EXPECT_EQ(ToUtf8(Text(1, c)), "\xEF\xBF\xBD") << static_cast<unsigned>(c);
    EXPECT_EQ(ToUtf8(Text(1, char32_t{0xD7FF})), "\xED\x9F\xBF");
}
