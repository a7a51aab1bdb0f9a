#include <windows.h>

#include <string>

#include "running.h"

namespace {

// The mark names the program's folder, so that an installer checks only for
// the copy it replaces: a pupil's copy started from a stick elsewhere does
// not hold up the installed one's upgrade. The folder is written the way the
// installer writes it (long names, lower case, forward slashes, at most its
// last 200 characters), since a name may hold no backslash and no more than
// MAX_PATH characters. VELTRAX_RUNNING_MARK comes from app/CMakeLists.txt.
std::wstring MarkName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return VELTRAX_RUNNING_MARK;
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.erase(path.find_last_of(L'\\') == std::wstring::npos ? 0 : path.find_last_of(L'\\'));
    std::wstring folder(path.size() + MAX_PATH, L'\0');
    const DWORD longLength = ::GetLongPathNameW(path.c_str(), folder.data(), static_cast<DWORD>(folder.size()));
    if (longLength > 0 && longLength < folder.size())
        folder.resize(longLength);
    else
        folder = path;
    if (!folder.empty()) ::CharLowerBuffW(folder.data(), static_cast<DWORD>(folder.size()));
    for (wchar_t& c : folder)
        if (c == L'\\') c = L'/';
    while (!folder.empty() && folder.back() == L'/') folder.pop_back();
    constexpr std::size_t kKept = 200;
    if (folder.size() > kKept) folder.erase(0, folder.size() - kKept);
    return std::wstring(VELTRAX_RUNNING_MARK) + L":" + folder;
}

}  // namespace

// A named mutex in the user's session, held while the program runs.
RunningMark::RunningMark() : handle_(::CreateMutexW(nullptr, FALSE, MarkName().c_str())) {}

RunningMark::~RunningMark() {
    if (handle_) ::CloseHandle(handle_);
}
