#include "ui/settings.h"

#include <charconv>
#include <climits>
#include <system_error>

#include "base/plain_text.h"
#include "passes/pass_kinds.h"
#include "passes/turn_angle.h"

namespace {

constexpr int kLargestZoom = 16;
constexpr int kLargestCoordinate = 32767;
constexpr std::size_t kProblemsShown = 3;
constexpr const char* kTabNames[kSourceTabCount] = {"Single image", "Batch", "Files"};

bool readInteger(std::string_view text, int least, int most, int& value) {
    text = trimmed(text);
    int parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return false;
    if (parsed < least || parsed > most) return false;
    value = parsed;
    return true;
}

// "x, y, width, height".
bool readPlace(std::string_view value, WindowPlace& place) {
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = value.find(',');
        if ((comma == std::string_view::npos) != (i == 3)) return false;
        const int least = i < 2 ? -kLargestCoordinate : 1;
        if (!readInteger(value.substr(0, comma), least, kLargestCoordinate, numbers[i])) {
            return false;
        }
        if (comma != std::string_view::npos) value.remove_prefix(comma + 1);
    }
    place.x = numbers[0];
    place.y = numbers[1];
    place.width = numbers[2];
    place.height = numbers[3];
    return true;
}

// Well-formed UTF-8 without control characters (a path, as the settings keep it).
bool isPathText(std::string_view text) {
    if (text.empty() || text.size() > kSettingsMaxPath) return false;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x20 || lead == 0x7F) return false;
        int followers = 0;
        unsigned least = 0;
        if (lead < 0x80) {
            followers = 0;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            followers = 1;
            least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            followers = 2;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            followers = 3;
            least = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i <= static_cast<std::size_t>(followers)) return false;
        unsigned code = followers == 0 ? lead : lead & (0x3Fu >> followers);
        for (int k = 1; k <= followers; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3Fu);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += static_cast<std::size_t>(followers) + 1;
    }
    return true;
}

bool placeInRange(const WindowPlace& place) {
    auto within = [](int value, int least) {
        return value >= least && value <= kLargestCoordinate;
    };
    return within(place.x, -kLargestCoordinate) && within(place.y, -kLargestCoordinate) &&
           within(place.width, 1) && within(place.height, 1);
}

enum class Section { None, Flow, Window, SingleImage, Batch, RecentFlows, Unknown };

Section sectionNamed(std::string_view name) {
    static constexpr std::pair<std::string_view, Section> sections[] = {
        {"flow", Section::Flow},
        {"window", Section::Window},
        {"single image", Section::SingleImage},
        {"batch", Section::Batch},
        {"recent flows", Section::RecentFlows}};
    for (const auto& [text, section] : sections) {
        if (equalsIgnoringCase(name, text)) return section;
    }
    return Section::Unknown;
}

// Reads the lines one by one into the settings, noting what it cannot take.
class SettingsReader {
  public:
    SettingsReader(Settings& settings, std::vector<SettingsProblem>& problems)
        : settings_(settings), problems_(problems) {}

    // Every line of `text`; then "maximized", which may come before or after
    // "place" and means nothing without one.
    void read(std::string_view text) {
        text = withoutByteOrderMark(text);
        for (int number = 1; !text.empty(); ++number) {
            bool ended = false;
            const std::string_view line = takeLine(text, &ended);
            line_ = number;
            if (line.size() > kSettingsMaxLine) {
                note("longer than " + std::to_string(kSettingsMaxLine) + " bytes");
            } else if (!ended && !trimmed(line).empty()) {
                // Every line the program writes ends in a newline.
                note("cut short");
            } else {
                readLine(trimmed(line));
            }
        }
        if (settings_.window) settings_.window->maximized = maximized_;
    }

  private:
    void note(std::string message) { problems_.push_back({line_, std::move(message)}); }

    void readLine(std::string_view line) {
        if (line.empty() || line.front() == '#' || line.front() == ';') return;
        if (line.front() == '[') {
            if (line.back() != ']') {
                note("a section name without its closing ]");
                section_ = Section::Unknown;
                return;
            }
            section_ = sectionNamed(trimmed(line.substr(1, line.size() - 2)));
            if (section_ == Section::Unknown) note("unknown section " + quotedForMessage(line));
            return;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            note("not a \"key = value\" line: " + quotedForMessage(line));
            return;
        }
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        switch (section_) {
            case Section::None:
                note(quotedForMessage(key) + " comes before any section");
                break;
            case Section::Unknown:
                break;  // the section's own line was noted
            case Section::Flow:
                readFlowItem(key, value);
                break;
            case Section::Window:
                readWindowItem(key, value);
                break;
            case Section::SingleImage:
                if (equalsIgnoringCase(key, "as new project")) {
                    readSwitchItem(key, value, settings_.singleNewProject);
                } else {
                    unknownKey(key);
                }
                break;
            case Section::Batch:
                readBatchItem(key, value);
                break;
            case Section::RecentFlows:
                readRecentFlow(key, value);
                break;
        }
    }

    void unknownKey(std::string_view key) { note("unknown setting " + quotedForMessage(key)); }

    void readSwitchItem(std::string_view key, std::string_view value, bool& on) {
        if (!readOnOff(value, on)) {
            note(std::string(key) + " is " + quotedForMessage(value) + "; it takes on or off");
        }
    }

    void readFlowItem(std::string_view key, std::string_view value) {
        Flow& flow = settings_.flow;
        if (equalsIgnoringCase(key, "passes")) {
            std::string message;
            if (!parsePassList(value, flow.kinds, message)) note(message);
        } else if (equalsIgnoringCase(key, "angle")) {
            if (!parseAngle(value, flow.angle)) {
                note("the angle " + quotedForMessage(value) + " is not a number from 0 to 360");
            }
        } else if (equalsIgnoringCase(key, "wrap")) {
            readSwitchItem(key, value, flow.wrap);
        } else {
            unknownKey(key);
        }
    }

    void readWindowItem(std::string_view key, std::string_view value) {
        if (equalsIgnoringCase(key, "place")) {
            WindowPlace place;
            if (readPlace(value, place)) {
                settings_.window = place;
            } else {
                note("the place " + quotedForMessage(value) + " is not \"x, y, width, height\"");
            }
        } else if (equalsIgnoringCase(key, "maximized")) {
            bool maximized = false;
            readSwitchItem(key, value, maximized);
            maximized_ = maximized;
        } else if (equalsIgnoringCase(key, "zoom")) {
            if (!readInteger(value, 1, kLargestZoom, settings_.zoom)) {
                note("the zoom " + quotedForMessage(value) + " is not a whole number from 1 to 16");
            }
        } else if (equalsIgnoringCase(key, "tab")) {
            for (int tab = 0; tab < kSourceTabCount; ++tab) {
                if (equalsIgnoringCase(value, kTabNames[tab])) {
                    settings_.sourceTab = tab;
                    return;
                }
            }
            note("the tab " + quotedForMessage(value) + " is none of Single image, Batch, Files");
        } else {
            unknownKey(key);
        }
    }

    void readBatchItem(std::string_view key, std::string_view value) {
        if (equalsIgnoringCase(key, "as new project")) {
            readSwitchItem(key, value, settings_.batchNewProject);
        } else if (equalsIgnoringCase(key, "all layers")) {
            readSwitchItem(key, value, settings_.allLayers);
        } else if (equalsIgnoringCase(key, "all frames")) {
            readSwitchItem(key, value, settings_.allFrames);
        } else if (equalsIgnoringCase(key, "turns")) {
            if (equalsIgnoringCase(value, "off")) {
                settings_.turns = 0;
            } else if (!readInteger(value, 1, kMaxTurns, settings_.turns)) {
                note("turns is " + quotedForMessage(value) + "; it takes off or 1 to 64");
            }
        } else {
            unknownKey(key);
        }
    }

    void readRecentFlow(std::string_view key, std::string_view value) {
        if (!equalsIgnoringCase(key, "flow")) {
            unknownKey(key);
        } else if (!isPathText(value)) {
            note("the flow path " + quotedForMessage(value) + " is not a file name");
        } else if (settings_.recentFlows.size() >= kRecentFlowCount) {
            note("more than five recent flows");
        } else {
            settings_.recentFlows.emplace_back(value);
        }
    }

    Settings& settings_;
    std::vector<SettingsProblem>& problems_;
    Section section_ = Section::None;
    int line_ = 0;
    bool maximized_ = false;
};

const char* onOff(bool on) {
    return on ? "on" : "off";
}

}  // namespace

Settings readSettingsText(std::string_view text, std::vector<SettingsProblem>& problems) {
    Settings settings;
    if (text.size() > kSettingsMaxBytes) {
        problems.push_back(
            {0, "larger than " + std::to_string(kSettingsMaxBytes / 1024) + " KiB, not read"});
        return settings;
    }
    SettingsReader reader(settings, problems);
    reader.read(text);
    return settings;
}

// The writer leaves out what the reader would refuse, so that its text
// always reads back whole.
std::string writeSettingsText(const Settings& settings) {
    std::string text =
        "# Marlune's settings, written each time Marlune closes. A line it cannot\n"
        "# read is left out, and that setting starts at its default.\n";
    text += "[flow]\npasses =";
    const char* separator = " ";
    for (int kind : settings.flow.kinds) {
        if (kind < 0 || kind >= kPassKindCount) continue;
        text += separator;
        text += passKindNamesNarrow[kind];
        separator = ", ";
    }
    const double angle = settings.flow.angle;
    text += "\nangle = " + formatAngleText(angle >= 0.0 && angle <= 360.0 ? angle : 0.0);
    text += "\nwrap = " + std::string(onOff(settings.flow.wrap)) + "\n";

    text += "\n[window]\n";
    if (const auto& place = settings.window; place && placeInRange(*place)) {
        // "maximized" first: a file cut between the two then has no place at all.
        text += "maximized = " + std::string(onOff(place->maximized)) + "\n";
        text += "place = " + std::to_string(place->x) + ", " + std::to_string(place->y) + ", " +
                std::to_string(place->width) + ", " + std::to_string(place->height) + "\n";
    }
    if (settings.zoom >= 1 && settings.zoom <= kLargestZoom) {
        text += "zoom = " + std::to_string(settings.zoom) + "\n";
    }
    if (settings.sourceTab >= 0 && settings.sourceTab < kSourceTabCount) {
        text += "tab = " + std::string(kTabNames[settings.sourceTab]) + "\n";
    }

    text += "\n[single image]\nas new project = " + std::string(onOff(settings.singleNewProject));
    text += "\n\n[batch]\nas new project = " + std::string(onOff(settings.batchNewProject));
    text += "\nall layers = " + std::string(onOff(settings.allLayers));
    text += "\nall frames = " + std::string(onOff(settings.allFrames)) + "\n";
    if (settings.turns == 0) {
        text += "turns = off\n";
    } else if (settings.turns > 0 && settings.turns <= kMaxTurns) {
        text += "turns = " + std::to_string(settings.turns) + "\n";
    }

    text += "\n[recent flows]\n";
    int written = 0;
    for (const std::string& path : settings.recentFlows) {
        if (!isPathText(path) || path.front() == ' ' || path.back() == ' ') continue;
        if (written++ == kRecentFlowCount) break;
        text += "flow = " + path + "\n";
    }
    return text;
}

bool operator==(const Settings& a, const Settings& b) {
    return a.flow.kinds == b.flow.kinds && a.flow.angle == b.flow.angle &&
           a.flow.wrap == b.flow.wrap && a.zoom == b.zoom && a.sourceTab == b.sourceTab &&
           a.singleNewProject == b.singleNewProject && a.batchNewProject == b.batchNewProject &&
           a.allLayers == b.allLayers && a.allFrames == b.allFrames && a.turns == b.turns &&
           a.window == b.window && a.recentFlows == b.recentFlows;
}

std::string describeProblems(const std::vector<SettingsProblem>& problems) {
    std::string text;
    for (std::size_t i = 0; i < problems.size() && i < kProblemsShown; ++i) {
        if (i > 0) text += "; ";
        if (problems[i].line > 0) text += "line " + std::to_string(problems[i].line) + ": ";
        text += problems[i].message;
    }
    if (problems.size() > kProblemsShown) {
        text += "; and " + std::to_string(problems.size() - kProblemsShown) + " more";
    }
    return text;
}

void rememberFlow(std::vector<std::string>& recent, const std::string& path) {
    std::erase_if(recent, [&](const std::string& kept) { return equalsIgnoringCase(kept, path); });
    recent.insert(recent.begin(), path);
    if (recent.size() > kRecentFlowCount) recent.resize(kRecentFlowCount);
}
