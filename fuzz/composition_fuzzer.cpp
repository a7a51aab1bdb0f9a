// The composition path as the button runs it: lines, records, derivation, drawing.
#include "derivation/composition_parser.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    CountingMessages messages;
    CountingSurface surface;
    Workspace workspace;
    workspace.ProgramDirectory = FuzzDirectory();
    workspace.Messages = &messages;
    workspace.Precision = static_cast<std::int16_t>(data[0] % 15);
    workspace.DecimalSeparator = data[1] % 2 ? U',' : U'.';
    AnalizePercentage(workspace, BytesAsText(data + 2, size - 2), surface);

    FUZZ_CHECK(messages.shown <= Workspace::kRepeatableMessageLimit + 1);
    // Two prints (symbol and subscript) for every record, and the font restored.
    FUZZ_CHECK(surface.prints == 2 * static_cast<long>(workspace.Composition.size() - 1));
    FUZZ_CHECK(surface.size == 20);
    return 0;
}
