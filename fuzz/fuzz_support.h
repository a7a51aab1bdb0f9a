#pragma once

#include <cstddef>
#include <cstdint>

#include "analysis/workspace.h"
#include "tests/doubles.h"

// What the fuzz targets share: one program directory for the whole run, and a
// workspace whose precision and decimal separator come from the input.

inline const std::filesystem::path& FuzzDirectory() {
    static const TemporaryDirectory directory;
    return directory.path();
}

// Uses the first two bytes of the input.
inline Workspace FuzzWorkspace(const std::uint8_t* data, MessageBox& messages) {
    Workspace workspace;
    workspace.ElementFolder = FuzzDirectory();
    workspace.Messages = &messages;
    workspace.Precision = static_cast<std::int16_t>(data[0] % 15);
    workspace.DecimalSeparator = data[1] % 2 ? U',' : U'.';
    return workspace;
}

// Each input byte is one character, so every byte value reaches the parsers.
inline Text BytesAsText(const std::uint8_t* data, std::size_t size) { return Text(data, data + size); }

// A trap that fires even in builds without assertions.
#define FUZZ_CHECK(condition)               \
    do {                                    \
        if (!(condition)) __builtin_trap(); \
    } while (false)
