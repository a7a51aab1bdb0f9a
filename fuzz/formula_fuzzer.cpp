// The formula path as Enter runs it: parse, count, report.
#include "analysis/formula_parser.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    RecordingMessages messages;
    RecordingTextBox report;
    Workspace workspace = FuzzWorkspace(data, messages);
    AnalizeFormula(workspace, BytesAsText(data + 2, size - 2), report);

    // Nothing may show an unbounded number of messages: besides the repeatable
    // ones, at most one each of nested brackets, numbers too large and an
    // unreadable element file.
    FUZZ_CHECK(messages.shown.size() <= Workspace::kRepeatableMessageLimit + 3);
    for (std::size_t i = 1; i < workspace.Composition.size(); ++i)
        FUZZ_CHECK(workspace.Composition[i].Symbol.size() == 2);
    return 0;
}
