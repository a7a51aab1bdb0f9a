#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// What the element file needs of the file system. One implementation per
// platform (file_access_posix.cpp, file_access_windows.cpp); nothing here
// ever blocks on another process, takes a lock or writes an existing file.
namespace file_access {

// What the file system says of a file, enough to tell whether it may have
// changed since it was last read. Times are nanoseconds since 1970.
struct FileStamp {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::uint64_t Size = 0;
    std::int64_t Modified = 0;
    std::int64_t Changed = 0;
    bool operator==(const FileStamp&) const = default;
};

enum class FileKind {
    Missing,  // no entry of that name
    Regular,  // an ordinary file (also behind a link)
    Other,    // a directory, device, FIFO, socket, dangling link, or anything that cannot be examined
};

struct Look {
    FileKind Kind = FileKind::Missing;
    FileStamp Stamp;
};

// Looks at the path without opening it.
Look Examine(const std::filesystem::path& path);

struct Reading {
    FileKind Kind = FileKind::Missing;  // Regular when the bytes were read
    FileStamp Stamp;                    // of the opened file, taken before reading
    std::int64_t ReadAt = 0;            // the clock when reading began, nanoseconds since 1970
    std::string Bytes;                  // at most the requested number
};

// Opens the file without waiting (a FIFO or a device is not read) and reads
// at most `maxBytes` from its start. A file that cannot be opened or read
// gives FileKind::Other, a missing one FileKind::Missing.
Reading ReadStart(const std::filesystem::path& path, std::size_t maxBytes);

enum class Creation { Created, Existed, Failed };

// Creates the file with exactly these bytes, atomically: the bytes go to a
// new temporary file in the same folder, which is put in place only while the
// name is free. A file that appears meanwhile wins and is left as it is; a
// reader never sees part of the bytes.
// Temporary files that an earlier creation left behind when its program was
// ended midway are removed first.
Creation CreateNew(const std::filesystem::path& path, std::string_view bytes);

// Removes such leftovers of creating `path`, unless they are recent (another
// program may be creating the file right now).
void RemoveUnfinishedCreations(const std::filesystem::path& path);

}  // namespace file_access
