// Import and export over real DDE and the real clipboard, against the stand-in
// host, read back from its dump: what only the real thing can show.
#include <string>
#include <vector>

#include "host/export.h"
#include "host/frame_import.h"
#include "hosted_state.h"

namespace {

constexpr int kScale2x = 2;

}  // namespace

TEST(ImportExport, UnsoundClipboardImagesAreRefusedWithTheirReason) {
    for (const auto& [option, message] :
         {std::pair{std::vector<std::string>{"--dib", "24"},
                    "ERROR: only 8bit pixels are supported!"},
          {{"--truncate-dib"}, "ERROR: the clipboard image cannot be read (block truncated)"}}) {
        HostedRun run(option);
        ASSERT_TRUE(run.ready());
        EXPECT_FALSE(ImportDisplayedImage(run.state, run.owner(), run.error));
        EXPECT_STREQ(run.error.text, message);
        EXPECT_EQ(run.state.chain.source(), nullptr);
    }
}

// A batch into a new project against a host that fails or lies: the message,
// and the source project exactly as it was. (A host that makes no new project,
// leaves the clipboard stale or confirms nothing: the UI's host fault test.)
TEST(ImportExport, FaultsEndTheBatchAndLeaveTheSourceAsItWas) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--no-data", "GetCurrentDelay"}, "Failed to request 'GetCurrentDelay' from Kelvara!\n"},
        {{"--refuse", "ReceiveFrame=ERROR: layer locked"}, "ERROR: layer locked"},
        // The grab, the preparation and two pairs; then the host quits. Which
        // command meets the quit, and whether it was on its way or found no
        // host, depends on timing.
        {{"--quit-after", "38"}, "Failed to request '"},
    };
    for (const auto& [switches, message] : cases) {
        HostedRun run(switches);
        ASSERT_TRUE(run.ready());
        run.state.chain.insertPass(run.owner(), 0, kScale2x);
        ASSERT_TRUE(ImportDisplayedImage(run.state, run.owner(), run.error)) << switches[0];
        EXPECT_FALSE(ExportBatch(run.state, run.owner(), true, true, true, run.error));
        const std::string text = run.error.text;
        EXPECT_TRUE(text.rfind(message, 0) == 0 ||
                    (switches[0] == "--quit-after" && text == "Kelvara is inactive!!"))
            << text;
        run.finish();
        expectSampleUntouched(run.dump());
    }
}
