// The 14 formulas of BM_FormulaMix through the core compiled to WebAssembly,
// for bench/web_compare.mjs to time under node beside another formula library.
#include <emscripten.h>

#include "analysis/formula_parser.h"
#include "tests/doubles.h"

extern "C" EMSCRIPTEN_KEEPALIVE double veltrax_mix(int rounds) {
    static const Text formulas[] = {U"H2O",     U"Ca(OH)2",   U"Fe2(SO4)3", U"CuSO4(H2O)5", U"Al2(SO4)3(H2O)18",
                                    U"C6H12O6", U"(NH4)2SO4", U"Mg3(PO4)2", U"NaCl",        U"KMnO4",
                                    U"C2H5OH",  U"Ba(NO3)2",  U"Ca3(PO4)2", U"NaHCO3"};
    static RecordingMessages messages;
    static Workspace workspace = [] {
        Workspace made;
        made.ElementFolder = "";
        made.Messages = &messages;
        return made;
    }();
    RecordingTextBox report;
    double sink = 0;
    for (int round = 0; round < rounds; ++round)
        for (const Text& formula : formulas) {
            AnalizeFormula(workspace, formula, report);
            sink += static_cast<double>(report.text.size());
        }
    return sink;
}
