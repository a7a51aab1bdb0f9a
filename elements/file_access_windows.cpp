#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "file_access.h"

namespace file_access {
namespace {

// Paths are wide on Windows: every folder name (C:\Users\Иван) works.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Close() {
        const bool closed = !valid() || ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// 100-nanosecond ticks since 1601 to nanoseconds since 1970.
std::int64_t Nanoseconds(std::int64_t ticks) { return (ticks - 116444736000000000LL) * 100; }
std::int64_t Nanoseconds(const FILETIME& time) {
    return Nanoseconds(static_cast<std::int64_t>(std::uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime));
}

FileKind KindAfterFailure(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileKind::Missing : FileKind::Other;
}

// The kind and stamp of an open handle: an ordinary file on a disk, or Other.
FileKind KindOf(HANDLE handle, FileStamp& stamp) {
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic))
        return FileKind::Other;
    stamp.Device = info.dwVolumeSerialNumber;
    stamp.Inode = std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
    stamp.Size = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
    stamp.Modified = Nanoseconds(info.ftLastWriteTime);
    stamp.Changed = Nanoseconds(basic.ChangeTime.QuadPart);
    return FileKind::Regular;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

Look Examine(const std::filesystem::path& path) {
    // Attributes only, so that a file another program holds open still answers.
    const Handle file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return {KindAfterFailure(::GetLastError()), {}};
    Look look;
    look.Kind = KindOf(file.get(), look.Stamp);
    return look;
}

Reading ReadStart(const std::filesystem::path& path, std::size_t maxBytes) {
    Reading reading;
    const Handle file(
        ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        reading.Kind = KindAfterFailure(::GetLastError());
        return reading;
    }
    reading.Kind = KindOf(file.get(), reading.Stamp);
    if (reading.Kind != FileKind::Regular) return reading;
    FILETIME now{};
    ::GetSystemTimePreciseAsFileTime(&now);
    reading.ReadAt = Nanoseconds(now);

    reading.Bytes.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(maxBytes - got, 1u << 20));
        // A range locked by another program fails at once; nothing waits.
        if (!::ReadFile(file.get(), reading.Bytes.data() + got, want, &n, nullptr)) {
            reading.Bytes.clear();
            reading.Kind = FileKind::Other;
            return reading;
        }
        if (n == 0) break;
        got += n;
    }
    reading.Bytes.resize(got);
    return reading;
}

Creation CreateNew(const std::filesystem::path& path, std::string_view bytes) {
    RemoveUnfinishedCreations(path);
    static std::atomic<unsigned> counter{0};
    wchar_t suffix[40];
    std::swprintf(suffix, std::size(suffix), L".%lu.%u.tmp", ::GetCurrentProcessId(), counter++);
    const std::filesystem::path temporary = path.parent_path() / (L"." + path.filename().wstring() + suffix);
    Handle file(
        ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return Creation::Failed;
    DWORD written = 0;
    const bool complete = ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                          written == bytes.size() && ::FlushFileBuffers(file.get()) && file.Close();
    Creation result = Creation::Failed;
    if (complete) {
        // Without MOVEFILE_REPLACE_EXISTING the move fails where the name is taken.
        if (::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) return Creation::Created;
        const DWORD error = ::GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) result = Creation::Existed;
    }
    file.Close();
    ::DeleteFileW(temporary.c_str());
    return result;
}

}  // namespace file_access
