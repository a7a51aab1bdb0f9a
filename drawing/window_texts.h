#pragma once

// What the window says, in both shells: its controls' texts and accessible
// names (the precision list's range is kMaxPrecision). The page's HTML carries the same
// texts for the moment before its core has loaded, and a test holds them
// equal to these.
namespace window_texts {

// What the formula box holds when the window opens: text that the first edit
// strips whole, as the cleaning keeps none of it.
inline constexpr char32_t kFormulaPrompt[] = U"Введите формулу и нажмите ввод, чтобы получить процентный состав";
inline constexpr char32_t kFormulaTip[] = U"Нажмите ввод, чтобы получить процентный состав";
inline constexpr char32_t kFormulaName[] = U"Формула";
inline constexpr char32_t kReportName[] = U"Процентный состав";
inline constexpr char32_t kCommandCaption[] = U"Вычислить формулу вещества из его процентного состава";
inline constexpr char32_t kPrecisionCaption[] = U"Кол-во знаков после запятой (точность):";
inline constexpr char32_t kPictureName[] = U"Изображение формулы";

}  // namespace window_texts
