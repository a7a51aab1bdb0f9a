#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "file_access.h"

namespace file_access {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    bool Close() {
        const bool closed = fd_ < 0 || ::close(fd_) == 0;
        fd_ = -1;
        return closed;
    }

private:
    int fd_;
};

std::int64_t Nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

FileStamp StampOf(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::uint64_t>(info.st_size), Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim)};
}

// After a failed stat or open: nothing by that name, or a name that stands
// for nothing usable (a dangling link, a folder that cannot be searched).
FileKind KindAfterFailure(const std::filesystem::path& path, int error) {
    struct stat info {};
    if (error == ENOENT && ::lstat(path.c_str(), &info) != 0) return FileKind::Missing;
    return FileKind::Other;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

Look Examine(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {KindAfterFailure(path, errno), {}};
    return {S_ISREG(info.st_mode) ? FileKind::Regular : FileKind::Other, StampOf(info)};
}

Reading ReadStart(const std::filesystem::path& path, std::size_t maxBytes) {
    Reading reading;
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.valid()) {
        reading.Kind = KindAfterFailure(path, errno);
        return reading;
    }
    struct stat info {};
    reading.Kind = FileKind::Other;
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return reading;
    reading.Stamp = StampOf(info);
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    reading.ReadAt = Nanoseconds(now);

    // The size said by fstat is only a hint: the file may shrink or grow meanwhile.
    reading.Bytes.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        const ssize_t n = ::read(file.get(), reading.Bytes.data() + got, maxBytes - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            reading.Bytes.clear();
            return reading;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    reading.Bytes.resize(got);
    reading.Kind = FileKind::Regular;
    return reading;
}

Creation CreateNew(const std::filesystem::path& path, std::string_view bytes) {
    RemoveUnfinishedCreations(path);
    std::string temporary = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.valid()) return Creation::Failed;
    const bool written =
        ::fchmod(file.get(), 0644) == 0 && WriteAll(file.get(), bytes) && ::fsync(file.get()) == 0 && file.Close();
    Creation result = Creation::Failed;
    if (written) {
        // link() fails when the name is taken; where the file system has no
        // hard links, a rename that refuses to replace does the same.
        if (::link(temporary.c_str(), path.c_str()) == 0) {
            result = Creation::Created;
        } else if (errno == EEXIST) {
            result = Creation::Existed;
        } else if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
            return Creation::Created;
        } else if (errno == EEXIST) {
            result = Creation::Existed;
        }
    }
    ::unlink(temporary.c_str());
    return result;
}

}  // namespace file_access
