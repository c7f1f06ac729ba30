#include <cstring>

#include "host/clipboard.h"
#include "host/host_link.h"
#include "host/packed_dib_writer.h"
#include "host_fixture.h"
#include "image/packed_dib.h"

namespace {

SimHost* active = nullptr;

SimHost& host() {
    return *active;
}

}  // namespace

SimHost::SimHost() {
    options.noCrlf = true;  // the DDEML link strips it; its tests run against the real host
    active = this;
}

SimHost::~SimHost() {
    active = nullptr;
}

void SimHost::use(const std::vector<std::string>& switches) {
    std::vector<std::string> rest;
    for (const std::string& s : switches) {
        clipboardOpenFails |= s == "--fail-clipboard-open";
        clipboardWriteFails |= s == "--fail-clipboard-write";
        emptiesClipboard |= s == "--empty-clipboard";
        if (s.rfind("--fail-clipboard", 0) != 0 && s != "--empty-clipboard") rest.push_back(s);
    }
    std::string error;
    ASSERT_TRUE(parseHostOptions(rest, options, error)) << error;
}

bool HostConnect(HostLink&, const char*, const char*) {
    return host().reachable;
}

void HostDisconnect(HostLink&) {}

bool HostExecute(HostLink& link, const char*, const char* command) {
    SimHost& h = host();
    h.commands.emplace_back(command);
    // The real link sends a command its quit host never got to whoever answers
    // now: nobody.
    link.hostMissing = h.session.quitDue();
    if (link.hostMissing || hangsOn(h.options, command)) return false;
    h.session.complete(command, h.clipboard);
    if (h.emptiesClipboard && h.commands.back() == "SendFrame") {
        h.clipboard.content.reset();
        ++h.clipboard.sequence;
    }
    if (h.afterCommand) h.afterCommand(command);
    return true;
}

bool HostRequest(HostLink&, const char*, char* buffer, std::size_t capacity) {
    const std::string* reply = host().session.reply();
    const std::string text = reply != nullptr ? reply->substr(0, capacity) : "";
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return reply != nullptr;
}

ClipboardImage readClipboardImage(HWND owner) {
    const MemoryClipboard& clipboard = host().clipboard;
    ClipboardImage result;
    if (host().clipboardOpenFails) return result;
    result.status = ClipboardRead::NoDib;
    if (!clipboard.content) return result;
    const std::vector<std::uint8_t>& block = *clipboard.content;
    result.image = std::make_unique<IndexedImage>(owner, block.data(), block.size());
    result.status = result.image->valid ? ClipboardRead::Ok : ClipboardRead::Invalid;
    if (!result.image->valid) {
        result.problem = packedDibProblem(block.data(), block.size());
        result.image.reset();
    }
    return result;
}

bool PutImageOnClipboard(const IndexedImage& image, HWND) {
    if (host().clipboardWriteFails) return false;
    std::vector<std::uint8_t> block(packedDibBytes(image));
    writePackedDib(image, block.data());
    return host().clipboard.put(block);
}

std::uint32_t clipboardSequenceNumber() {
    return host().clipboard.sequence;
}

LayerPixels layerOf(const IndexedImage& image) {
    std::vector<std::uint8_t> block(packedDibBytes(image));
    writePackedDib(image, block.data());
    DecodedImage decoded;
    decodePackedDib(block.data(), block.size(), decoded);
    return decoded.pixels;
}

void buildFlow(PassChain& chain, const std::vector<int>& kinds, int angle) {
    for (int kind : kinds) chain.insertPass(nullptr, chain.size(), kind);
    chain.setRotationAngle(nullptr, angle);
}

void HostTest::SetUp() {
    Project p = makeBlankProject(3, 5, 3, greyPalette());
    p.addLayer();
    p.path = "C:\\sprites\\hero.walk.png";
    p.name = "hero.walk.png";
    for (int f = 1; f <= 3; ++f) {
        p.frames[f - 1].delay = 10 * f + 5;
        for (int l = 0; l < 2; ++l) {
            LayerPixels& px = p.pixels(f, l);
            for (std::size_t i = 0; i < px.size(); ++i)
                px[i] = static_cast<std::uint8_t>(f * 40 + l * 20 + i * 7);
        }
    }
    for (std::size_t i = 0; i < p.palette.size(); ++i)
        p.palette[i] = static_cast<std::uint8_t>(i * 5 + 1);
    p.currentFrame = 2;
    p.activeLayer = 1;
    host.model.addProject(std::move(p));
    sourceBefore = *host.model.find(kSource);
    state.initialised = true;
    testing::internal::CaptureStdout();
}

std::vector<std::string> HostTest::logLines() {
    logTaken = true;
    taken = testing::internal::GetCapturedStdout();
    std::istringstream in(taken);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("bi", 0) != 0) out.push_back(line);
    }
    return out;
}

LayerPixels HostTest::throughFlow(const std::vector<int>& kinds, int angle, int frame, int layer) {
    const std::vector<std::uint8_t> block =
        makePackedDib(sourceBefore.pixels(frame, layer), 5, 3, sourceBefore.palette);
    PassChain chain;
    buildFlow(chain, kinds, angle);
    chain.setSource(std::make_unique<IndexedImage>(nullptr, block.data(), block.size()));
    chain.evaluate(nullptr);
    return layerOf(*chain.displayedImage());
}
