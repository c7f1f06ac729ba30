#pragma once
// A small host for unit tests, linked in place of the DDEML link and the
// clipboard module. It keeps projects of frames x layers of 8-bit images,
// answers the host's commands the way the editor does, records every command
// text (and the requests after it), and fails where a test tells it to.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct PluginState;

// One frame and layer: rows bottom-up, stride = width rounded up to 4.
struct HostImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> palette;  // 256 RGBQUAD entries
    std::vector<std::uint8_t> rows;

    int stride() const { return (width + 3) & ~3; }
    std::uint8_t at(int x, int memoryRow) const {
        return rows[static_cast<std::size_t>(memoryRow) * stride() + x];
    }
};

struct HostProject {
    int id = 0;
    std::string path = "none";
    std::string filename = "none";
    int frame = 1;                               // current (and displayed) frame
    int layer = 0;                               // active layer
    std::vector<int> delays;                     // by frame - 1
    std::vector<std::vector<HostImage>> images;  // [frame - 1][layer]

    int frameCount() const { return static_cast<int>(images.size()); }
    int layerCount() const { return images.empty() ? 0 : static_cast<int>(images[0].size()); }
    const HostImage& image(int f, int l) const { return images.at(f - 1).at(l); }
};

struct SentCommand {
    std::string text;
    int requests = 0;  // request transactions that followed this execute
};

// A frame whose every pixel and palette entry depends on project, frame and
// layer, so that images are told apart by content.
HostImage patternImage(int width, int height, int project, int frame, int layer);
// The packed DIB (header, 256 entries, rows) the host puts on the clipboard.
std::vector<std::uint8_t> packDib(const HostImage& image);

class ScriptedHost {
  public:
    ScriptedHost();  // becomes the host the fakes talk to
    ~ScriptedHost();
    ScriptedHost(const ScriptedHost&) = delete;
    ScriptedHost& operator=(const ScriptedHost&) = delete;

    // A project of pattern images; the first one added becomes current.
    HostProject& addProject(int id, int frames, int layers, int width, int height);
    HostProject& project(int id);
    HostProject& current() { return project(currentProject); }

    // Texts of all executes in order.
    std::vector<std::string> texts() const;

    // The link seam's entry points.
    bool execute(const char* command);
    bool request(char* buffer, std::size_t capacity);

    int currentProject = 0;
    std::map<int, HostProject> projects;
    std::vector<SentCommand> sent;

    // Faults and quirks, by command name (the text before any '(').
    std::map<std::string, std::string> replies;  // answer this instead
    std::set<std::string> refused;               // execute never completed
    std::set<std::string> lostReplies;           // request after it fails
    int executesBeforeGone = -1;                 // >= 0: host vanishes after that many
    // Runs after a command's action, before `replies`; may change the model or `reply`.
    std::function<void(ScriptedHost&, const std::string& command)> afterCommand;
    std::string reply;  // the item's current text

    // Clipboard.
    PluginState* state = nullptr;  // whose images PutImageOnClipboard may be handed
    std::vector<std::uint8_t> clipboard;
    bool clipboardHasDib = false;
    bool clipboardOpenFails = false;
    bool clipboardWriteFails = false;
    int clipboardReads = 0;
    int clipboardWrites = 0;
    std::optional<std::vector<std::uint8_t>> sendFrameBlock;  // put this instead of the frame

  private:
    void perform(const std::string& name, const std::vector<int>& args, const std::string& text);
    bool receiveFrame();  // the clipboard's DIB into the current frame and layer
    int nextProjectId() const;
};

ScriptedHost& activeHost();
