#include "formula_drawing.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

bool IsDrawnInNormalType(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || c == U'(' || c == U')';
}

}  // namespace

KeptFormula KeepFormula(TextView typed, std::size_t capacity) {
    KeptFormula kept;
    kept.Formula.reserve(std::min(typed.size(), capacity));
    for (const char32_t c : typed) {
        if (!IsDrawnInNormalType(c) && !IsDigit(c)) continue;
        if (kept.Formula.size() < capacity)
            kept.Formula.push_back(c);
        else
            ++kept.Dropped;
    }
    return kept;
}

Text FormulaCutMessage(std::size_t dropped) {
    return U"Формула не помещается в поле: в нём не более " + WholeNumberText(kFormulaCapacity) +
           U" знаков. Отброшено знаков в конце формулы: " + WholeNumberText(dropped) + U".";
}

namespace {

bool IsCyrillic(char32_t c) { return c >= 0x400 && c <= 0x52F; }

// Letters of the alphabets a pupil may meet in a copied text: Latin with
// accents, Greek, Cyrillic, and the full-width Latin letters of East Asian
// input.
bool IsForeignLetter(char32_t c) {
    return IsCyrillic(c) || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x370 && c <= 0x3FF) ||
           (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A);
}

// Cyrillic letters drawn like Latin ones: А В Е К М Н О Р С Т Х and their small forms.
bool IsLatinLookAlike(char32_t c) { return Text(U"АВЕКМНОРСТХавекмнорстх").find(c) != Text::npos; }

bool IsSubOrSuperscriptDigit(char32_t c) {
    return (c >= 0x2080 && c <= 0x2089) || c == 0x2070 || (c >= 0x2074 && c <= 0x2079) || c == 0xB9 || c == 0xB2 ||
           c == 0xB3;
}

bool IsHydrateDot(char32_t c) { return c == U'·' || c == U'*' || c == U'.' || c == U'•' || c == U'∙' || c == U'⋅'; }

bool IsFormulaCharacter(char32_t c) { return IsDrawnInNormalType(c) || IsDigit(c); }

// The nearest character on either side that is not a blank.
char32_t Neighbour(TextView text, std::size_t at, int step) {
    for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(at) + step; i >= 0 && i < std::ssize(text); i += step)
        if (text[static_cast<std::size_t>(i)] != kBlank) return text[static_cast<std::size_t>(i)];
    return 0;
}

void AddOnce(Text& list, char32_t c) {
    if (list.find(c) == Text::npos) list.push_back(c);
}

// «а», «б» and «в»: at most eight, then "…".
Text Quoted(const Text& characters) {
    Text out;
    for (std::size_t i = 0; i < characters.size() && i < 8; ++i) {
        if (i > 0) out += i + 1 == characters.size() ? U" и " : U", ";
        out += U"«" + Text(1, characters[i]) + U"»";
    }
    if (characters.size() > 8) out += U" и другие";
    return out;
}

}  // namespace

Text CleaningNotice(TextView before, TextView after) {
    // What the edit inserted: `after` less what it shares with `before` at
    // both ends.
    std::size_t start = 0;
    while (start < before.size() && start < after.size() && before[start] == after[start]) ++start;
    std::size_t end = after.size();
    for (std::size_t kept = before.size(); end > start && kept > start && before[kept - 1] == after[end - 1]; --kept)
        --end;

    Text cyrillic, lookAlikes, otherLetters, hydrateDots, scriptDigits, countPoints;
    for (std::size_t at = start; at < end; ++at) {
        const char32_t c = after[at];
        if (IsCyrillic(c)) {
            AddOnce(cyrillic, c);
            if (IsLatinLookAlike(c)) AddOnce(lookAlikes, c);
        } else if (IsForeignLetter(c)) {
            AddOnce(otherLetters, c);
        } else if (IsSubOrSuperscriptDigit(c)) {
            AddOnce(scriptDigits, c);
        } else if (c == U'.' || c == U',' || IsHydrateDot(c)) {
            const char32_t left = Neighbour(after, at, -1);
            const char32_t right = Neighbour(after, at, +1);
            if ((c == U'.' || c == U',') && IsDigit(left) && IsDigit(right) && after[at - 1] != kBlank)
                AddOnce(countPoints, c);
            else if (IsHydrateDot(c) && IsFormulaCharacter(left) && (IsDigit(right) || IsDrawnInNormalType(right)))
                AddOnce(hydrateDots, c);
        }
    }

    // One sentence for each kind of loss: what went, then how to write it.
    Text notice;
    const auto tell = [&notice](const Text& lost, const char32_t* what, const Text& how) {
        if (lost.empty()) return;
        if (!notice.empty()) notice.push_back(kBlank);
        notice += what + Quoted(lost) + how;
    };
    tell(cyrillic, U"Убраны русские буквы ",
         U": в формуле нужны латинские. Переключите клавиатуру на латинскую раскладку и наберите их заново." +
             (lookAlikes.empty()
                  ? Text()
                  : U" Русские " + Quoted(lookAlikes) + U" только похожи на латинские, но это другие буквы."));
    tell(otherLetters, U"Убраны буквы другого алфавита ", U": в формуле нужны латинские буквы.");
    tell(hydrateDots, U"Убран знак ",
         U" между частями формулы: кристаллогидрат пишите со скобками и индексом, например CuSO4(H2O)5 вместо "
         U"CuSO4·5H2O.");
    tell(scriptDigits, U"Убраны подстрочные и надстрочные цифры ",
         U": набирайте обычные цифры, программа сама рисует их индексами.");
    tell(countPoints, U"Убран знак ",
         Text(U" внутри числа, и число изменилось: индексы в формуле только целые, например C3H6 вместо C1.5H3.") +
             (countPoints.find(U'.') != Text::npos ? U" Если это кристаллогидрат, пишите его со скобками: CuSO4(H2O)5."
                                                   : U""));
    return notice;
}

Text FormulaDescription(const std::vector<PrintedText>& printed, double normalSize) {
    Text description;
    bool inSubscript = false;
    for (const PrintedText& drawn : printed) {
        const TextView text = TrimBlanks(drawn.Printed);
        const bool subscript = drawn.FontSize < normalSize;
        if (subscript && !inSubscript) {
            if (!description.empty() && description.back() != kBlank) description.push_back(kBlank);
            description += U"нижний индекс ";
        } else if (!subscript && inSubscript) {
            description += U", ";
        }
        description += text;
        inSubscript = subscript;
    }
    return description;
}

void ShowFormula(Text& formula, DrawingSurface& surface) {
    surface.Clear();
    surface.SetCurrentY(kFormulaTop);
    Text kept;
    kept.reserve(formula.size());
    for (const char32_t c : formula) {
        if (IsDrawnInNormalType(c)) {
            surface.Print(TextView(&c, 1));
        } else if (IsDigit(c)) {
            DIndex(TextView(&c, 1), surface);
        } else {
            continue;
        }
        kept.push_back(c);
    }
    formula = std::move(kept);
}

void DIndex(TextView index, DrawingSurface& surface) {
    surface.SetFontSize(surface.FontSize() - kSubscriptShrink);
    surface.SetCurrentY(surface.CurrentY() + kSubscriptDrop);
    surface.Print(index);
    surface.SetFontSize(surface.FontSize() + kSubscriptShrink);
    surface.SetCurrentY(surface.CurrentY() - kSubscriptDrop);
}
