#include "mdlVeltrax.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "text/number_text.h"
#include "table_check.h"

namespace mdlVeltrax {
namespace {

std::filesystem::path NameMassPath(const std::filesystem::path& directory) {
    return directory / std::string(kNameMassFileName);
}

TextView Field(const Text& line, std::size_t start) {
    if (start >= line.size()) return {};
    const TextView rest = TextView(line).substr(start);
    return rest.substr(0, rest.find(kBlank));
}

Text LookupKey(TextView symbol) { return UpperCase(TrimBlanks(symbol)); }

// The column rule, given where the key first stands in the symbol line.
FoundElement ElementAt(const ElementTable& table, TextView key, std::size_t p) {
    const Text& symbols = table.SymbolLine;
    if (key.empty() || p == Text::npos) return {};
    const std::size_t after = p + key.size();
    if (after >= symbols.size() || symbols[after] != kBlank) return {};
    if (key.size() == 1 && (p == 0 || symbols[p - 1] != kBlank)) return {};

    FoundElement element;
    element.Found = true;
    element.Mass = ReadLeadingDecimal(Field(table.MassLine, p));
    const double number = std::nearbyint(ReadLeadingDecimal(Field(table.NumberLine, p)));
    if (number >= 0 && number <= 255) element.Number = static_cast<std::uint8_t>(number);
    return element;
}

// One- and two-character texts as one number each; a lone character is
// marked by a second half that no character has.
constexpr std::uint64_t kNoSecond = 0xFFFFFFFF;
std::uint64_t ShortKey(char32_t first, std::uint64_t second) { return std::uint64_t{first} << 32 | second; }

std::shared_ptr<const LoadedElements> BuiltInElements(NameMassCache& cache) {
    if (!cache.BuiltIn) cache.BuiltIn = std::make_shared<const LoadedElements>(SplitNameMass(BuiltInNameMass()));
    return cache.BuiltIn;
}

// What creations of the file that were ended midway left behind goes once
// they are a minute old: looked for at most once a minute while the file is
// there, so that a program restarted right after such an end clears them too.
void SweepLeftovers(const std::filesystem::path& path, NameMassCache& cache) {
    const auto now = std::chrono::steady_clock::now();
    if (now < cache.NextLeftoverSweep) return;
    cache.NextLeftoverSweep = now + std::chrono::minutes(1);
    file_access::RemoveUnfinishedCreations(path);
}

}  // namespace

LoadedElements::LoadedElements(ElementTable table) : table_(std::move(table)) {
    const Text& symbols = table_.SymbolLine;
    firstPlaces_.reserve(2 * symbols.size());
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        firstPlaces_.emplace_back(ShortKey(symbols[i], kNoSecond), i);
        if (i + 1 < symbols.size()) firstPlaces_.emplace_back(ShortKey(symbols[i], symbols[i + 1]), i);
    }
    // Stable, so that the first place of each text comes first among its equals.
    std::stable_sort(firstPlaces_.begin(), firstPlaces_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    firstPlaces_.erase(std::unique(firstPlaces_.begin(), firstPlaces_.end(),
                                   [](const auto& a, const auto& b) { return a.first == b.first; }),
                       firstPlaces_.end());
}

FoundElement LoadedElements::Find(TextView symbol) const {
    Text key = LookupKey(symbol);
    if (const auto known = answers_.find(key); known != answers_.end()) return known->second;
    std::size_t p = Text::npos;
    if (key.size() > 2) {
        p = table_.SymbolLine.find(key);
    } else if (!key.empty()) {
        const std::uint64_t wanted = ShortKey(key[0], key.size() == 2 ? key[1] : kNoSecond);
        const auto place = std::lower_bound(firstPlaces_.begin(), firstPlaces_.end(), wanted,
                                            [](const auto& entry, std::uint64_t k) { return entry.first < k; });
        if (place != firstPlaces_.end() && place->first == wanted) p = place->second;
    }
    const FoundElement element = ElementAt(table_, key, p);
    // A formula holds few distinct symbols; pasted text of any script could
    // hold millions, so the answers kept are bounded.
    if (answers_.size() >= kAnswersKept) answers_.clear();
    answers_.emplace(std::move(key), element);
    return element;
}

bool FileExists(const std::filesystem::path& path) {
    return file_access::Examine(path).Kind == file_access::FileKind::Regular;
}

file_access::Creation ExtractNameMass(const std::filesystem::path& directory, std::string_view bytes) {
    return file_access::CreateNew(NameMassPath(directory), bytes);
}

LoadedNameMass LoadNameMass(const std::filesystem::path& directory, NameMassCache& cache,
                            const std::filesystem::path& seed) {
    using file_access::FileKind;
    const auto path = NameMassPath(directory);
    if (path != cache.Path) {
        cache.Path = path;
        cache.Trusted = false;
        cache.FromFile.reset();
    }
    if (cache.Trusted && cache.FromFile) {
        const file_access::Look look = file_access::Examine(path);
        if (look.Kind == FileKind::Regular && look.Stamp == cache.Stamp) {
            SweepLeftovers(path, cache);
            return {cache.FromFile, NameMassSource::File};
        }
    }
    cache.Trusted = false;

    file_access::Reading reading = file_access::ReadStart(path, kMaxNameMassBytes);
    bool seeded = false;
    if (reading.Kind == FileKind::Missing) {
        // One byte more than is read tells a seed that would be cut.
        file_access::Reading seedReading;
        if (!seed.empty()) seedReading = file_access::ReadStart(seed, kMaxNameMassBytes + 1);
        if (seedReading.Kind == FileKind::Other || (seedReading.Kind == FileKind::Regular && seedReading.Bytes.empty()))
            return {BuiltInElements(cache), NameMassSource::UnusableSeed, false, SeedProblem::Unreadable};
        if (seedReading.Bytes.size() > kMaxNameMassBytes)
            return {BuiltInElements(cache), NameMassSource::UnusableSeed, false, SeedProblem::TooLarge};
        seeded = seedReading.Kind == FileKind::Regular;
        // Another program's file that appears meanwhile wins; either way, what
        // is there now is read.
        seeded = ExtractNameMass(directory, seeded ? std::string_view(seedReading.Bytes) : BuiltInNameMass()) ==
                     file_access::Creation::Created &&
                 seeded;
        reading = file_access::ReadStart(path, kMaxNameMassBytes);
    }
    if (reading.Kind != FileKind::Regular || reading.Bytes.empty()) cache.FromFile.reset();
    switch (reading.Kind) {
        case FileKind::Missing:
            return {BuiltInElements(cache), NameMassSource::NoFile};
        case FileKind::Other:
            return {BuiltInElements(cache), NameMassSource::UnreadableFile};
        case FileKind::Regular:
            break;
    }
    SweepLeftovers(path, cache);
    ++cache.FileReads;
    // An empty file is news once, until it holds something again.
    if (reading.Bytes.empty())
        return {BuiltInElements(cache), NameMassSource::EmptyFile, !std::exchange(cache.EmptyFileTold, true)};
    cache.EmptyFileTold = false;
    cache.Stamp = reading.Stamp;
    // The later of the two times: some file systems keep no change time.
    const std::int64_t lastChange = std::max(reading.Stamp.Changed, reading.Stamp.Modified);
    cache.Trusted = reading.ReadAt - lastChange >= cache.RacyNanoseconds;
    // Read again but unchanged (a file changed moments ago): the table in hand serves.
    if (cache.FromFile && reading.Bytes == cache.Bytes) return {cache.FromFile, NameMassSource::File};
    cache.FromFile = std::make_shared<const LoadedElements>(SplitNameMass(reading.Bytes));
    cache.Problem = CheckNameMass(reading.Bytes, reading.Stamp.Size > reading.Bytes.size());
    cache.Bytes = std::move(reading.Bytes);
    return {cache.FromFile, NameMassSource::File, true, SeedProblem::None, seeded};
}

void LoadNameMass(const std::filesystem::path& directory, ElementTable& table) {
    NameMassCache cache;
    table = LoadNameMass(directory, cache).Elements->Table();
}

ElementTable SplitNameMass(std::string_view bytes) {
    std::array<Text, 3> lines;
    // Every byte is one character, whatever its value.
    const auto* const byte = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t at = 0;
    for (auto& line : lines) {
        if (at >= bytes.size()) break;
        const std::size_t end = std::min(bytes.find('\r', at), bytes.size());
        line.assign(byte + at, byte + end);
        at = end + 1;
        if (at < bytes.size() && bytes[at] == '\n') ++at;
    }
    return {std::move(lines[0]), std::move(lines[1]), std::move(lines[2])};
}

FoundElement FindElement(TextView symbol, const ElementTable& table) {
    const Text key = LookupKey(symbol);
    return ElementAt(table, key, key.empty() ? Text::npos : table.SymbolLine.find(key));
}

void CleanLine(Text& text) {
    text = Text(TrimBlanks(text));
    for (int i = 0; i < 2; ++i)
        if (!text.empty() && (text.front() == kCR || text.front() == kLF)) text.erase(0, 1);
    text = Text(TrimBlanks(text));
}

double ReadLeadingDecimal(TextView text, std::size_t* consumed) {
    std::string number;
    std::size_t i = 0;
    bool point = false;
    bool digits = false;
    for (; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (IsDigit(c)) {
            digits = true;
            number.push_back(static_cast<char>(c));
        } else if (c == U'.' && !point) {
            point = true;
            number.push_back('.');
        } else {
            break;
        }
    }
    if (consumed) *consumed = i;
    if (!digits) return 0;
    // Give the converter a canonical "digits.digits" text.
    if (number.front() == '.') number.insert(number.begin(), '0');
    if (number.back() == '.') number.push_back('0');
    double value = 0;
    if (!number_text::ReadFixed(number, value)) {
        // Either too large for a double or a nonzero value too small for one.
        const bool large = number.find_first_not_of('0') < number.find('.');
        return large ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
}

}  // namespace mdlVeltrax
