#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "file_access.h"
#include "text/text.h"

// The element file NameMass.dat: three column-aligned lines (symbols in upper
// case, atomic masses, atomic numbers). Every analysis looks at it afresh, so
// that a user may correct or extend it with any text editor.
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

// The longest line a position can address is 32,767 characters; only as
// much of the file as three such lines and their two line ends is read, so
// that a huge or endless file costs no more than this.
inline constexpr std::size_t kMaxNameMassLine = 32767;
inline constexpr std::size_t kMaxNameMassBytes = 3 * kMaxNameMassLine + 4;

// An element table ready for many lookups: it knows where each one- and
// two-character text first stands in the symbol line, and remembers its
// answers, so that a lookup costs the same whatever the file holds.
class LoadedElements {
public:
    explicit LoadedElements(ElementTable table);
    const ElementTable& Table() const { return table_; }
    // The answer of FindElement for this table.
    FoundElement Find(TextView symbol) const;

private:
    static constexpr std::size_t kAnswersKept = 4096;
    ElementTable table_;
    std::vector<std::pair<std::uint64_t, std::size_t>> firstPlaces_;  // sorted by text
    mutable std::unordered_map<Text, FoundElement> answers_;
};

// Where the table of an analysis came from.
enum class NameMassSource {
    File,            // the user's NameMass.dat (perhaps just written from the built-in copy)
    EmptyFile,       // an empty NameMass.dat, left alone: the built-in copy served
    NoFile,          // none, and none could be created: the built-in copy served
    UnreadableFile,  // a NameMass.dat that cannot be read: the built-in copy served
    UnusableSeed,    // none, and the administrator's table it would be made from cannot be used: the built-in
                     // copy served, and no NameMass.dat was made, so that a mended administrator's table still
                     // reaches this user
};

// Why an administrator's table could not seed a missing NameMass.dat.
enum class SeedProblem {
    None,
    Unreadable,  // no permission, not an ordinary file (a folder, a FIFO, a device), or empty
    TooLarge,    // longer than what is read: copied, it would be cut
};

// The table read last, with what the file looked like when it was read, so
// that an unchanged file is not read again. A file is trusted unchanged when
// its stamp is the same and it was read well after its last change: a file
// changed within the same clock tick as it was read may change again without
// a new stamp, so it is read again at the next analysis.
struct NameMassCache {
    Text Problem;                                  // what CheckNameMass found in the file's current version
    std::int64_t RacyNanoseconds = 2'000'000'000;  // covers the coarsest file system clocks (FAT: 2 s)
    std::filesystem::path Path;
    file_access::FileStamp Stamp;
    bool Trusted = false;
    std::shared_ptr<const LoadedElements> FromFile;
    std::string Bytes;  // what FromFile was made of
    std::shared_ptr<const LoadedElements> BuiltIn;
    int FileReads = 0;           // how often the file itself was read
    bool EmptyFileTold = false;  // the file is empty, and that was told
    // When the folder is next swept for what creations ended midway left
    // behind (they must be a minute old), while the file is there.
    std::chrono::steady_clock::time_point NextLeftoverSweep{};
};

struct LoadedNameMass {
    std::shared_ptr<const LoadedElements> Elements;
    NameMassSource Source = NameMassSource::File;
    bool NewVersion = false;               // the file's content differs from what was read before
    SeedProblem Seed = SeedProblem::None;  // with NameMassSource::UnusableSeed
    bool Seeded = false;                   // this load made the file from the administrator's table
};

// Makes sure the file exists in the directory and gives its first three
// lines. A missing file is created from `seed` (an administrator's table)
// where there is one, from the built-in copy where there is none. A seed that
// is there but cannot be used (unreadable, no ordinary file, empty, or longer
// than what is read) makes nothing: the built-in copy serves from memory until
// it is mended. An existing file is never written, whatever it holds, and
// neither is `seed`. Where the file is empty, cannot be read or cannot be
// created, the built-in copy serves from memory. A file with fewer than three lines gives empty text for
// the lines that are missing. Nothing ever waits for another process.
LoadedNameMass LoadNameMass(const std::filesystem::path& directory, NameMassCache& cache,
                            const std::filesystem::path& seed = {});
void LoadNameMass(const std::filesystem::path& directory, ElementTable& table);

// True for an ordinary file (or a link to one); false for anything else and
// whenever the path cannot be examined.
bool FileExists(const std::filesystem::path& path);

// Writes the built-in copy (or the given bytes) into the directory unless a
// NameMass.dat is already there, atomically: another program's file always
// wins.
file_access::Creation ExtractNameMass(const std::filesystem::path& directory,
                                      std::string_view bytes = BuiltInNameMass());

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
