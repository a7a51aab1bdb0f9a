#include <charconv>

#include "number_text.h"

namespace number_text {

std::size_t Scientific(double value, int precision, char* buffer) {
    const auto end = std::to_chars(buffer, buffer + kBufferSize, value, std::chars_format::scientific, precision).ptr;
    return static_cast<std::size_t>(end - buffer);
}

std::size_t RoundTripScientific(double value, char* buffer) {
    const auto end = std::to_chars(buffer, buffer + kBufferSize, value, std::chars_format::scientific).ptr;
    return static_cast<std::size_t>(end - buffer);
}

std::size_t RoundTripScientific(float value, char* buffer) {
    const auto end = std::to_chars(buffer, buffer + kBufferSize, value, std::chars_format::scientific).ptr;
    return static_cast<std::size_t>(end - buffer);
}

bool ReadFixed(std::string_view text, double& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    return result.ec != std::errc::result_out_of_range;
}

}  // namespace number_text
