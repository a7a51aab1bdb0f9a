#include "formula_parser.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "../elements/mdlVeltrax.h"
#include "composition_report.h"
#include "number_reader.h"
#include "numbers.h"
#include "repeated_sums.h"

namespace {

bool IsLowerLatin(char32_t c) { return c >= U'a' && c <= U'z'; }

// Group indices beyond this are all the same: every sum has stopped changing
// long before, so the bound only keeps the pass count in range.
constexpr std::uint64_t kMaxGroupIndex = std::uint64_t{1} << 62;

// How many times a group is read, from its index as written. An index that
// rounds to less than 1 leaves the group counted once, as it was read.
std::uint64_t GroupPasses(double index) {
    const double whole = RoundHalfEven(index);
    if (!(whole >= 1)) return 1;
    if (whole >= static_cast<double>(kMaxGroupIndex)) return kMaxGroupIndex;
    return static_cast<std::uint64_t>(whole);
}

class FormulaParse {
public:
    FormulaParse(Workspace& workspace, TextView formula)
        : workspace_(workspace), formula_(formula), elements_(LoadElements(workspace)) {}

    void Run() {
        std::size_t at = 0;  // index of the character being read
        while (at < formula_.size()) {
            const char32_t c = formula_[at];
            if (c == U'(') {
                if (groupOpen_ || Next(at) == U'(') {
                    ShowMessage(workspace_, kNestedBracketsMessage);
                    return;
                }
                groupOpen_ = true;
                groupAdds_.clear();
                groupMessages_.clear();
                ++at;
            } else if (c == U')') {
                at = CloseGroup(at) + 1;
            } else {
                at = ReadElement(at) + 1;
            }
        }
    }

private:
    char32_t Next(std::size_t at) const { return at + 1 < formula_.size() ? formula_[at + 1] : U'\0'; }

    // Reads the number that follows `at` and moves `at` onto its last character.
    double ReadNumberAfter(std::size_t& at) const {
        TextPosition position = at + 1;  // 1-based position of the character at `at`
        const double value = ReadDigit(formula_, position);
        at = position - 1;
        return value;
    }

    // Returns the index of the last character consumed.
    std::size_t CloseGroup(std::size_t at) {
        if (!groupOpen_) {
            ShowRepeatableMessage(workspace_, kStrayBracketMessage);
            return at;
        }
        std::uint64_t passes = 1;
        if (IsDigit(Next(at)))
            passes = GroupPasses(ReadNumberAfter(at));
        else
            ShowRepeatableMessage(workspace_, kMissingGroupIndexMessage);
        groupOpen_ = false;
        RepeatGroup(passes - 1);
        return at;
    }

    // The first pass has been read; every further pass shows the same
    // messages and adds the same counts to the same records.
    void RepeatGroup(std::uint64_t morePasses) {
        if (morePasses == 0) return;
        for (std::uint64_t pass = 0; pass < morePasses && !groupMessages_.empty() && RepeatableMessagesLeft(workspace_);
             ++pass)
            for (const auto& message : groupMessages_) ShowRepeatableMessage(workspace_, message);

        // The group's additions, record by record in reading order: the cost
        // follows what the group holds, not the size of the table.
        std::stable_sort(groupAdds_.begin(), groupAdds_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<float> adds;
        for (std::size_t i = 0; i < groupAdds_.size();) {
            const std::size_t record = groupAdds_[i].first;
            adds.clear();
            for (; i < groupAdds_.size() && groupAdds_[i].first == record; ++i) adds.push_back(groupAdds_[i].second);
            auto& count = workspace_.Composition[record].Count;
            count = RepeatSingleSums(count, adds, morePasses);
        }
    }

    // Reads a symbol and its count; returns the index of the last character consumed.
    std::size_t ReadElement(std::size_t at) {
        const std::size_t length = IsLowerLatin(Next(at)) ? 2 : 1;
        const TextView symbol = formula_.substr(at, length);
        at += length - 1;
        float count = 1;
        if (IsDigit(Next(at))) count = ToSingle(ReadNumberAfter(at));
        // A blank is no symbol: it and any count after it are passed over.
        if (!TrimBlanks(symbol).empty()) Merge(symbol, count);
        return at;
    }

    void Merge(TextView symbol, float count) {
        ElementRecord current;
        current.Symbol = TwoCharacterSymbol(symbol);
        current.Count = count;
        const FoundElement element = elements_->Find(symbol);
        if (element.Found) {
            current.Number = element.Number;
            current.Mass = element.Mass;
        } else if (RepeatableMessagesLeft(workspace_)) {
            // Past the limit no message is shown in this analysis any more.
            const Text message = FormulaElementNotFoundMessage(current.Symbol);
            ShowRepeatableMessage(workspace_, message);
            if (groupOpen_) groupMessages_.push_back(message);
        }

        // Records are told apart by their symbol without blanks, in upper case.
        auto& table = workspace_.Composition;
        auto [known, added] = recordOfKey_.try_emplace(UpperCase(TrimBlanks(symbol)), table.size());
        if (!added) {
            table[known->second].Count = table[known->second].Count + count;
        } else {
            // The previous formula's records go only when this one stores its first.
            if (!storedAny_) {
                ResetCompositionTable(table);
                known->second = table.size();
            }
            storedAny_ = true;
            table.push_back(std::move(current));
        }
        const std::size_t record = known->second;
        if (groupOpen_) groupAdds_.push_back({record, count});
    }

    Workspace& workspace_;
    TextView formula_;
    std::shared_ptr<const mdlVeltrax::LoadedElements> elements_;
    bool storedAny_ = false;
    std::unordered_map<Text, std::size_t> recordOfKey_;
    bool groupOpen_ = false;
    std::vector<std::pair<std::size_t, float>> groupAdds_;  // record and count, in reading order
    std::vector<Text> groupMessages_;
};

}  // namespace

Text FormulaElementNotFoundMessage(TextView symbol) {
    return Text(U"Элемент ") + Text(symbol) +
           U" не найден в базе данных или не существует. Сведения по формуле могут быть не точны. "
           U"Проверьте написание формулы и регистры букв.";
}

void AnalizeFormula(Workspace& workspace, TextView formula, OutputTextBox& report) {
    if (TrimBlanks(formula).empty()) return;
    BeginAnalysis(workspace);
    FormulaParse(workspace, formula).Run();
    CountPercentage(workspace, report);
}
