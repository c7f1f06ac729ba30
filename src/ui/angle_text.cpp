#include "ui/angle_text.h"

#include <charconv>
#include <cmath>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The length of the run of digits at the start of `text`.
std::size_t digitRun(std::string_view text) {
    std::size_t length = 0;
    while (length < text.size() && isDigit(text[length])) ++length;
    return length;
}

std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<double> parseAngle(std::string_view typed) {
    const std::string_view text = trimSpaces(typed);
    // from_chars alone would also take exponents, "inf" and hexadecimal forms.
    const std::size_t whole = digitRun(text);
    if (whole == 0) return std::nullopt;
    if (whole < text.size()) {
        if (text[whole] != '.') return std::nullopt;
        const std::size_t fraction = digitRun(text.substr(whole + 1));
        if (fraction == 0 || whole + 1 + fraction != text.size()) return std::nullopt;
    }
    double degrees = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), degrees);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (degrees > kLargestAngle) return std::nullopt;
    return degrees;
}

std::string formatAngle(double degrees) {
    char text[32];  // holds the shortest form of any double
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, degrees);
    return std::string(text, written.ptr);
}

int nearestWholeDegree(double degrees) {
    // Not std::round: MinGW's rounds some values just below a half up.
    const double below = std::floor(degrees);
    return static_cast<int>(below) + (degrees - below >= 0.5 ? 1 : 0);
}
