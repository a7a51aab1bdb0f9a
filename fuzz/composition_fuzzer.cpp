// The composition path as the button runs it: lines, records, derivation, drawing.
#include <algorithm>

#include "derivation/composition_parser.h"
#include "derivation/formula_derivation.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    RecordingMessages messages;
    RecordingSurface surface;
    Workspace workspace = FuzzWorkspace(data, messages);
    AnalizePercentage(workspace, BytesAsText(data + 2, size - 2), surface);

    // Besides the repeatable ones, at most one about the sum (or numbers too
    // large) and one about the element file.
    FUZZ_CHECK(messages.shown.size() <= Workspace::kRepeatableMessageLimit + 2);
    // A symbol and a subscript for every record, and the font restored; or,
    // for percentages beyond single precision, nothing drawn and no infinity shown.
    const bool tooLarge = std::find(messages.shown.begin(), messages.shown.end(), kCompositionNumbersTooLargeMessage) !=
                          messages.shown.end();
    FUZZ_CHECK(surface.Printed().size() == (tooLarge ? 0 : 2 * (workspace.Composition.size() - 1)));
    for (const Text& message : messages.shown) FUZZ_CHECK(message.find(U'∞') == Text::npos);
    FUZZ_CHECK(surface.FontSize() == 20);
    return 0;
}
