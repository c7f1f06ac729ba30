#include "flow/flow_text.h"

#include <charconv>
#include <system_error>

#include "base/plain_text.h"
#include "passes/pass_kinds.h"

namespace {

// A stray carriage return (a file saved twice through text mode) counts as a space.
std::string_view trim(std::string_view text) {
    return trimmed(text, " \t\r");
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string validNames() {
    std::string names;
    for (int kind = 0; kind < kPassKindCount; ++kind) {
        if (kind > 0) names += ", ";
        names += passKindNamesNarrow[kind];
    }
    return names;
}

int kindNamed(std::string_view name) {
    for (int kind = 0; kind < kPassKindCount; ++kind) {
        if (equalsIgnoringCase(name, passKindNamesNarrow[kind])) return kind;
    }
    return -1;
}

std::size_t digitRun(std::string_view text) {
    std::size_t length = 0;
    while (length < text.size() && isDigit(text[length])) ++length;
    return length;
}

// One `key = value` line of a flow file, comments and spaces already gone.
bool readSetting(std::string_view key, std::string_view value, Flow& flow, bool seen[3],
                 std::string& message) {
    static constexpr std::string_view keys[3] = {"passes", "angle", "wrap"};
    int which = 0;
    while (which < 3 && !equalsIgnoringCase(key, keys[which])) ++which;
    if (which == 3) {
        message =
            "unknown setting " + quotedForMessage(key) + "; a flow has passes, angle and wrap";
        return false;
    }
    if (seen[which]) {
        message = std::string(keys[which]) + " is given twice";
        return false;
    }
    seen[which] = true;
    switch (which) {
        case 0:
            return parsePassList(value, flow.kinds, message);
        case 1:
            if (parseAngle(value, flow.angle)) return true;
            message = "the angle " + quotedForMessage(value) + " is not a number from 0 to 360";
            return false;
        default:
            if (readOnOff(value, flow.wrap)) return true;
            message = "wrap is " + quotedForMessage(value) + "; it takes on or off";
            return false;
    }
}

}  // namespace

bool parsePassList(std::string_view text, std::vector<int>& kinds, std::string& message) {
    std::vector<int> parsed;
    if (trim(text).empty()) {
        kinds.clear();
        return true;
    }
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view name = trim(text.substr(0, comma));
        if (name.empty()) {
            message = "a pass name is missing between commas";
            return false;
        }
        const int kind = kindNamed(name);
        if (kind < 0) {
            message =
                "unknown pass " + quotedForMessage(name) + "; the pass kinds are " + validNames();
            return false;
        }
        if (parsed.size() == kMaxFlowPasses) {
            message = "a flow holds at most " + std::to_string(kMaxFlowPasses) + " passes";
            return false;
        }
        parsed.push_back(kind);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    kinds = std::move(parsed);
    return true;
}

bool parseAngle(std::string_view typed, double& degrees) {
    const std::string_view text = trim(typed);
    // from_chars alone would also take exponents, "inf" and hexadecimal forms.
    const std::size_t whole = digitRun(text);
    if (whole == 0) return false;
    if (whole < text.size()) {
        if (text[whole] != '.') return false;
        const std::size_t fraction = digitRun(text.substr(whole + 1));
        if (fraction == 0 || whole + 1 + fraction != text.size()) return false;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 360.0) return false;
    degrees = value;
    return true;
}

std::string formatAngleText(double degrees) {
    // Fixed, not the plain shortest form, which writes 0.0001 as "1e-04".
    char text[400];  // the longest fixed form of a double up to 360
    const auto written = std::to_chars(text, text + sizeof text, degrees, std::chars_format::fixed);
    return std::string(text, written.ptr);
}

bool readFlowText(std::string_view text, Flow& flow, FlowProblem& problem) {
    problem = {};
    if (text.size() > kMaxFlowTextBytes) {
        problem.message = "a flow file holds at most " + std::to_string(kMaxFlowTextBytes) +
                          " bytes; this one is longer";
        return false;
    }
    text = withoutByteOrderMark(text);
    Flow read;
    bool seen[3] = {};
    for (int line = 1; !text.empty(); ++line) {
        std::string_view content = takeLine(text);
        problem.line = line;
        if (content.size() > kMaxFlowLineBytes) {
            problem.message =
                "the line is longer than " + std::to_string(kMaxFlowLineBytes) + " bytes";
            return false;
        }
        content = trim(content.substr(0, content.find('#')));
        if (content.empty()) continue;
        const std::size_t equals = content.find('=');
        if (equals == std::string_view::npos) {
            problem.message = "expected passes = ..., angle = ... or wrap = on|off";
            return false;
        }
        if (!readSetting(trim(content.substr(0, equals)), trim(content.substr(equals + 1)), read,
                         seen, problem.message)) {
            return false;
        }
    }
    problem = {};
    flow = std::move(read);
    return true;
}

std::string writeFlowText(const Flow& flow) {
    std::string text = "# Marlune flow\npasses = ";
    for (std::size_t i = 0; i < flow.kinds.size(); ++i) {
        if (i > 0) text += ", ";
        text += passKindNamesNarrow[flow.kinds[i]];
    }
    text += "\nangle = " + formatAngleText(flow.angle);
    text += flow.wrap ? "\nwrap = on\n" : "\nwrap = off\n";
    return text;
}

void applyFlow(PassChain& chain, HWND owner, const Flow& flow) {
    // Without its source the chain's edits evaluate nothing; the one evaluation
    // comes when the source is back.
    std::unique_ptr<IndexedImage> source = chain.takeSource();
    while (chain.size() > 0) chain.removePass(owner, chain.size() - 1);
    for (const int kind : flow.kinds) chain.insertPass(owner, chain.size(), kind);
    chain.setWrapAround(owner, flow.wrap ? 1 : 0);
    chain.setRotationAngle(owner, flow.angle);
    if (!source) return;
    chain.setSource(std::move(source));
    chain.evaluate(owner);
}
