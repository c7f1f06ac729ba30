#include "host/frame_import.h"

#include <cstdint>
#include <cstring>

#include "base/bounded_format.h"
#include "base/log.h"
#include "host/clipboard.h"
#include "host/commands.h"
#include "image/packed_dib.h"

// The name is read by the text query straight into its field.
static_assert(kBaseFileNameBytes >= kTextReplyCapacity + 1,
              "the base file name must hold a whole text reply");

namespace {

constexpr const char* kStaleClipboard = "ERROR: the host put no new image on the clipboard";

// Makes the clipboard's CF_DIB the source image. On failure there is no source
// image; the reason is logged and also told to the user, who would otherwise
// see only "undefined error" after a grab that silently failed.
bool takeClipboardImage(PluginState& state, HWND owner, ErrorText& error) {
    ClipboardImage clip = readClipboardImage(owner);
    switch (clip.status) {
        case ClipboardRead::Ok:
            state.chain.setSource(std::move(clip.image));
            return true;
        case ClipboardRead::OpenFailed:
            logLine("ERROR: Failed to open the clipboard");
            error.set("ERROR: the clipboard cannot be opened");
            break;
        case ClipboardRead::NoDib:
            logLine("ERROR: no CF_DIB image on the clipboard");
            error.set("ERROR: the clipboard holds no image (CF_DIB)");
            break;
        case ClipboardRead::Invalid: {
            logLine("ERROR: failed to duplicate clipboard bitmap(2)");
            const char* why = clip.problem != nullptr ? clip.problem : "no bitmap could be made";
            if (std::strcmp(why, kOnly8BitProblem) == 0) {
                error.set("ERROR: %s", kOnly8BitProblem);
            } else {
                error.set("ERROR: the clipboard image cannot be read (%s)", why);
            }
            break;
        }
    }
    logLine("Failed to create my own bitmap");
    return false;
}

// Keeps the file part after the last backslash, up to its first dot. Only the
// backslash separates directories; a forward slash is an ordinary character.
void shortenToBaseName(char* name) {
    const char* start = std::strrchr(name, '\\');
    start = start != nullptr ? start + 1 : name;
    char* out = name;
    while (*start != '\0' && *start != '.') *out++ = *start++;
    *out = '\0';
}

// Project path, else the current file name, else "Untitled".
bool readBaseFileName(PluginState& state, ErrorText& error) {
    char* name = state.baseFileName;
    if (!QueryText(state.link, "GetProjectFilePath", name, error)) return false;
    if (std::strcmp(name, "none") == 0) {
        if (!QueryText(state.link, "GetCurrentFilename", name, error)) return false;
        if (std::strcmp(name, "none") == 0) {
            copyBounded(name, kBaseFileNameBytes, "Untitled");
            return true;
        }
    }
    logFormat("input filename = %s\n", name);
    shortenToBaseName(name);
    return true;
}

}  // namespace

// An empty preview would only say "undefined error" at the next export. The
// passes after one whose output cannot be made do not run, so that one is the
// last with an output, and its size is the one to tell.
bool FlowResultMade(const PassChain& chain, ErrorText& error) {
    if (chain.displayedImage() != nullptr) return true;
    int width = 0;
    int height = 0;
    for (int i = 0; i < chain.size(); ++i) {
        if (const IndexedImage* out = chain.passAt(i)->output.get()) {
            width = out->width;
            height = out->height;
        }
    }
    logFormat("ERROR: the result of the flow would be too large (%d x %d)\n", width, height);
    error.set("ERROR: the result of the flow would be too large (%d x %d)", width, height);
    return false;
}

bool ImportImage(PluginState& state, HWND owner, int frame, int layer, ErrorText& error) {
    logLine("Entering ImportImage()");
    if (!state.initialised) {
        logLine("Error: plugin not initialized");
        return false;
    }
    if (!SwitchFrame(state.link, frame, error) || !SwitchLayer(state.link, layer, error)) {
        return false;
    }
    const std::uint32_t clipboardBefore = clipboardSequenceNumber();
    int shownFrame = 0;
    if (!QueryNumber(state.link, "SendFrame", shownFrame, error)) return false;
    if (shownFrame != frame) {
        error.set("SendFrame() request returned %d instead of %d\n", shownFrame, frame);
        return false;
    }
    // Otherwise whatever the clipboard held would be taken for the frame (in a
    // batch, the image this program itself sent last).
    if (clipboardSequenceNumber() == clipboardBefore) {
        logLine(kStaleClipboard);
        error.set("%s", kStaleClipboard);
        return false;
    }

    state.chain.dropImages();
    if (!takeClipboardImage(state, owner, error)) return false;
    if (!readBaseFileName(state, error)) return false;
    logFormat("final filename = %s\n", state.baseFileName);

    // A handler may have evaluated the chain while the name queries waited.
    state.chain.dropOutputs();
    state.chain.evaluate(owner);
    return FlowResultMade(state.chain, error);
}

bool ImportDisplayedImage(PluginState& state, HWND owner, ErrorText& error) {
    int frame = 0;
    int layer = 0;
    if (!QueryNumber(state.link, "GetDisplayFrameNumber", frame, error)) return false;
    if (!QueryNumber(state.link, "GetActiveLayerNumber", layer, error)) return false;
    return ImportImage(state, owner, frame, layer, error);
}
