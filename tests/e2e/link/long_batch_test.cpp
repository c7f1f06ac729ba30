// A batch of 2000 frame-layer pairs in one process, after filling its source:
// about 26500 executes, past the 16384 after which Wine's sign-extended
// transaction ids left every execute uncompleted, and about 24500 requests.
#include <gtest/gtest.h>

#include "batch_check.h"
#include "host/clipboard.h"
#include "host/commands.h"

namespace {

constexpr int kFrames = 500;
constexpr int kLayers = 4;

TEST(LongBatch, TwoThousandFrameLayerPairsAllArrive) {
    HostedRun run({"--no-redraw"});
    ASSERT_TRUE(run.ready());
    HostLink& link = run.state.link;
    int source = 0;
    ASSERT_TRUE(QueryNumber(link, "New(500,4,3)", source, run.error)) << run.error.text;
    for (int l = 1; l < kLayers; ++l)
        ASSERT_TRUE(SendCommand(link, "AddAnimationLayer", run.error)) << run.error.text;
    // Every layer of the source its own image: pair k has k in its first two pixels.
    const std::vector<std::uint8_t> palette(kPaletteBytes, 0x40);
    IndexedImage image(run.owner(), 4, 3, palette.data());
    for (int f = 1; f <= kFrames; ++f) {
        ASSERT_TRUE(SwitchFrame(link, f, run.error)) << run.error.text;
        for (int l = 0; l < kLayers; ++l) {
            ASSERT_TRUE(SwitchLayer(link, l, run.error)) << run.error.text;
            const int k = (f - 1) * kLayers + l;
            for (int y = 0; y < image.height; ++y)
                for (int x = 0; x < image.width; ++x)
                    image.row(y)[x] = static_cast<std::uint8_t>((k >> (8 * (x & 1))) + 31 * y + x);
            ASSERT_TRUE(PutImageOnClipboard(image, run.owner()));
            ASSERT_TRUE(SendCommand(link, "ReceiveFrame", run.error)) << run.error.text;
        }
    }
    expectBatchDelivered(run, source);
}

}  // namespace
