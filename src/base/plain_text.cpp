#include "base/plain_text.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kQuotedBytes = 40;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string_view trimmed(std::string_view text, std::string_view spaces) {
    const std::size_t first = text.find_first_not_of(spaces);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(spaces) - first + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string quotedForMessage(std::string_view text) {
    std::string shown = "\"";
    for (std::size_t i = 0; i < text.size() && i < kQuotedBytes; ++i) {
        const char c = text[i];
        shown += c >= ' ' && c <= '~' ? c : '?';
    }
    if (text.size() > kQuotedBytes) shown += "...";
    return shown + "\"";
}

std::string_view withoutByteOrderMark(std::string_view text) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    return text;
}

bool readOnOff(std::string_view value, bool& on) {
    if (!equalsIgnoringCase(value, "on") && !equalsIgnoringCase(value, "off")) return false;
    on = equalsIgnoringCase(value, "on");
    return true;
}

std::string_view takeLine(std::string_view& text, bool* ended) {
    const std::size_t end = text.find('\n');
    if (ended != nullptr) *ended = end != std::string_view::npos;
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}
