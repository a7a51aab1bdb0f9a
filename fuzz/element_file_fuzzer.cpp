// Arbitrary bytes as NameMass.dat: loading, lookups, and both analyses over it.
#include <algorithm>
#include <cmath>
#include <fstream>

#include "analysis/formula_parser.h"
#include "derivation/composition_parser.h"
#include "elements/mdlVeltrax.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ElementTable direct = mdlVeltrax::SplitNameMass(bytes);
    const mdlVeltrax::LoadedElements indexed(direct);
    const Text some = BytesAsText(data, std::min<std::size_t>(size, 2));
    for (const Text& symbol :
         {Text(U"H"), Text(U"He"), Text(U"C"), Text(U"MT"), Text(U"X"), Text(), Text(U" "), some}) {
        const FoundElement element = mdlVeltrax::FindElement(symbol, direct);
        if (!element.Found) FUZZ_CHECK(element.Mass == 0 && element.Number == 0);
        // The indexed lookup gives the same answer as the plain search, twice.
        for (int i = 0; i < 2; ++i) {
            const FoundElement again = indexed.Find(symbol);
            FUZZ_CHECK(again.Found == element.Found && again.Number == element.Number &&
                       (again.Mass == element.Mass || (std::isnan(again.Mass) && std::isnan(element.Mass))));
        }
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

    // What is wrong with the file is told once for this version of it, not
    // again by the second analysis or for every line.
    const auto problems = std::count_if(messages.shown.begin(), messages.shown.end(), [](const Text& message) {
        return message.starts_with(U"Таблица элементов «");
    });
    FUZZ_CHECK(problems <= 1);

    // An existing file is never written, whatever it holds.
    FUZZ_CHECK(ReadFileBytes(file) == bytes);
    return 0;
}
