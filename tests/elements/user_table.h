#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "analysis/formula_parser.h"
#include "tests/doubles.h"

// A user's element table of hydrogen (mass 2) and oxygen: H2O weighs 20 by it,
// and 18.01528 by the built-in table.
inline constexpr std::string_view kUserTable = " H  O \r\n 2  16 \r\n 1  8 ";

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The first line of the report of a formula; empty when none was written.
inline std::string MolarMassLine(Workspace& workspace, TextView formula) {
    RecordingTextBox box;
    AnalizeFormula(workspace, formula, box);
    const std::string report = ToUtf8(box.text);
    return report.substr(0, report.find('\r'));
}
