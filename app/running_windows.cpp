#include <windows.h>

#include "running.h"

// A named mutex in the user's session: the installer opens it by name
// (Veltrax.Running) and finds it while any Veltrax runs.
RunningMark::RunningMark() : handle_(::CreateMutexW(nullptr, FALSE, L"Veltrax.Running")) {}

RunningMark::~RunningMark() {
    if (handle_) ::CloseHandle(handle_);
}
