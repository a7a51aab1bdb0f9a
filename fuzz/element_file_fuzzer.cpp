// Arbitrary bytes as NameMass.dat: loading, lookups, and both analyses over it.
#include <fstream>

#include "analysis/formula_parser.h"
#include "derivation/composition_parser.h"
#include "elements/mdlVeltrax.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ElementTable direct = mdlVeltrax::SplitNameMass(bytes);
    for (const char32_t* symbol : {U"H", U"He", U"C", U"MT", U"X", U"", U" "}) {
        const FoundElement element = mdlVeltrax::FindElement(symbol, direct);
        if (!element.Found) FUZZ_CHECK(element.Mass == 0 && element.Number == 0);
    }

    const auto file = FuzzDirectory() / "NameMass.dat";
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(size));
    RecordingMessages messages;
    const std::uint8_t settings[2] = {2, 1};
    Workspace workspace = FuzzWorkspace(settings, messages);
    RecordingTextBox report;
    AnalizeFormula(workspace, U"Al2(SO4)3(H2O)18XxMt", report);
    RecordingSurface surface;
    AnalizePercentage(workspace, report.text, surface);

    // A file with content is never rewritten; an empty one is filled.
    const std::string after = ReadFileBytes(file);
    FUZZ_CHECK(size == 0 ? after == mdlVeltrax::BuiltInNameMass() : after == bytes);
    return 0;
}
