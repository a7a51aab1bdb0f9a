#include <windows.h>

#include "running.h"

// A named mutex in the user's session: the installer opens it by name
// (VELTRAX_RUNNING_MARK, from app/CMakeLists.txt) and finds it while any
// Veltrax runs.
RunningMark::RunningMark() : handle_(::CreateMutexW(nullptr, FALSE, VELTRAX_RUNNING_MARK)) {}

RunningMark::~RunningMark() {
    if (handle_) ::CloseHandle(handle_);
}
