#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/formula_parser.h"
#include "analysis/number_reader.h"
#include "analysis/workspace.h"
#include "derivation/composition_parser.h"
#include "drawing/drawing_surface.h"
#include "drawing/formula_drawing.h"
#include "drawing/formula_edit.h"
#include "drawing/recorded_picture.h"
#include "drawing/window_layout.h"
#include "drawing/window_texts.h"
#include "elements/mdlVeltrax.h"
#include "elements/table_check.h"

// What the page calls. Each call takes the controls' input as UTF-8 text,
// given by its start and its length in bytes (a NUL is a character like any
// other, as it is in the desktop's text boxes), and answers with one JSON
// object: what to write into the controls, what to draw and the messages to
// show, in order. The page keeps no state of the analyses; the workspace here
// is the window's. `tableFile` names the file that the table in the page's
// storage was loaded from, for the messages; it is empty where none was.

namespace {

// The width of a text in the picture's font, from the browser's own metrics.
// clang-format off
EM_JS(double, veltrax_text_width, (const char* text, double points), {
    return Module.veltraxTextWidth(UTF8ToString(text), points);
});
// clang-format on

struct Page {
    Page() {
        workspace.Messages = &messages;
        workspace.ElementFolder = "";
        workspace.Precision = 1;
        ResetCompositionTable(workspace.Composition);
    }
    Workspace workspace;
    HeldMessages messages;
    // The picture, with widths from the browser's metrics of the page's font.
    RecordedPicture picture{
        [](TextView text, double points) { return veltrax_text_width(ToUtf8(text).c_str(), points); }};
    FormulaBoxState formulaBox;
    window_layout::Controls layout = window_layout::kDesign;  // the six controls' places, as laid out last
    std::string answer;                                       // the last answer, valid until the next call
};

Page& ThePage() {
    static Page page;
    return page;
}

// The answers as JSON, written in order: objects and arrays, keys, texts,
// numbers and null. The page reads each call's answer by its keys.
class Json {
public:
    explicit Json(std::string& out) : out_(out) { out_.clear(); }
    Json& Open(char bracket) {
        Separate();
        out_.push_back(bracket);
        first_ = true;
        return *this;
    }
    Json& Close(char bracket) {
        out_.push_back(bracket);
        first_ = false;
        return *this;
    }
    Json& Key(const char* key) {
        Separate();
        out_ += '"';
        out_ += key;
        out_ += "\":";
        first_ = true;
        return *this;
    }
    Json& String(TextView text);
    Json& Number(double value);
    Json& Null() {
        Separate();
        out_ += "null";
        return *this;
    }
    const char* Done() const { return out_.c_str(); }

private:
    void Separate() {
        if (!first_) out_.push_back(',');
        first_ = false;
    }
    std::string& out_;
    bool first_ = true;
};

Json& Json::String(TextView text) {
    Separate();
    out_.push_back('"');
    for (const char32_t c : text) {
        if (c == U'"' || c == U'\\') {
            out_.push_back('\\');
            out_.push_back(static_cast<char>(c));
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out_ += escaped;
        } else {
            out_ += ToUtf8(TextView(&c, 1));
        }
    }
    out_.push_back('"');
    return *this;
}

Json& Json::Number(double value) {
    Separate();
    char number[32];
    std::snprintf(number, sizeof number, "%.17g", value);
    out_ += number;
    return *this;
}

// The messages of the call and the picture as far as `visibleTwips` reaches
// (nothing further right can be seen), as the last keys of an object.
void MessagesAndPicture(Page& page, Json& json, double visibleTwips) {
    json.Key("messages").Open('[');
    for (const Text& message : page.messages.shown) json.String(message);
    page.messages.shown.clear();
    json.Close(']').Key("normalSize").Number(page.picture.NormalSize()).Key("drawing").Open('[');
    const auto& printed = page.picture.Printed();
    for (std::size_t i = 0, visible = page.picture.VisibleCount(visibleTwips); i < visible; ++i) {
        const PrintedText& drawn = printed[i];
        json.Open('[').String(drawn.Printed).Number(drawn.X).Number(drawn.Y).Number(drawn.FontSize).Close(']');
    }
    json.Close(']').Close('}');
}

Text TextOf(const char* utf8, int length) {
    return FromUtf8(std::string_view(utf8, length > 0 ? static_cast<std::size_t>(length) : 0));
}

void BeginCall(Page& page, int precision, const char* separator, int separatorLength, const char* tableFile,
               int tableFileLength) {
    page.workspace.Precision =
        PrecisionOfEntry(WholeNumberText(static_cast<std::size_t>(precision < 0 ? 0 : precision)));
    const Text decimal = TextOf(separator, separatorLength);
    page.workspace.DecimalSeparator = decimal.empty() ? U'.' : decimal.front();
    const std::string name = ToUtf8(TextOf(tableFile, tableFileLength));
    page.workspace.ShownElementFile = std::filesystem::path(std::u8string(name.begin(), name.end()));
}

// The six controls' places, as arrays of left, top, width and height in
// twips, in the order of window_layout::Control.
void Places(Json& json, const window_layout::Controls& controls) {
    json.Open('[');
    for (const window_layout::Rectangle& place : controls)
        json.Open('[').Number(place.Left).Number(place.Top).Number(place.Width).Number(place.Height).Close(']');
    json.Close(']');
}

}  // namespace

extern "C" {

// The picture's font at start-up: 20 points.
EMSCRIPTEN_KEEPALIVE void veltrax_start() { ThePage().picture.SetFontSize(20); }

// A change of the formula box, or an insertion about to be made: what the
// box keeps, the notice and the picture. `replacesAll` tells an insertion
// over the box's whole text.
EMSCRIPTEN_KEEPALIVE const char* veltrax_formula_changed(const char* typed, int typedLength, double visibleTwips,
                                                         int replacesAll) {
    Page& page = ThePage();
    const Text typedText = TextOf(typed, typedLength);
    const FormulaChange change = ChangeFormula(page.formulaBox, typedText, page.picture, replacesAll != 0);
    if (change.Dropped > 0) ShowMessage(page.workspace, FormulaCutMessage(change.Dropped));
    // The box's text comes back only where it is to change.
    Json json(page.answer);
    json.Open('{').Key("formula");
    if (change.WriteBack)
        json.String(page.formulaBox.Formula);
    else
        json.Null();
    json.Key("notice").String(page.formulaBox.Notice);
    MessagesAndPicture(page, json, visibleTwips);
    return json.Done();
}

// Enter in the formula box: the report, or null where the box stays as it is,
// and the notice of what the cleaning took from the formula.
EMSCRIPTEN_KEEPALIVE const char* veltrax_enter(int precision, const char* separator, int separatorLength,
                                               const char* tableFile, int tableFileLength, double visibleTwips) {
    Page& page = ThePage();
    BeginCall(page, precision, separator, separatorLength, tableFile, tableFileLength);
    HeldText report;
    const Text& notice = AnalysisStarts(page.formulaBox);
    AnalizeFormula(page.workspace, page.formulaBox.Formula, report);
    Json json(page.answer);
    json.Open('{').Key("report");
    if (report.writes > 0)
        json.String(report.text);
    else
        json.Null();
    json.Key("notice").String(notice);
    MessagesAndPicture(page, json, visibleTwips);
    return json.Done();
}

// The button: the composition text (lines joined by CR LF) read and the
// derived formula drawn.
EMSCRIPTEN_KEEPALIVE const char* veltrax_command(const char* composition, int compositionLength, int precision,
                                                 const char* separator, int separatorLength, const char* tableFile,
                                                 int tableFileLength, double visibleTwips) {
    Page& page = ThePage();
    BeginCall(page, precision, separator, separatorLength, tableFile, tableFileLength);
    AnalizePercentage(page.workspace, TextOf(composition, compositionLength), page.picture);
    Json json(page.answer);
    MessagesAndPicture(page, json.Open('{'), visibleTwips);
    return json.Done();
}

// The picture again, for a new width.
EMSCRIPTEN_KEEPALIVE const char* veltrax_picture(double visibleTwips) {
    Page& page = ThePage();
    Json json(page.answer);
    MessagesAndPicture(page, json.Open('{'), visibleTwips);
    return json.Done();
}

// What the picture shows, in words, for assistive technology: asked for
// apart, as it is as long as the formula and changes with every key.
EMSCRIPTEN_KEEPALIVE const char* veltrax_description() {
    Page& page = ThePage();
    return Json(page.answer).String(page.picture.Description()).Done();
}

// The report box's capacity; how much of the insertion in Module.veltraxInsertion
// it keeps (one code unit read, so a long paste stays out of the core's memory).
EMSCRIPTEN_KEEPALIVE int veltrax_report_capacity() { return static_cast<int>(kReportBoxCapacity); }
EM_JS(int, insertion_unit, (double index), { return Module.veltraxInsertion.charCodeAt(index); });
EMSCRIPTEN_KEEPALIVE double veltrax_report_keeps(double held, double replaced, double inserted) {
    return static_cast<double>(ReportBoxKeeps(static_cast<std::size_t>(held), static_cast<std::size_t>(replaced),
                                              static_cast<std::size_t>(inserted),
                                              [](std::size_t i) { return insertion_unit(static_cast<double>(i)); }));
}
// The message for what a paste left out.
EMSCRIPTEN_KEEPALIVE const char* veltrax_report_cut(double dropped) {
    Page& page = ThePage();
    return Json(page.answer).String(ReportCutMessage(static_cast<std::size_t>(dropped))).Done();
}

// What is wrong with an element table's bytes (one character a byte), as the
// analyses would tell it, or "" for a sound table.
EMSCRIPTEN_KEEPALIVE const char* veltrax_check_table(const char* bytes, int length) {
    Page& page = ThePage();
    const auto size = static_cast<std::size_t>(length > 0 ? length : 0);
    const std::string_view table(bytes, std::min(size, mdlVeltrax::kMaxNameMassBytes));
    return Json(page.answer).String(mdlVeltrax::CheckNameMass(table, size > table.size())).Done();
}

// How many bytes of an element table are read: a longer file is cut.
EMSCRIPTEN_KEEPALIVE int veltrax_table_bound() { return static_cast<int>(mdlVeltrax::kMaxNameMassBytes); }

// The window's six controls laid out for a client area of `width` × `height`
// twips, the notice's band under the picture `band` twips high, from their
// places of the last call (the design at first).
EMSCRIPTEN_KEEPALIVE const char* veltrax_layout(double width, double height, double band) {
    Page& page = ThePage();
    window_layout::FollowSize(page.layout, static_cast<float>(width), static_cast<float>(height),
                              static_cast<float>(band));
    Json json(page.answer);
    Places(json, page.layout);
    return json.Done();
}

// Twips a pixel, and the six laid out at the window's opening size, for the
// moment before the page has its core: the bundler puts them into the page.
EMSCRIPTEN_KEEPALIVE const char* veltrax_opening_layout() {
    window_layout::Controls opening = window_layout::kDesign;
    window_layout::FollowSize(opening, window_layout::kClientWidth, window_layout::kClientHeight);
    Json json(ThePage().answer);
    Places(json.Open('{').Key("twipsPerPixel").Number(kTwipsPerPixel).Key("controls"), opening);
    return json.Close('}').Done();
}

// What the window says: its texts and the precision list's last entry, as
// the desktop window says them.
EMSCRIPTEN_KEEPALIVE const char* veltrax_texts() {
    Json json(ThePage().answer);
    json.Open('{').Key("caption").String(kCaption).Key("prompt").String(window_texts::kFormulaPrompt);
    json.Key("formulaTip").String(window_texts::kFormulaTip).Key("formulaName").String(window_texts::kFormulaName);
    json.Key("reportName").String(window_texts::kReportName).Key("command").String(window_texts::kCommandCaption);
    json.Key("precisionCaption").String(window_texts::kPrecisionCaption);
    json.Key("pictureName").String(window_texts::kPictureName).Key("lastPrecision").Number(kMaxPrecision);
    return json.Close('}').Done();
}

// The built-in NameMass.dat, the final NUL included.
EMSCRIPTEN_KEEPALIVE const char* veltrax_built_in_data() { return mdlVeltrax::BuiltInNameMass().data(); }
EMSCRIPTEN_KEEPALIVE int veltrax_built_in_size() { return static_cast<int>(mdlVeltrax::BuiltInNameMass().size()); }

}  // extern "C"
