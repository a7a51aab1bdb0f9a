#pragma once

// While the program runs it says so where its installer can see it, so that
// an upgrade or an uninstall waits for it to be closed instead of pulling its
// files from under it. Held for the life of this object.
class RunningMark {
public:
    RunningMark();
    ~RunningMark();
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;

private:
    void* handle_ = nullptr;
};
