#include "mdlVeltrax.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace mdlVeltrax {
namespace {

std::filesystem::path NameMassPath(const std::filesystem::path& directory) {
    return directory / std::string(kNameMassFileName);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

bool IsRegularFile(int fd, off_t* size) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    *size = info.st_size;
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

enum class ReadResult { Read, Empty, Unusable };

// Reads the start of the file, at most kMaxNameMassBytes: the three lines
// are all that is wanted of it. No lock is taken: the built-in copy is written
// with a single write of less than a page, which a reader sees whole or not
// at all, and a reader that sees nothing goes on to ExtractNameMass, which
// waits for the writer's lock.
ReadResult ReadNameMass(const std::filesystem::path& path, std::string& bytes) {
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    off_t size = 0;
    if (!file.valid() || !IsRegularFile(file.get(), &size)) return ReadResult::Unusable;
    if (size == 0) return ReadResult::Empty;
    bytes.resize(std::min(static_cast<std::size_t>(size), kMaxNameMassBytes));
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(file.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return ReadResult::Unusable;
        if (n == 0) break;  // the file shrank meanwhile
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes.empty() ? ReadResult::Empty : ReadResult::Read;
}

TextView Field(const Text& line, std::size_t start) {
    if (start >= line.size()) return {};
    const TextView rest = TextView(line).substr(start);
    return rest.substr(0, rest.find(kBlank));
}

}  // namespace

bool FileExists(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void ExtractNameMass(const std::filesystem::path& directory) {
    // No truncation, and no following of a link: a dangling link must not make
    // the program create a file somewhere else. O_NONBLOCK keeps a FIFO of
    // that name from stalling the open.
    const FileDescriptor file(
        ::open(NameMassPath(directory).c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0644));
    off_t size = 0;
    if (!file.valid() || !IsRegularFile(file.get(), &size)) return;
    // Another instance may be filling the same file at this moment.
    ::flock(file.get(), LOCK_EX);
    if (!IsRegularFile(file.get(), &size) || size != 0) return;
    if (!WriteAll(file.get(), BuiltInNameMass())) {
        // Leave no partial table behind: it would count as a user's file.
        [[maybe_unused]] const int ignored = ::ftruncate(file.get(), 0);
    }
}

void LoadNameMass(const std::filesystem::path& directory, ElementTable& table) {
    const auto path = NameMassPath(directory);
    std::string bytes;
    ReadResult result = ReadNameMass(path, bytes);
    if (result == ReadResult::Empty || (result == ReadResult::Unusable && !FileExists(path))) {
        // A missing or empty file gets the built-in copy; nothing else is ever written.
        ExtractNameMass(directory);
        result = ReadNameMass(path, bytes);
    }
    table = SplitNameMass(result == ReadResult::Read ? std::string_view(bytes) : BuiltInNameMass());
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
    const Text key = AsciiUpper(TrimBlanks(symbol));
    const Text& symbols = table.SymbolLine;
    if (key.empty()) return {};
    const std::size_t p = symbols.find(key);  // 0-based
    if (p == Text::npos) return {};
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
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        // Either too large for a double or a nonzero value too small for one.
        const bool large = number.find_first_not_of('0') < number.find('.');
        return large ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
}

}  // namespace mdlVeltrax
