// libFuzzer target: any bytes are read as the settings file. Whatever is read
// is in range, every problem names a line of the text, and the written form
// of what was read reads back the same, with no problem.
#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "passes/pass_kinds.h"
#include "ui/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<SettingsProblem> problems;
    const Settings read = readSettingsText(text, problems);
    const auto lines = std::count(text.begin(), text.end(), '\n') + 1;
    for (const SettingsProblem& problem : problems) {
        if (problem.message.empty() || problem.line < 0 || problem.line > lines) std::abort();
    }
    if (read.zoom < 1 || read.zoom > 16 || read.sourceTab < 0 || read.sourceTab > 2 ||
        read.turns < 0 || read.turns > 64 || read.recentFlows.size() > kRecentFlowCount ||
        read.flow.kinds.size() > kMaxFlowPasses ||
        !(read.flow.angle >= 0.0 && read.flow.angle <= 360.0)) {
        std::abort();
    }
    for (const int kind : read.flow.kinds) {
        if (kind < 0 || kind >= kPassKindCount) std::abort();
    }
    if (read.window && (read.window->width < 1 || read.window->height < 1)) std::abort();
    std::vector<SettingsProblem> again;
    if (!(readSettingsText(writeSettingsText(read), again) == read) || !again.empty()) std::abort();
    return 0;
}
