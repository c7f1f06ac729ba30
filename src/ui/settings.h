#pragma once
// What Marlune remembers between runs, and its text: an INI file of
// "[section]" lines and "key = value" lines, "#" or ";" starting a comment.
// The file is untrusted input: the reader is bounded, and every item that is
// missing or bad keeps its default while the others are taken, each problem
// noted with its line.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flow/flow_text.h"

constexpr std::size_t kSettingsMaxBytes = 64 * 1024;
constexpr std::size_t kSettingsMaxLine = 4096;
constexpr std::size_t kSettingsMaxPath = 1024;  // bytes of UTF-8
constexpr int kRecentFlowCount = 5;
constexpr int kSourceTabCount = 3;  // "Single image", "Batch", "Files"

// The main window's normal place (outer rectangle) and whether it was maximised.
struct WindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    friend bool operator==(const WindowPlace&, const WindowPlace&) = default;
};

struct Settings {
    Flow flow;                     // passes, angle, wrap-around
    int zoom = 1;                  // display zoom, 1..16
    int sourceTab = 0;             // 0 "Single image", 1 "Batch", 2 "Files"
    bool singleNewProject = true;  // "As new project" on the Single image page
    bool batchNewProject = true;   // ... and on the Batch page
    bool allLayers = true;
    bool allFrames = true;
    int turns = 0;                         // the Turns box: 0 blank, else 1..kMaxTurns as typed
    std::optional<WindowPlace> window;     // none: the system places the window
    std::vector<std::string> recentFlows;  // UTF-8 paths, latest first, at most five
};
bool operator==(const Settings& a, const Settings& b);

struct SettingsProblem {
    int line = 0;  // 1-based; 0 for the file as a whole
    std::string message;
};

// Reads settings from `text`. Items that are missing keep their defaults, and
// so do bad ones, each adding a problem. A text over kSettingsMaxBytes is not
// read at all (one problem, every default).
Settings readSettingsText(std::string_view text, std::vector<SettingsProblem>& problems);

// The text readSettingsText reads back as `settings`; every line ends in "\n",
// so a last line without one was cut short.
std::string writeSettingsText(const Settings& settings);

// One log line: "line 3: ...; line 7: ..." (at most a few, then how many more).
std::string describeProblems(const std::vector<SettingsProblem>& problems);

// `path` first in `recent`, without duplicates (compared without regard to
// ASCII case, as Windows paths are), cut to kRecentFlowCount.
void rememberFlow(std::vector<std::string>& recent, const std::string& path);
