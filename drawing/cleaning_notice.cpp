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
// What may end the part of a formula before a hydrate's dot or a charge.
bool EndsAPart(char32_t c) { return IsFormulaCharacter(c) || IsSubscriptDigit(c) || IsSuperscriptDigit(c); }
bool StartsAPart(char32_t c) { return IsFormulaCharacter(c); }

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

// A point, a dot or a caret, given what stands on either side of it.
void NoteMark(CleaningLosses& losses, char32_t mark, char32_t left, bool adjacent, char32_t right) {
    if ((mark == U'.' || mark == U',') && adjacent && IsDigit(left) && IsDigit(right))
        Add(losses, Kind::CountPoints, Text(1, mark));
    else if (IsHydrateDot(mark) && EndsAPart(left) && StartsAPart(right))
        Add(losses, Kind::HydrateDots, Text(1, mark));
    else if (mark == U'^' && EndsAPart(left) && (IsDigit(right) || IsLineSign(right) || IsSuperscript(right)))
        Add(losses, Kind::ChargeSigns, Text(1, mark));
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
    if (EndsAPart(left) && std::any_of(run.begin(), run.end(), IsSuperscriptSign))
        Add(losses, Kind::Charges, run);
    else if (typed && EndsAPart(left) && end == after.size())  // "Ca²" may yet become "Ca²⁺"
        pending = {run, left, true, KeptBefore(after, at)};
    else
        NoteScriptDigits(losses, run);
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
    // puts right where it stood; any other edit leaves it a trailing mark.
    PendingMark waiting = std::exchange(pending, {});
    std::size_t at = start;
    if (!waiting.Mark.empty() && start == waiting.At && beforeEnd == start && start == before.size()) {
        std::size_t first = start;
        while (first < end && IsBlankLike(after[first])) ++first;
        if (first >= end) {
            pending = waiting;  // only blanks so far
        } else if (IsSuperscript(waiting.Mark.front())) {
            if (IsSuperscript(after[first]))
                at = NoteSuperscripts(after, first, waiting.Mark, waiting.Left, true, losses, pending);
            else
                NoteScriptDigits(losses, waiting.Mark);
        } else {
            NoteMark(losses, waiting.Mark.front(), waiting.Left, waiting.Adjacent, after[first]);
        }
    }

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
        } else if (IsLineSign(c)) {
            // A digit beside a sign may be the charge, which then stays as a count.
            if ((at > 0 && IsDigit(after[at - 1])) || (at + 1 < after.size() && IsDigit(after[at + 1])))
                Add(losses, Kind::ChargeSigns, Text(1, c));
        } else if (c == U'.' || c == U',' || c == U'^' || IsHydrateDot(c)) {
            const char32_t left = Neighbour(after, at, -1);
            const bool adjacent = at > 0 && !IsBlankLike(after[at - 1]);
            if (NeighbourAt(after, at, +1) == Text::npos)
                pending = {Text(1, c), left, adjacent, KeptBefore(after, at)};
            else
                NoteMark(losses, c, left, adjacent, Neighbour(after, at, +1));
        }
    }
}

void SettlePending(CleaningLosses& losses, PendingMark& pending) {
    if (!pending.Mark.empty() && IsSuperscript(pending.Mark.front())) NoteScriptDigits(losses, pending.Mark);
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

constexpr Kind kOrder[] = {Kind::CyrillicLetters, Kind::OtherLetters, Kind::HydrateDots, Kind::ScriptDigits,
                           Kind::Charges,         Kind::ChargeSigns,  Kind::CountPoints};

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
