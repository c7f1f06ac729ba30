// The scripted host's model and the link functions (HostConnect, HostExecute,
// ...) that the command layer calls in place of DDEML.
#include "scripted_host.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "host/host_link.h"
#include "image/packed_dib.h"

namespace {

ScriptedHost* active = nullptr;

std::string commandName(const std::string& text) {
    return text.substr(0, text.find('('));
}

// The integers between the parentheses, e.g. "New(3,4,5)" gives 3, 4, 5.
std::vector<int> commandArgs(const std::string& text) {
    std::vector<int> args;
    const auto open = text.find('(');
    if (open == std::string::npos) return args;
    const char* p = text.c_str() + open + 1;
    while (*p != '\0' && *p != ')') {
        char* end = nullptr;
        args.push_back(static_cast<int>(std::strtol(p, &end, 10)));
        if (end == p) break;
        p = *end == ',' ? end + 1 : end;
    }
    return args;
}

HostImage blankImage(int width, int height) {
    HostImage image;
    image.width = width;
    image.height = height;
    image.palette.assign(1024, 0);
    image.rows.assign(static_cast<std::size_t>(image.stride()) * height, 0);
    return image;
}

}  // namespace

HostImage patternImage(int width, int height, int project, int frame, int layer) {
    HostImage image = blankImage(width, height);
    for (int i = 0; i < 256; ++i) {
        image.palette[4 * i + 0] = static_cast<std::uint8_t>(i);
        image.palette[4 * i + 1] = static_cast<std::uint8_t>(255 - i);
        image.palette[4 * i + 2] =
            static_cast<std::uint8_t>(i * 3 + project * 5 + frame * 11 + layer * 17);
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < image.stride(); ++x) {
            image.rows[static_cast<std::size_t>(y) * image.stride() + x] =
                x < width ? static_cast<std::uint8_t>(x * 7 + y * 13 + frame * 31 + layer * 59 +
                                                      project * 3)
                          : std::uint8_t{0};
        }
    }
    return image;
}

std::vector<std::uint8_t> packDib(const HostImage& image) {
    std::vector<std::uint8_t> block(40 + 1024 + image.rows.size());
    DibInfoHeader h;
    h.biSize = 40;
    h.biWidth = image.width;
    h.biHeight = image.height;
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biSizeImage = static_cast<std::uint32_t>(image.rows.size());
    writeDibInfoHeader(h, block.data());
    std::memcpy(block.data() + 40, image.palette.data(), 1024);
    std::memcpy(block.data() + 1064, image.rows.data(), image.rows.size());
    return block;
}

ScriptedHost::ScriptedHost() {
    active = this;
}
ScriptedHost::~ScriptedHost() {
    active = nullptr;
}

ScriptedHost& activeHost() {
    if (active == nullptr) throw std::logic_error("no scripted host");
    return *active;
}

HostProject& ScriptedHost::addProject(int id, int frames, int layers, int width, int height) {
    HostProject& p = projects[id];
    p.id = id;
    p.images.clear();
    p.delays.clear();
    for (int f = 1; f <= frames; ++f) {
        p.delays.push_back(10 * f + 5);
        p.images.emplace_back();
        for (int l = 0; l < layers; ++l)
            p.images.back().push_back(patternImage(width, height, id, f, l));
    }
    if (projects.size() == 1) currentProject = id;
    return p;
}

HostProject& ScriptedHost::project(int id) {
    return projects.at(id);
}

std::vector<std::string> ScriptedHost::texts() const {
    std::vector<std::string> out;
    for (const SentCommand& c : sent) out.push_back(c.text);
    return out;
}

int ScriptedHost::nextProjectId() const {
    return projects.empty() ? 1 : projects.rbegin()->first + 1;
}

bool ScriptedHost::execute(const char* command) {
    const std::string text = command;
    sent.push_back({text, 0});
    const std::string name = commandName(text);
    if (executesBeforeGone == 0 || refused.count(name) != 0) return false;
    if (executesBeforeGone > 0) --executesBeforeGone;
    perform(name, commandArgs(text), text);
    if (afterCommand) afterCommand(*this, text);
    if (auto it = replies.find(name); it != replies.end()) reply = it->second;
    return true;
}

bool ScriptedHost::request(char* buffer, std::size_t capacity) {
    buffer[0] = '\0';
    if (!sent.empty()) ++sent.back().requests;
    if (sent.empty() || lostReplies.count(commandName(sent.back().text)) != 0) return false;
    const std::size_t n = reply.size() < capacity ? reply.size() : capacity;
    std::memcpy(buffer, reply.data(), n);
    buffer[n] = '\0';
    return true;
}

void ScriptedHost::perform(const std::string& name, const std::vector<int>& args,
                           const std::string& text) {
    const int arg = args.empty() ? 0 : args[0];
    HostProject* p = projects.count(currentProject) != 0 ? &projects[currentProject] : nullptr;
    reply.clear();
    if (name == "GetCurrentProject") {
        reply = std::to_string(currentProject);
    } else if (name == "SetCurrentProject") {
        if (projects.count(arg) != 0) currentProject = arg;
        reply = std::to_string(currentProject);
    } else if (p == nullptr) {
        reply = "-1";
    } else if (name == "GetFrameCount") {
        reply = std::to_string(p->frameCount());
    } else if (name == "GetNumberOfLayers") {
        reply = std::to_string(p->layerCount());
    } else if (name == "GetDisplayFrameNumber") {
        reply = std::to_string(p->frame);
    } else if (name == "GetActiveLayerNumber") {
        reply = std::to_string(p->layer);
    } else if (name == "GotoFrame") {
        if (arg >= 1 && arg <= p->frameCount()) p->frame = arg;
        reply = std::to_string(p->frame);
    } else if (name == "SelectLayer") {
        if (arg >= 0 && arg < p->layerCount()) p->layer = arg;
        reply = std::to_string(p->layer);
    } else if (name == "SendFrame") {
        clipboard = sendFrameBlock ? *sendFrameBlock : packDib(p->image(p->frame, p->layer));
        clipboardHasDib = true;
        reply = std::to_string(p->frame);
    } else if (name == "GetProjectFilePath") {
        reply = p->path;
    } else if (name == "GetCurrentFilename") {
        reply = p->filename;
    } else if (name == "New" && args.size() == 3) {
        const int id = nextProjectId();
        HostProject& fresh = projects[id];
        fresh.id = id;
        for (int f = 0; f < args[0]; ++f) {
            fresh.delays.push_back(0);
            fresh.images.push_back({blankImage(args[1], args[2])});
        }
        currentProject = id;
        reply = std::to_string(id);
    } else if (name == "SetCurrentFilename") {
        p->filename = text.substr(name.size() + 1, text.size() - name.size() - 2);
    } else if (name == "AddAnimationLayer") {
        for (auto& layers : p->images)
            layers.push_back(blankImage(layers[0].width, layers[0].height));
        reply = std::to_string(p->layerCount() - 1);
    } else if (name == "GetCurrentDelay") {
        reply = std::to_string(p->delays.at(p->frame - 1));
    } else if (name == "SetCurrentDelay") {
        p->delays.at(p->frame - 1) = arg;
        reply = std::to_string(arg);
    } else if (name == "ReceiveFrame") {
        reply = std::to_string(receiveFrame() ? 1 : 0);
    }
}

bool ScriptedHost::receiveFrame() {
    HostProject& p = current();
    DibInfoHeader h;
    DibLayout layout;
    if (!clipboardHasDib || !readDibInfoHeader(clipboard.data(), clipboard.size(), h) ||
        h.biBitCount != 8 || checkDibLayout(h, clipboard.size(), layout) != nullptr ||
        layout.topDown) {
        return false;
    }
    HostImage image = blankImage(layout.width, layout.height);
    std::memcpy(image.palette.data(), clipboard.data() + layout.colorTableOffset,
                static_cast<std::size_t>(layout.colorEntries) * 4);
    std::memcpy(image.rows.data(), clipboard.data() + layout.pixelOffset, image.rows.size());
    p.images.at(p.frame - 1).at(p.layer) = std::move(image);
    return true;
}

bool HostConnect(HostLink&, const char*, const char*) {
    return active != nullptr;
}
void HostDisconnect(HostLink&) {}

bool HostExecute(HostLink&, const char* item, const char* command) {
    if (std::strcmp(item, kImageServerItem) != 0) throw std::logic_error("wrong item");
    return activeHost().execute(command);
}

bool HostRequest(HostLink&, const char* item, char* buffer, std::size_t capacity) {
    if (std::strcmp(item, kImageServerItem) != 0) throw std::logic_error("wrong item");
    return activeHost().request(buffer, capacity);
}
