// Runs a file of cases through the core as the window does and prints every
// output: the report, the messages and the drawing, numbers to the last bit.
// Built natively and for WebAssembly, the two outputs must be the same bytes.
//
// Usage: differential CASES ELEMENT-FOLDER
// A case is one line: "F <precision> <separator> <formula>" for a formula
// typed into the box and Enter, "C <precision> <separator> <text>" for a
// composition and the button; in the text "\r", "\n" and "\\" stand for CR,
// LF and a backslash.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "analysis/formula_parser.h"
#include "analysis/number_reader.h"
#include "derivation/composition_parser.h"
#include "drawing/formula_drawing.h"
#include "tests/doubles.h"

namespace {

std::string Unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        const char next = text[++i];
        out.push_back(next == 'r' ? '\r' : next == 'n' ? '\n' : next);
    }
    return out;
}

std::string Escaped(TextView text) {
    std::string out;
    for (const char c : ToUtf8(text)) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else
            out.push_back(c);
    }
    return out;
}

std::string Number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: differential CASES ELEMENT-FOLDER\n";
        return 2;
    }
    std::ifstream cases(argv[1], std::ios::binary);
    RecordingMessages messages;
    RecordingSurface picture;
    RecordingTextBox report;
    Workspace workspace;
    workspace.ElementFolder = argv[2];
    workspace.Messages = &messages;
    std::string line;
    int number = 0;
    while (std::getline(cases, line)) {
        if (line.size() < 6) continue;
        const char kind = line[0];
        workspace.Precision = PrecisionOfEntry(FromUtf8(line.substr(2, line.find(' ', 2) - 2)));
        const std::size_t separatorAt = line.find(' ', 2) + 1;
        workspace.DecimalSeparator = static_cast<char32_t>(line[separatorAt]);
        const Text input = FromUtf8(Unescaped(line.substr(separatorAt + 2)));
        messages.shown.clear();
        report.writes = 0;
        std::cout << "case " << ++number << '\n';
        if (kind == 'F') {
            KeptFormula kept = KeepFormula(input);
            ShowFormula(kept.Formula, picture);
            std::cout << "kept " << Escaped(kept.Formula) << " dropped " << kept.Dropped << '\n';
            AnalizeFormula(workspace, kept.Formula, report);
            if (report.writes) std::cout << "report " << Escaped(report.text) << '\n';
        } else {
            AnalizePercentage(workspace, input, picture);
        }
        for (const Text& message : messages.shown) std::cout << "message " << Escaped(message) << '\n';
        for (const auto& drawn : picture.Printed())
            std::cout << "print " << Escaped(drawn.Printed) << ' ' << Number(drawn.X) << ' ' << Number(drawn.Y) << ' '
                      << Number(drawn.FontSize) << '\n';
        for (std::size_t i = 1; i < workspace.Composition.size(); ++i) {
            const ElementRecord& record = workspace.Composition[i];
            std::cout << "record " << Escaped(record.Symbol) << ' ' << int{record.Number} << ' ' << Number(record.Mass)
                      << ' ' << Number(record.Count) << ' ' << Number(record.Percent) << ' ' << Number(record.Moles)
                      << '\n';
        }
    }
    return 0;
}
