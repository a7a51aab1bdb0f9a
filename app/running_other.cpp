#include "running.h"

// Elsewhere packages are replaced by the package manager: nothing to say.
RunningMark::RunningMark() = default;
RunningMark::~RunningMark() = default;
