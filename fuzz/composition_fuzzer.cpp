// The composition path as the button runs it: lines, records, derivation, drawing.
#include "derivation/composition_parser.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    RecordingMessages messages;
    RecordingSurface surface;
    Workspace workspace = FuzzWorkspace(data, messages);
    AnalizePercentage(workspace, BytesAsText(data + 2, size - 2), surface);

    FUZZ_CHECK(messages.shown.size() <= Workspace::kRepeatableMessageLimit + 2);  // and the sum, an unreadable file
    // A symbol and a subscript for every record, and the font restored.
    FUZZ_CHECK(surface.prints.size() == 2 * (workspace.Composition.size() - 1));
    FUZZ_CHECK(surface.fontSize == 20);
    return 0;
}
