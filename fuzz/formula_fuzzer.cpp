// The formula path as the window runs it: the box's edits with their notice,
// then Enter: parse, count, report.
#include <string_view>

#include "analysis/formula_parser.h"
#include "drawing/formula_drawing.h"
#include "drawing/formula_edit.h"
#include "fuzz_support.h"

namespace {

// The rest of the input as UTF-8, in pieces that a 0x01 byte ends: each
// piece a key or a paste at the end of the box, or (where it begins with
// 0x02) a text that replaces all of it.
void EditTheFormulaBox(const std::uint8_t* data, std::size_t size) {
    const Text typed = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    FormulaBoxState box;
    RecordingSurface surface;
    for (std::size_t start = 0; start <= typed.size();) {
        const std::size_t end = std::min(typed.find(U'\x01', start), typed.size());
        const Text piece = typed.substr(start, end - start);
        const Text next = piece.starts_with(U'\x02') ? piece.substr(1) : box.Formula + piece;
        ChangeFormula(box, next, surface);
        FUZZ_CHECK(box.Formula == KeepFormula(next).Formula);
        FUZZ_CHECK(box.Notice.empty() == box.Lost.Empty());
        start = end + 1;
    }
    AnalysisStarts(box);
    FUZZ_CHECK(box.Lost.Empty() && box.Pending.Mark.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    RecordingMessages messages;
    RecordingTextBox report;
    Workspace workspace = FuzzWorkspace(data, messages);
    AnalizeFormula(workspace, BytesAsText(data + 2, size - 2), report);
    EditTheFormulaBox(data + 2, size - 2);

    // Nothing may show an unbounded number of messages: besides the repeatable
    // ones, at most one each of nested brackets, numbers too large and an
    // unreadable element file.
    FUZZ_CHECK(messages.shown.size() <= Workspace::kRepeatableMessageLimit + 3);
    for (std::size_t i = 1; i < workspace.Composition.size(); ++i)
        FUZZ_CHECK(workspace.Composition[i].Symbol.size() == 2);
    return 0;
}
