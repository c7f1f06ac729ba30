#include "cli/output_names.h"

#include <algorithm>
#include <set>

#include "base/plain_text.h"

namespace {

constexpr std::string_view kFields[] = {"{name}", "{frame}", "{turn}"};

char folded(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return c == '/' ? '\\' : c;
}

std::size_t nameStart(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string_view::npos ? 0 : slash + 1;
}

// `pattern` with its fields replaced, in one pass (what a field gives is not
// read again).
std::string expand(std::string_view pattern, std::string_view name, int frame, int turn) {
    const std::string values[] = {std::string(name), std::to_string(frame), std::to_string(turn)};
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        bool replaced = false;
        for (std::size_t f = 0; f < std::size(kFields); ++f) {
            if (pattern.substr(i, kFields[f].size()) == kFields[f]) {
                out += values[f];
                i += kFields[f].size();
                replaced = true;
                break;
            }
        }
        if (!replaced) out += pattern[i++];
    }
    return out;
}

std::string quoted(std::string_view text) {
    std::string out(1, '"');
    out.append(text);
    out.push_back('"');
    return out;
}

}  // namespace

bool checkOutputPattern(std::string_view pattern, std::string& problem) {
    for (std::size_t open = pattern.find('{'); open != std::string_view::npos;
         open = pattern.find('{', open + 1)) {
        const std::size_t close = pattern.find('}', open);
        const std::string_view field =
            pattern.substr(open, close == std::string_view::npos ? 1 : close - open + 1);
        if (std::find(std::begin(kFields), std::end(kFields), field) == std::end(kFields)) {
            problem = quoted(pattern) + " holds " + std::string(field) +
                      "; the fields are {name}, {frame} and {turn}";
            return false;
        }
    }
    const std::string_view file = pattern.substr(nameStart(pattern));
    if (file.size() <= 4 || !equalsIgnoringCase(file.substr(file.size() - 4), ".png") ||
        hasWildcards(pattern)) {
        problem = quoted(pattern) + " must name a .png file";
        return false;
    }
    return true;
}

bool patternHasViewFields(std::string_view pattern) {
    return pattern.find("{frame}") != std::string_view::npos ||
           pattern.find("{turn}") != std::string_view::npos;
}

std::string inputName(std::string_view input) {
    std::string_view name = input.substr(nameStart(input));
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}

std::string outputPath(const std::optional<std::string>& pattern, std::string_view input,
                       int frames, int turns, int frame, int turn) {
    const std::string name = inputName(input);
    if (pattern) return expand(*pattern, name, frame, turn);
    std::string fallback = "{name}_marlune";
    if (frames > 1) fallback += "_{frame}";
    if (turns > 1) fallback += "_{turn}";
    return std::string(input.substr(0, nameStart(input))) +
           expand(fallback + ".png", name, frame, turn);
}

std::string firstRepeatedPath(const std::vector<std::string>& paths) {
    std::set<std::string> seen;
    for (const std::string& path : paths) {
        std::string key = path;
        std::transform(key.begin(), key.end(), key.begin(), folded);
        if (!seen.insert(key).second) return path;
    }
    return {};
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    // Greedy with one backtrack point: linear enough for file names.
    std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || folded(pattern[p]) == folded(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool hasWildcards(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}
