#include "cleaning_notice.h"

#include <algorithm>
#include <utility>

#include "formula_drawing.h"

namespace {

using Kind = CleaningLosses::Kind;

bool IsCyrillic(char32_t c) { return c >= 0x400 && c <= 0x52F; }
bool IsRussian(char32_t c) { return (c >= U'А' && c <= U'я') || c == U'Ё' || c == U'ё'; }

// Letters of the alphabets a pupil may meet in a copied text: Latin with
// accents, Greek (the micro sign of a word processor's "µ" too), and the
// full-width Latin letters of East Asian input.
bool IsForeignLetter(char32_t c) {
    return (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x370 && c <= 0x3FF) || c == 0xB5 ||
           (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A);
}

// Cyrillic letters drawn like Latin ones, Ukrainian and Serbian ones too.
bool IsLatinLookAlike(char32_t c) {
    return Text(
               U"АВЕКМНОРСТХавекмнорстху"
               U"ІіЈјЅѕԚԛԜԝ")
               .find(c) != Text::npos;
}

bool IsSubscriptDigit(char32_t c) { return c >= 0x2080 && c <= 0x2089; }
bool IsSuperscriptDigit(char32_t c) {
    return c == 0x2070 || (c >= 0x2074 && c <= 0x2079) || c == 0xB9 || c == 0xB2 || c == 0xB3;
}
bool IsSuperscriptSign(char32_t c) { return c == U'⁺' || c == U'⁻'; }
bool IsSuperscript(char32_t c) { return IsSuperscriptDigit(c) || IsSuperscriptSign(c); }

bool IsHydrateDot(char32_t c) {
    return c == U'·' || c == U'*' || c == U'.' || c == U'•' || c == U'∙' || c == U'⋅' || c == U'×';
}
// A charge's sign written on the line: plus, hyphen, minus sign, en dash.
bool IsLineSign(char32_t c) { return c == U'+' || c == U'-' || c == U'−' || c == U'–'; }

// Any blank a word processor or a web page puts between words: tabs, line
// breaks, no-break and thin spaces.
bool IsBlankLike(char32_t c) {
    return c == kBlank || c == U'\t' || c == kCR || c == kLF || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200B) || c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

bool IsFormulaCharacter(char32_t c) { return IsDrawnInNormalType(c) || IsDigit(c); }
// What may end the part of a formula before a hydrate's dot or a charge, and
// what may start the part after a dot.
bool EndsAPart(char32_t c) {
    return (IsFormulaCharacter(c) && c != U'(') || IsSubscriptDigit(c) || IsSuperscriptDigit(c);
}
bool StartsAPart(char32_t c) { return IsFormulaCharacter(c) && c != U')'; }

// The nearest character on either side that is no blank; 0 where none is.
std::size_t NeighbourAt(TextView text, std::size_t at, int step) {
    for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(at) + step; i >= 0 && i < std::ssize(text); i += step)
        if (!IsBlankLike(text[static_cast<std::size_t>(i)])) return static_cast<std::size_t>(i);
    return Text::npos;
}
char32_t Neighbour(TextView text, std::size_t at, int step) {
    const std::size_t i = NeighbourAt(text, at, step);
    return i == Text::npos ? 0 : text[i];
}

void Add(CleaningLosses& losses, Kind kind, Text item) {
    auto& items = losses.Items[kind];
    if (std::find(items.begin(), items.end(), item) == items.end()) items.push_back(std::move(item));
}

void NoteScriptDigits(CleaningLosses& losses, TextView digits);

// A mark whose loss depends on what stands on either side of it: a point, a
// dot, a caret, a sign or a blank. `right` is where the next character that
// is no blank stands in `after`, or npos where nothing followed it;
// `nextToIt` says that no blank came between.
void NoteMark(CleaningLosses& losses, const PendingMark& mark, TextView after, std::size_t right,
              bool nextToIt = false) {
    const char32_t m = mark.Mark.front();
    const char32_t r = right == Text::npos ? 0 : after[right];
    if (IsSuperscript(m)) {
        if (EndsAPart(mark.Left) && std::any_of(mark.Mark.begin(), mark.Mark.end(), IsSuperscriptSign))
            Add(losses, Kind::Charges, mark.Mark);
        else
            NoteScriptDigits(losses, mark.Mark);
    } else if (IsBlankLike(m)) {
        // "CuSO4 5H2O": the two numbers become one.
        if (mark.Adjacent && IsDigit(mark.Left) && IsDigit(r))
            Add(losses, Kind::BlankInNumbers, Text{mark.Left, kBlank, r});
    } else if (IsLineSign(m)) {
        // "Fe3+", "SO4 2-", "SO4-2": a digit beside the sign may be the charge,
        // which then stays as a count; "CH3–CH3" is a bond.
        if ((IsDigit(r) && nextToIt) || (mark.Adjacent && IsDigit(mark.Left) && !IsDrawnInNormalType(r)))
            Add(losses, Kind::ChargeSigns, mark.Mark);
    } else if ((m == U'.' || m == U',') && mark.Adjacent && IsDigit(mark.Left) && IsDigit(r)) {
        Add(losses, Kind::CountPoints, mark.Mark);
    } else if (IsHydrateDot(m) && EndsAPart(mark.Left) && StartsAPart(r)) {
        Add(losses, Kind::HydrateDots, mark.Mark);
    } else if (m == U'^' && EndsAPart(mark.Left) && (IsDigit(r) || IsLineSign(r) || IsSuperscript(r))) {
        Add(losses, Kind::ChargeSigns, mark.Mark);
    }
}

void NoteScriptDigits(CleaningLosses& losses, TextView digits) {
    for (const char32_t c : digits) {
        if (IsSubscriptDigit(c)) losses.Subscripts = true;
        if (IsSuperscriptDigit(c)) losses.Superscripts = true;
        if (IsSubscriptDigit(c) || IsSuperscriptDigit(c)) Add(losses, Kind::ScriptDigits, Text(1, c));
    }
}

std::size_t KeptBefore(TextView text, std::size_t at) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), IsFormulaCharacter));
}

// Superscripts from `at` on: a charge where they hold a sign and follow a part
// of the formula ("Ca²⁺", "SO₄²⁻", "Fe⁺³"), digits otherwise. `run` is what
// came before them (superscript digits left waiting); `typed` says that they
// are all that the edit inserted, as a key gives them. Gives where they end.
std::size_t NoteSuperscripts(TextView after, std::size_t at, Text run, char32_t left, bool typed,
                             CleaningLosses& losses, PendingMark& pending) {
    std::size_t end = at;
    while (end < after.size() && IsSuperscript(after[end])) run.push_back(after[end++]);
    PendingMark mark{run, left, true, 0};
    if (typed && EndsAPart(left) && end == after.size()) {  // "Ca²" may yet become "Ca²⁺", "Fe⁺" "Fe⁺³"
        mark.At = KeptBefore(after, at);
        pending = std::move(mark);
    } else {
        NoteMark(losses, mark, after, Text::npos);
    }
    return end;
}

}  // namespace

bool CleaningLosses::Empty() const { return Count() == 0; }

std::size_t CleaningLosses::Count() const {
    std::size_t count = 0;
    for (const auto& items : Items) count += items.size();
    return count;
}

void NoteLosses(TextView before, TextView after, CleaningLosses& losses, PendingMark& pending) {
    // What the edit inserted: `after` less what it shares with `before` at
    // both ends.
    std::size_t start = 0;
    while (start < before.size() && start < after.size() && before[start] == after[start]) ++start;
    std::size_t end = after.size();
    std::size_t beforeEnd = before.size();
    for (; end > start && beforeEnd > start && before[beforeEnd - 1] == after[end - 1]; --beforeEnd) --end;

    // A mark that waited at the end of the text is decided by what this edit
    // puts right where it stood; any other edit leaves it with nothing after.
    PendingMark waiting = std::exchange(pending, {});
    std::size_t at = start;
    if (!waiting.Mark.empty()) {
        std::size_t first = start;
        while (first < end && IsBlankLike(after[first])) ++first;
        if (start != waiting.At || beforeEnd != start || start != before.size())
            NoteMark(losses, waiting, after, Text::npos);
        else if (first >= end)
            pending = waiting, pending.BlankAfter = true, at = end;  // only blanks so far, which go with the mark
        else if (IsSuperscript(waiting.Mark.front()) && IsSuperscript(after[first]))
            at = NoteSuperscripts(after, first, waiting.Mark, waiting.Left, true, losses, pending);
        else
            NoteMark(losses, waiting, after, first, first == start && !waiting.BlankAfter);
    }

    // A key that leaves a mark at the end of the text: the next key decides it.
    const bool key = end - start == 1;
    for (; at < end; ++at) {
        const char32_t c = after[at];
        if (IsCyrillic(c)) {
            Add(losses, Kind::CyrillicLetters, Text(1, c));
            if (!IsRussian(c)) losses.NonRussianCyrillic = true;
            if (IsLatinLookAlike(c) && losses.LookAlikes.find(c) == Text::npos) losses.LookAlikes.push_back(c);
        } else if (IsForeignLetter(c)) {
            Add(losses, Kind::OtherLetters, Text(1, c));
        } else if (IsSubscriptDigit(c)) {
            NoteScriptDigits(losses, TextView(&c, 1));
        } else if (IsSuperscript(c)) {
            at = NoteSuperscripts(after, at, {}, at > 0 ? after[at - 1] : 0, at == start, losses, pending) - 1;
        } else if (c == U'.' || c == U',' || c == U'^' || IsHydrateDot(c) || IsLineSign(c) || IsBlankLike(c)) {
            // A run of blanks is one mark, looked at once; whatever it holds,
            // every look here is bounded by the runs of blanks around it.
            if (IsBlankLike(c) && at > start && IsBlankLike(after[at - 1])) continue;
            // A blank typed before it is no longer in the box, but was there.
            const bool blankBefore = at == start && !waiting.Mark.empty() && IsBlankLike(waiting.Mark.front());
            const bool adjacent = at > 0 && !IsBlankLike(after[at - 1]) && !blankBefore && !waiting.BlankAfter;
            PendingMark mark{Text(1, c), Neighbour(after, at, -1), adjacent, 0};
            const std::size_t right = NeighbourAt(after, at, +1);
            if (right == Text::npos && key) {
                mark.At = KeptBefore(after, at);
                pending = std::move(mark);
            } else {
                NoteMark(losses, mark, after, right, right == at + 1);
            }
        }
    }
}

void SettlePending(CleaningLosses& losses, PendingMark& pending) {
    if (!pending.Mark.empty()) NoteMark(losses, pending, {}, Text::npos);
    pending = {};
}

namespace {

// «а», «б» и «в»: at most eight, then "и другие".
Text Quoted(const std::vector<Text>& items, const char32_t* lastJoin) {
    Text out;
    for (std::size_t i = 0; i < items.size() && i < 8; ++i) {
        if (i > 0) out += i + 1 == items.size() ? lastJoin : U", ";
        out += U"«" + items[i] + U"»";
    }
    if (items.size() > 8) out += U" и другие";
    return out;
}

Text QuotedLetters(const Text& letters, const char32_t* lastJoin) {
    std::vector<Text> items;
    for (const char32_t c : letters) items.emplace_back(1, c);
    return Quoted(items, lastJoin);
}

// How one kind of loss is named: in the singular for one item, in the plural
// for several; `feminine` chooses «убрана» or «убран».
struct Naming {
    Text one, many;
    bool feminine;
};

Naming NamingOf(const CleaningLosses& losses, Kind kind) {
    switch (kind) {
        case Kind::CyrillicLetters:
            return losses.NonRussianCyrillic ? Naming{U"кириллическая буква", U"кириллические буквы", true}
                                             : Naming{U"русская буква", U"русские буквы", true};
        case Kind::OtherLetters:
            return {U"буква другого алфавита", U"буквы другого алфавита", true};
        case Kind::HydrateDots:
            return {U"знак", U"знаки", false};
        case Kind::ScriptDigits:
            if (losses.Subscripts && losses.Superscripts)
                return {U"подстрочная или надстрочная цифра", U"подстрочные и надстрочные цифры", true};
            if (losses.Subscripts) return {U"подстрочная цифра", U"подстрочные цифры", true};
            return {U"надстрочная цифра", U"надстрочные цифры", true};
        case Kind::Charges:
            return {U"заряд иона", U"заряды ионов", false};
        case Kind::ChargeSigns:
            return {U"знак заряда", U"знаки заряда", false};
        case Kind::BlankInNumbers:
            return {U"пробел между цифрами", U"пробелы между цифрами", false};
        case Kind::CountPoints:
        case Kind::kKinds:
            break;
    }
    return {U"знак", U"знаки", false};
}

Text Removed(bool many, bool feminine) { return many ? U"убраны " : feminine ? U"убрана " : U"убран "; }

// What follows the items in the notice: where they stood and how to write
// the formula instead.
Text Advice(const CleaningLosses& losses, Kind kind, bool many) {
    switch (kind) {
        case Kind::CyrillicLetters: {
            Text advice =
                Text(U": в формуле нужны латинские. Переключите клавиатуру на латинскую раскладку и наберите ") +
                (many ? U"их" : U"её") + U" заново.";
            const Text& alike = losses.LookAlikes;
            if (alike.empty()) return advice;
            const bool several = alike.size() > 1;
            const Text who = losses.NonRussianCyrillic ? (several ? U"Кириллические " : U"Кириллическая ")
                                                       : (several ? U"Русские " : U"Русская ");
            return advice + U" " + who + QuotedLetters(alike, U" и ") +
                   (several ? U" только похожи на латинские, но это другие буквы."
                            : U" только похожа на латинскую, но это другая буква.");
        }
        case Kind::OtherLetters:
            return U": в формуле нужны латинские буквы.";
        case Kind::HydrateDots:
            return U" между частями формулы: кристаллогидрат пишите со скобками и индексом, например CuSO4(H2O)5 "
                   U"вместо CuSO4·5H2O.";
        case Kind::ScriptDigits:
            return U": набирайте обычные цифры, программа сама рисует их индексами.";
        case Kind::Charges:
            return U": формула вещества пишется без заряда, так и посчитано.";
        case Kind::ChargeSigns:
            return Text(U": если при ") + (many ? U"них" : U"нём") +
                   U" были цифры заряда, они остались в формуле индексами. Формула вещества пишется без заряда: "
                   U"уберите и эти цифры, например SO4 вместо SO4^2-.";
        case Kind::BlankInNumbers:
            return Text(U": цифры по обе стороны ") + (many ? U"каждого" : U"от него") +
                   U" слились в одно число. Если это кристаллогидрат, пишите его со скобками: CuSO4(H2O)5 вместо "
                   U"CuSO4 5H2O.";
        case Kind::CountPoints: {
            const auto& items = losses.Items[kind];
            const bool point = std::find(items.begin(), items.end(), U".") != items.end();
            return Text(many ? U" внутри чисел, и числа изменились" : U" внутри числа, и число изменилось") +
                   U": индексы в формуле только целые, например C3H6 вместо C1.5H3." +
                   (point ? U" Если это кристаллогидрат, пишите его со скобками: CuSO4(H2O)5." : U"");
        }
        case Kind::kKinds:
            break;
    }
    return {};
}

constexpr Kind kOrder[] = {Kind::CyrillicLetters, Kind::OtherLetters, Kind::HydrateDots,    Kind::ScriptDigits,
                           Kind::Charges,         Kind::ChargeSigns,  Kind::BlankInNumbers, Kind::CountPoints};

}  // namespace

Text EditNotice(const CleaningLosses& losses) {
    Text notice;
    for (const Kind kind : kOrder) {
        const auto& items = losses.Items[kind];
        if (items.empty()) continue;
        const Naming naming = NamingOf(losses, kind);
        const bool many = items.size() > 1;
        if (!notice.empty()) notice.push_back(kBlank);
        Text removed = Removed(many, naming.feminine);
        removed.front() = U'У';
        notice +=
            removed + (many ? naming.many : naming.one) + U" " + Quoted(items, U" и ") + Advice(losses, kind, many);
    }
    return notice;
}

Text AnalysisNotice(const CleaningLosses& losses, TextView formula) {
    if (losses.Empty()) return {};
    Text what;
    bool feminine = false;
    for (const Kind kind : kOrder) {
        const auto& items = losses.Items[kind];
        if (items.empty()) continue;
        const Naming naming = NamingOf(losses, kind);
        if (!what.empty()) what += U", ";
        what += (items.size() > 1 ? naming.many : naming.one) + U" " + Quoted(items, U", ");
        if (kind == Kind::CountPoints) what += items.size() > 1 ? U" внутри чисел" : U" внутри числа";
        feminine = naming.feminine;
    }
    // A long formula is named by its start.
    constexpr std::size_t kShown = 40;
    const Text computed = formula.empty() ? Text(U": формулы не осталось, считать нечего.")
                          : formula.size() <= kShown ? U": посчитано для " + Text(formula) + U"."
                                                     : U": посчитано для " + Text(formula.substr(0, kShown)) + U"….";
    return U"В формуле " + Removed(losses.Count() > 1, feminine) + what + computed;
}

Text CleaningNotice(TextView before, TextView after) {
    CleaningLosses losses;
    PendingMark pending;
    NoteLosses(before, after, losses, pending);
    return EditNotice(losses);
}
