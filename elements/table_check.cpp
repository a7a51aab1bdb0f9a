#include "table_check.h"

#include <algorithm>
#include <vector>

#include "mdlVeltrax.h"

namespace mdlVeltrax {
namespace {

// How a person sees the file's characters in an editor that reads it in the
// Russian single-byte code page (Windows-1251): bytes from 0xC0 on are А to
// я, and those from 0x80 to 0xBF as the table below gives them.
char32_t AsWindows1251(char32_t c) {
    static constexpr char16_t kHigh[64] = {
        u'Ђ',      u'Ѓ', u'‚', u'ѓ', u'„', u'…', u'†', u'‡', u'€',      u'‰', u'Љ', u'‹', u'Њ', u'Ќ',      u'Ћ', u'Џ',
        u'ђ',      u'‘', u'’', u'“', u'”', u'•', u'–', u'—', u'\uFFFD', u'™', u'љ', u'›', u'њ', u'ќ',      u'ћ', u'џ',
        u'\u00A0', u'Ў', u'ў', u'Ј', u'¤', u'Ґ', u'¦', u'§', u'Ё',      u'©', u'Є', u'«', u'¬', u'\u00AD', u'®', u'Ї',
        u'°',      u'±', u'І', u'і', u'ґ', u'µ', u'¶', u'·', u'ё',      u'№', u'є', u'»', u'ј', u'Ѕ',      u'ѕ', u'ї'};
    if (c >= 0xC0 && c <= 0xFF) return c - 0xC0 + U'А';
    if (c >= 0x80 && c < 0xC0) return kHigh[c - 0x80];
    return c;
}

Text Named(Text text) {
    for (char32_t& c : text) c = AsWindows1251(c);
    return text;
}

bool IsBlankOrEnd(const Text& line, std::size_t at) { return at >= line.size() || line[at] == kBlank || line[at] == 0; }

// Where texts begin: a character that is no blank after a blank or the start.
std::vector<std::size_t> TextStarts(const Text& line) {
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < line.size(); ++at)
        if (!IsBlankOrEnd(line, at) && (at == 0 || IsBlankOrEnd(line, at - 1))) starts.push_back(at);
    return starts;
}

Text TextAt(const Text& line, std::size_t at) {
    std::size_t end = at;
    while (!IsBlankOrEnd(line, end)) ++end;
    return line.substr(at, end - at);
}

// Where the text that holds the character at `at` begins.
std::size_t TextStartBefore(const Text& line, std::size_t at) {
    while (at > 0 && !IsBlankOrEnd(line, at - 1)) --at;
    return at;
}

constexpr char32_t kAlignColumns[] =
    U" У каждого элемента символ, масса и порядковый номер начинаются в одной и той же позиции всех трёх строк: "
    U"выровняйте столбцы пробелами.";

// A mass or number that does not begin where a symbol begins, or a symbol
// whose mass or number would begin inside another text.
Text ColumnProblem(const Text& symbols, const Text& values, const char32_t* lineName, std::size_t lineNumber) {
    const std::vector<std::size_t> symbolStarts = TextStarts(symbols);
    const auto isSymbolStart = [&](std::size_t at) {
        return std::binary_search(symbolStarts.begin(), symbolStarts.end(), at);
    };
    for (const std::size_t at : TextStarts(values)) {
        if (isSymbolStart(at)) continue;
        const auto before = std::upper_bound(symbolStarts.begin(), symbolStarts.end(), at);
        const Text after = before == symbolStarts.begin()
                               ? Text(U"в начале строки")
                               : U"после элемента «" + Named(TextAt(symbols, *(before - 1))) + U"» (позиция " +
                                     WholeNumberText(*(before - 1) + 1) + U")";
        return U"В строке " + WholeNumberText(lineNumber) + U" (" + lineName + U") текст «" +
               Named(TextAt(values, at)) + U"» начинается в позиции " + WholeNumberText(at + 1) +
               U", а в первой строке там не начинается ни один символ: столбцы сдвинуты " + after + U"." +
               kAlignColumns;
    }
    for (const std::size_t at : symbolStarts)
        if (!IsBlankOrEnd(values, at) && at > 0 && !IsBlankOrEnd(values, at - 1))
            return U"В строке " + WholeNumberText(lineNumber) + U" (" + lineName + U") у элемента «" +
                   Named(TextAt(symbols, at)) + U"» в позиции " + WholeNumberText(at + 1) +
                   U" продолжается чужой текст, а должен начинаться его собственный." + kAlignColumns;
    return {};
}

// The first character of more than one byte in a file that is UTF-8 text
// throughout, with its length in bytes; none where any byte from 0x80 on is
// not part of a well-formed UTF-8 sequence, as in a single-byte file.
struct WideCharacter {
    std::size_t At = std::string_view::npos;
    std::size_t Bytes = 0;
};
WideCharacter FirstUtf8Character(std::string_view bytes) {
    WideCharacter first;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        const std::size_t length = lead < 0x80                    ? 1
                                   : lead >= 0xC2 && lead <= 0xDF ? 2
                                   : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                  : 0;
        if (length == 0 || at + length > bytes.size()) return {};
        if (length > 1 && FromUtf8(bytes.substr(at, length)).find(U'\uFFFD') != Text::npos) return {};
        if (length > 1 && first.Bytes == 0) first = {at, length};
        at += length;
    }
    return first;
}

// Where the file's text of three lines ends: at the third line end, or at
// the end of what is read.
std::size_t ThreeLinesEnd(std::string_view bytes) {
    std::size_t at = 0;
    for (int line = 0; line < 3 && at < bytes.size(); ++line) {
        at = std::min(bytes.find('\r', at), bytes.size());
        if (line < 2 && at < bytes.size()) ++at;
    }
    return at;
}

// A line that holds no text at all, or a mass line in which no text begins
// with a number, gives every element 0.
Text EmptyLineProblem(const ElementTable& table) {
    const struct {
        const Text& line;
        const char32_t* says;
    } lines[] = {{table.MassLine,
                  U"Строка 2 (атомные массы) пуста: масса каждого элемента читается как 0. Впишите массы "
                  U"под символами элементов."},
                 {table.NumberLine,
                  U"Строка 3 (порядковые номера) пуста: номер каждого элемента читается как 0. "
                  U"Впишите номера под символами элементов."}};
    for (const auto& [line, says] : lines)
        if (TextStarts(line).empty()) return says;
    for (const std::size_t at : TextStarts(table.MassLine)) {
        const char32_t c = table.MassLine[at];
        if (IsDigit(c) || (c == U'.' && at + 1 < table.MassLine.size() && IsDigit(table.MassLine[at + 1]))) return {};
    }
    return U"В строке 2 (атомные массы) нет ни одного числа: масса каждого элемента читается как 0. Под каждым "
           U"символом должна стоять его масса с точкой, например 1.00794.";
}

}  // namespace

Text CheckNameMass(std::string_view bytes, bool cut) {
    // A line that ends past what is read is cut: the fewer lines, or the
    // numbers at its end, follow from that alone. Blanks cut off say nothing.
    const auto lineEnds = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\r'));
    if (cut && (lineEnds < 2 || (!bytes.empty() && bytes.back() != ' ' && bytes.back() != '\0')))
        return U"Файл длиннее, чем программа читает: читаются только первые " + WholeNumberText(kMaxNameMassBytes) +
               U" байт, а строка " + WholeNumberText(std::min<std::size_t>(lineEnds, 2) + 1) +
               U" кончается дальше, и её конец не прочитан. Уберите лишние пробелы или знаки, чтобы все три строки "
               U"поместились в " +
               WholeNumberText(kMaxNameMassBytes) + U" байт.";
    if (bytes.empty())
        return U"Файл пуст (0 байт), и расчёты ведутся по встроенной таблице элементов. Впишите в него таблицу или "
               U"удалите его: тогда программа сделает его снова из встроенной таблицы.";
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return U"В начале файла стоит невидимая метка порядка байтов (BOM) UTF-8: первая строка из-за неё сдвинута на "
               U"три знака, и массы читаются не у тех элементов. Сохраните файл без BOM: в редакторе выберите "
               U"кодировку «ANSI» или «UTF-8 без BOM».";
    const std::string_view lines = bytes.substr(0, ThreeLinesEnd(bytes));
    if (const WideCharacter wide = FirstUtf8Character(bytes); wide.At < lines.size()) {
        const Text character = FromUtf8(bytes.substr(wide.At, wide.Bytes));
        const auto line = std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(wide.At), '\r') + 1;
        const char32_t* const counts[] = {U"два", U"три", U"четыре"};
        return U"Файл в кодировке UTF-8, а нужна однобайтовая: в строке " +
               WholeNumberText(static_cast<std::size_t>(line)) + U" знак «" + character + U"» занимает в нём " +
               counts[wide.Bytes - 2] +
               U" байта, и столбцы за ним сдвинуты. В таблице могут стоять только латинские буквы, цифры, точки и "
               U"пробелы: замените «" +
               character + U"» и сохраните файл в кодировке «ANSI» (Windows-1251).";
    }
    if (lines.find("\r\r\n") != std::string_view::npos)
        return U"Строки файла кончаются знаками CR CR LF, а не CR LF (так бывает, когда файл с концами строк Windows "
               U"преобразуют ещё раз): программа видит между строками пустые, и массы всех элементов читаются как 0. "
               U"Сохраните файл с концами строк Windows (CR LF): в редакторе это называется «CRLF» или «Windows».";
    if (std::count(bytes.begin(), bytes.end(), '\r') < 2) {
        bool loneLineFeed = false;
        for (std::size_t at = bytes.find('\n'); at != std::string_view::npos; at = bytes.find('\n', at + 1))
            loneLineFeed = loneLineFeed || at == 0 || bytes[at - 1] != '\r';
        if (loneLineFeed)
            return U"В файле меньше трёх строк: строки в нём разделены одним символом LF, как принято в Linux, а "
                   U"программа делит строки по CR LF, как в Windows. Сохраните файл с концами строк Windows (CR LF): "
                   U"в редакторе это называется «CRLF» или «Windows».";
        return U"В файле меньше трёх строк, а нужны три: символы элементов, атомные массы и порядковые номера. "
               U"Допишите недостающие строки.";
    }
    const ElementTable table = SplitNameMass(bytes);
    if (Text problem = EmptyLineProblem(table); !problem.empty()) return problem;
    const Text& symbols = table.SymbolLine;
    for (std::size_t at = 0; at < symbols.size(); ++at) {
        if (symbols[at] < U'a' || symbols[at] > U'z') continue;
        const Text symbol = Named(TextAt(symbols, TextStartBefore(symbols, at)));
        return U"В первой строке, в позиции " + WholeNumberText(at + 1) + U", строчная буква в символе «" + symbol +
               U"»: такой элемент не найдётся, потому что символы ищутся заглавными буквами. Напишите символ "
               U"заглавными: «" +
               UpperCase(symbol) + U"».";
    }
    if (Text problem = ColumnProblem(symbols, table.MassLine, U"атомные массы", 2); !problem.empty()) return problem;
    if (Text problem = ColumnProblem(symbols, table.NumberLine, U"порядковые номера", 3); !problem.empty())
        return problem;
    for (const std::size_t at : TextStarts(symbols)) {
        if (!IsBlankOrEnd(symbols, at + 1)) continue;  // not a one-letter symbol
        const std::size_t first = symbols.find(symbols[at]);
        if (first == at) continue;
        const std::size_t start = TextStartBefore(symbols, first);
        const Text letter = Named(Text(1, symbols[at]));
        return U"Однобуквенный символ «" + letter + U"» (позиция " + WholeNumberText(at + 1) +
               U") стоит после символа «" + Named(TextAt(symbols, start)) + U"» (позиция " +
               WholeNumberText(start + 1) +
               U"), в котором есть та же буква, поэтому "
               U"элемент " +
               letter +
               U" не найдётся. Перенесите его столбец (символ, массу и номер) перед первым "
               U"двухбуквенным символом.";
    }
    return {};
}

}  // namespace mdlVeltrax
