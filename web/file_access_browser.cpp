#include <emscripten.h>

#include <cstdlib>
#include <memory>

#include "elements/file_access.h"

// In a browser the element file is an entry of the page's storage. The page
// (or, under node, the test harness) supplies `Module.veltraxStore` with
// three calls:
//   look(path)          -> null (missing), false (unusable), or a stamp
//   read(path, maxBytes)-> null, false, or {stamp, bytes, readAt}: one character
//                          per byte; readAt (ns since 1970) defaults to now
//   create(path, bytes) -> "created", "existed" or "failed"; never replaces
// A stamp is {size, device, inode, modified, changed} in the units of
// file_access::FileStamp; the page gives a generation that grows with every
// change it makes or hears of as the inode, so that an unchanged table is
// not read again.

namespace {

// Fields written by the calls below.
enum StampField { kSize, kDevice, kInode, kModified, kChanged, kReadAt, kStampFields };

// clang-format off
EM_JS(int, veltrax_store_look, (const char* path, double* stamp), {
    const found = Module.veltraxStore.look(UTF8ToString(path));
    if (found === null) return 0;
    if (found === false) return 2;
    const at = stamp >> 3;
    HEAPF64[at] = found.size; HEAPF64[at + 1] = found.device; HEAPF64[at + 2] = found.inode;
    HEAPF64[at + 3] = found.modified; HEAPF64[at + 4] = found.changed;
    return 1;
});

EM_JS(char*, veltrax_store_read, (const char* path, int maxBytes, double* stamp, int* kind, int* length), {
    const found = Module.veltraxStore.read(UTF8ToString(path), maxBytes);
    HEAP32[length >> 2] = 0;
    if (found === null || found === false) {
        HEAP32[kind >> 2] = found === null ? 0 : 2;
        return 0;
    }
    HEAP32[kind >> 2] = 1;
    const at = stamp >> 3;
    const s = found.stamp;
    HEAPF64[at] = s.size; HEAPF64[at + 1] = s.device; HEAPF64[at + 2] = s.inode;
    HEAPF64[at + 3] = s.modified; HEAPF64[at + 4] = s.changed;
    HEAPF64[at + 5] = found.readAt !== undefined ? found.readAt : Date.now() * 1e6;
    const bytes = found.bytes.slice(0, maxBytes);
    const buffer = _malloc(bytes.length + 1);
    for (let i = 0; i < bytes.length; ++i) HEAPU8[buffer + i] = bytes.charCodeAt(i) & 255;
    HEAP32[length >> 2] = bytes.length;
    return buffer;
});

EM_JS(int, veltrax_store_create, (const char* path, const char* bytes, int length), {
    let text = "";
    for (let i = 0; i < length; i += 8192)
        text += String.fromCharCode.apply(null, HEAPU8.subarray(bytes + i, bytes + Math.min(length, i + 8192)));
    const answer = Module.veltraxStore.create(UTF8ToString(path), text);
    return answer === "created" ? 0 : answer === "existed" ? 1 : 2;
});
// clang-format on

template <typename T>
T Whole(double value) {
    return static_cast<T>(value);
}

file_access::FileStamp StampOf(const double* fields) {
    return {Whole<std::uint64_t>(fields[kDevice]), Whole<std::uint64_t>(fields[kInode]),
            Whole<std::uint64_t>(fields[kSize]), Whole<std::int64_t>(fields[kModified]),
            Whole<std::int64_t>(fields[kChanged])};
}

file_access::FileKind KindOf(int kind) {
    switch (kind) {
        case 0:
            return file_access::FileKind::Missing;
        case 1:
            return file_access::FileKind::Regular;
        default:
            return file_access::FileKind::Other;
    }
}

}  // namespace

namespace file_access {

Look Examine(const std::filesystem::path& path) {
    double fields[kStampFields] = {};
    Look look;
    look.Kind = KindOf(veltrax_store_look(path.c_str(), fields));
    if (look.Kind == FileKind::Regular) look.Stamp = StampOf(fields);
    return look;
}

Reading ReadStart(const std::filesystem::path& path, std::size_t maxBytes) {
    double fields[kStampFields] = {};
    int kind = 0;
    int length = 0;
    const std::unique_ptr<char, decltype(&std::free)> bytes(
        veltrax_store_read(path.c_str(), static_cast<int>(maxBytes), fields, &kind, &length), &std::free);
    Reading reading;
    reading.Kind = KindOf(kind);
    if (reading.Kind != FileKind::Regular) return reading;
    reading.Stamp = StampOf(fields);
    reading.ReadAt = Whole<std::int64_t>(fields[kReadAt]);
    if (bytes) reading.Bytes.assign(bytes.get(), static_cast<std::size_t>(length));
    return reading;
}

// The page's storage writes an entry whole or not at all: nothing is left over.
void RemoveUnfinishedCreations(const std::filesystem::path&) {}

Creation CreateNew(const std::filesystem::path& path, std::string_view bytes) {
    switch (veltrax_store_create(path.c_str(), bytes.data(), static_cast<int>(bytes.size()))) {
        case 0:
            return Creation::Created;
        case 1:
            return Creation::Existed;
        default:
            return Creation::Failed;
    }
}

}  // namespace file_access
