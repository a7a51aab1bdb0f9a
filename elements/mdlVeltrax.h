#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "text.h"

// The element file NameMass.dat: three column-aligned lines (symbols in upper
// case, atomic masses, atomic numbers). It is read afresh for every analysis,
// so that a user may correct or extend it with any text editor.
inline constexpr std::string_view kNameMassFileName = "NameMass.dat";

struct ElementTable {
    Text SymbolLine;
    Text MassLine;
    Text NumberLine;
};

struct FoundElement {
    bool Found = false;
    double Mass = 0;          // meaningful only when found
    std::uint8_t Number = 0;  // meaningful only when found
};

namespace mdlVeltrax {

// The 1564 bytes of the default NameMass.dat, the final NUL included.
std::string_view BuiltInNameMass();

// Reading of a file never takes more than this many bytes: a genuine element
// file is a few kilobytes, and a runaway one must not exhaust memory.
inline constexpr std::size_t kMaxNameMassBytes = 16u << 20;

// Makes sure the file exists in the directory and reads its first three lines.
// A missing or empty file is first written from the built-in copy. When the
// file cannot be opened or read, or holds nothing, the built-in copy is used
// from memory; nothing is ever written anywhere else. A file with fewer than
// three lines gives empty text for the lines that are missing.
void LoadNameMass(const std::filesystem::path& directory, ElementTable& table);

// True for an ordinary file (or a link to one); false for anything else and
// whenever the path cannot be examined.
bool FileExists(const std::filesystem::path& path);

// Writes the built-in copy into the directory unless a non-empty NameMass.dat
// is already there. An existing file is opened without truncation and written
// only while it is empty; a failed write leaves it empty again.
void ExtractNameMass(const std::filesystem::path& directory);

// Splits file content into the three lines: a line ends at CR LF or at a lone
// CR (a lone LF is an ordinary character). Each byte is one character.
ElementTable SplitNameMass(std::string_view bytes);

// Column-aligned lookup of a one- or two-character symbol (blanks around it
// are ignored, letter case is not significant).
FoundElement FindElement(TextView symbol, const ElementTable& table);

// Removes blanks at both ends, then at most two leading CR or LF characters,
// then blanks at both ends again.
void CleanLine(Text& text);

// Reads the decimal number at the start of the text: digits with at most one
// "." as the decimal point, whatever the user's locale. Text that does not
// begin with a number reads as 0; a value beyond the range of a double reads
// as infinity. `consumed` receives the number of characters taken.
double ReadLeadingDecimal(TextView text, std::size_t* consumed = nullptr);

}  // namespace mdlVeltrax
