#include "host_commands.h"

#include <array>
#include <charconv>

namespace {

constexpr const char* kBadArgumentsReply = "ERROR: bad arguments";
constexpr const char* kNoProjectReply = "ERROR: no current project";
constexpr const char* kHostFullReply = "ERROR: the host has no room for more pixels";

struct Parsed {
    std::string_view name;
    std::string_view arguments;  // between the first "(" and the last ")"
    bool hasArguments = false;
    bool wellFormed = true;  // an opening parenthesis has a closing one at the end
};

Parsed splitCommand(std::string_view text) {
    Parsed parsed;
    const std::size_t open = text.find('(');
    if (open == std::string_view::npos) {
        parsed.name = text;
        return parsed;
    }
    parsed.name = text.substr(0, open);
    parsed.hasArguments = true;
    const std::size_t close = text.rfind(')');
    if (close == std::string_view::npos || close < open || close != text.size() - 1) {
        parsed.wellFormed = false;
        return parsed;
    }
    parsed.arguments = text.substr(open + 1, close - open - 1);
    return parsed;
}

// Splits "a,b,c" into exactly N strict integers.
template <std::size_t N>
bool parseIntList(std::string_view text, std::array<int, N>& values) {
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t comma = text.find(',');
        const bool last = i + 1 == N;
        if (last != (comma == std::string_view::npos)) return false;
        if (!parseStrictInt(text.substr(0, comma), values[i])) return false;
        if (!last) text.remove_prefix(comma + 1);
    }
    return true;
}

std::string number(int value) {
    return std::to_string(value);
}

class CommandRun {
  public:
    CommandRun(HostModel& m, DibClipboard& c, const DibShape& s)
        : model(m), clipboard(c), shape(s) {}

    std::string run(std::string_view text) {
        const Parsed p = splitCommand(text);
        if (p.name == "New") return p.hasArguments && p.wellFormed ? newProject(p.arguments) : "-1";
        if (p.name == "SetCurrentFilename") {
            if (!p.hasArguments || !p.wellFormed) return kBadArgumentsReply;
            return rename(p.arguments);
        }
        if (p.name == "SetCurrentProject") return withInt(p, [&](int v) { return setProject(v); });
        if (p.name == "GotoFrame") return withInt(p, [&](int v) { return gotoFrame(v); });
        if (p.name == "SelectLayer") return withInt(p, [&](int v) { return selectLayer(v); });
        if (p.name == "SetCurrentDelay") return withInt(p, [&](int v) { return setDelay(v); });
        if (p.hasArguments) return isKnownPlain(p.name) ? kBadArgumentsReply : kUnknownCommandReply;

        if (p.name == "GetCurrentProject") return number(model.currentId);
        Project* project = model.current();
        if (!isKnownPlain(p.name)) return kUnknownCommandReply;
        if (project == nullptr) return kNoProjectReply;
        if (p.name == "GetDisplayFrameNumber") return number(project->currentFrame);
        if (p.name == "GetActiveLayerNumber") return number(project->activeLayer);
        if (p.name == "GetFrameCount") return number(project->frameCount());
        if (p.name == "GetNumberOfLayers") return number(project->layerCount());
        if (p.name == "GetProjectFilePath") return project->path;
        if (p.name == "GetCurrentFilename") return project->name;
        if (p.name == "GetCurrentDelay") return number(currentFrame(*project).delay);
        if (p.name == "AddAnimationLayer") return addLayer(*project);
        if (p.name == "SendFrame") return sendFrame(*project);
        return receiveFrame(*project);
    }

  private:
    static bool isKnownPlain(std::string_view name) {
        static constexpr std::array<std::string_view, 11> names = {
            "GetDisplayFrameNumber", "GetActiveLayerNumber", "GetFrameCount",
            "GetNumberOfLayers",     "GetProjectFilePath",   "GetCurrentFilename",
            "GetCurrentDelay",       "AddAnimationLayer",    "SendFrame",
            "ReceiveFrame",          "GetCurrentProject"};
        for (std::string_view n : names) {
            if (n == name) return true;
        }
        return false;
    }

    template <typename F>
    std::string withInt(const Parsed& p, F action) {
        int value = 0;
        if (!p.hasArguments || !p.wellFormed || !parseStrictInt(p.arguments, value))
            return kBadArgumentsReply;
        return action(value);
    }

    static Frame& currentFrame(Project& project) {
        return project.frames[static_cast<std::size_t>(project.currentFrame - 1)];
    }

    std::string setProject(int id) {
        if (model.find(id) != nullptr) model.currentId = id;
        return number(model.currentId);
    }

    std::string gotoFrame(int frame) {
        Project* project = model.current();
        if (project == nullptr) return kNoProjectReply;
        if (frame >= 1 && frame <= project->frameCount()) project->currentFrame = frame;
        return number(project->currentFrame);
    }

    std::string selectLayer(int layer) {
        Project* project = model.current();
        if (project == nullptr) return kNoProjectReply;
        if (layer >= 0 && layer < project->layerCount()) project->activeLayer = layer;
        return number(project->activeLayer);
    }

    std::string setDelay(int delay) {
        Project* project = model.current();
        if (project == nullptr) return kNoProjectReply;
        currentFrame(*project).delay = delay;
        return number(delay);
    }

    std::string newProject(std::string_view arguments) {
        std::array<int, 3> v{};
        if (!parseIntList(arguments, v) || !projectShapeAllowed(v[0], v[1], v[2])) return "-1";
        if (static_cast<int>(model.projects.size()) >= kMaxProjects)
            return "ERROR: too many projects";
        if (!model.hasRoomFor(std::int64_t{v[0]} * v[1] * v[2])) return kHostFullReply;
        const Project* from = model.current();
        const Palette palette = from != nullptr ? from->palette : greyPalette();
        return number(model.addProject(makeBlankProject(v[0], v[1], v[2], palette)));
    }

    std::string addLayer(Project& project) {
        if (project.layerCount() >= kMaxLayers) return "ERROR: too many layers";
        if (!model.hasRoomFor(project.layerPixels())) return kHostFullReply;
        return number(project.addLayer());
    }

    std::string rename(std::string_view name) {
        Project* project = model.current();
        if (project == nullptr) return kNoProjectReply;
        project->name = std::string(name);
        return project->name;
    }

    std::string sendFrame(Project& project) {
        const std::vector<std::uint8_t> block =
            makePackedDib(project.pixels(project.currentFrame, project.activeLayer), project.width,
                          project.height, project.palette, shape);
        if (!clipboard.put(block)) return "ERROR: clipboard not available";
        return number(project.currentFrame);
    }

    std::string receiveFrame(Project& project) {
        std::vector<std::uint8_t> block;
        if (!clipboard.take(block)) return "ERROR: no DIB on the clipboard";
        DecodedImage image;
        if (const char* problem = decodePackedDib(block.data(), block.size(), image)) {
            return std::string("ERROR: ") + problem;
        }
        if (image.width != project.width || image.height != project.height) {
            return "ERROR: image is " + number(image.width) + "x" + number(image.height) +
                   ", the project is " + number(project.width) + "x" + number(project.height);
        }
        project.pixels(project.currentFrame, project.activeLayer) = std::move(image.pixels);
        project.palette = image.palette;
        return number(project.currentFrame);
    }

    HostModel& model;
    DibClipboard& clipboard;
    const DibShape& shape;
};

}  // namespace

bool parseStrictInt(std::string_view text, int& value) {
    std::string_view digits = text;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
    if (digits.empty()) return false;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
    }
    // from_chars takes no '+', so parse the sign-stripped digits and a leading '-'.
    const bool negative = text[0] == '-';
    const std::string_view body = negative ? text : digits;
    int parsed = 0;
    const auto result = std::from_chars(body.data(), body.data() + body.size(), parsed);
    if (result.ec != std::errc{} || result.ptr != body.data() + body.size()) return false;
    value = parsed;
    return true;
}

std::string runHostCommand(HostModel& model, std::string_view command, DibClipboard& clipboard,
                           const DibShape& shape) {
    return CommandRun(model, clipboard, shape).run(command);
}
