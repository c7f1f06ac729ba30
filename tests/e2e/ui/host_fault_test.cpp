// What the user meets when the host fails or lies: exactly one error box with
// the reason, the source project as it was, and a program that carries on: the
// next grab and send against a healthy host succeed.
#include <gtest/gtest.h>

#include "marlune_session.h"
#include "sample_dump.h"

namespace {

struct Fault {
    std::vector<std::string> switches;
    std::vector<int> flow;
    int removed;  // passes removed from the front before the healthy run
    bool atGrab;  // the fault shows at the grab, else at the batch
    std::string message;
};

TEST(HostFaults, OneErrorBoxTheSourceAsItWasAndTheNextOperationSucceeds) {
    const std::vector<int> tooLarge(6, kZoom3x);  // 48 x 3^6 is beyond 32768
    const Fault faults[] = {
        {{"--new-id", "1"},
         {kZoom2x, kScale2x},
         1,
         false,
         "Failed to create a new Kelvara project (New(4,192,192))\n"},
        {{"--stale-clipboard", "2"},
         {kZoom2x, kScale2x},
         1,
         false,
         "ERROR: the host put no new image on the clipboard"},
        {{"--no-data", "ReceiveFrame"},
         {kZoom2x, kScale2x},
         1,
         false,
         "ERROR: the host did not confirm 8 of 8 frames"},
        // Read as layer 0 once, so the wrong layer was grabbed.
        {{"--refuse", "SelectLayer=ERROR: layer locked"},
         {kZoom2x, kScale2x},
         1,
         true,
         "Failed to request 'SelectLayer(1)' from Kelvara!\n"},
        {{}, tooLarge, 5, true, "ERROR: the result of the flow would be too large (34992 x 34992)"},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.message);
        std::vector<std::string> switches = {"--sample"};
        switches.insert(switches.end(), fault.switches.begin(), fault.switches.end());
        MarluneSession session(switches);
        ASSERT_NE(session.w.main, nullptr) << session.problem;
        const MarluneWindows& w = session.w;
        appendPasses(w, fault.flow);
        if (fault.atGrab) {
            ui::postClick(w.grab);
            EXPECT_EQ(session.takeErrorBox("Error in image import!\n", 30000), fault.message);
        } else {
            ASSERT_NE(session.grab(), nullptr);
            ui::selectTab(w.tabControl, 1);
            ui::postClick(w.launch);
            EXPECT_EQ(session.takeErrorBox("Error in image processing!\n", 30000), fault.message);
            ui::selectTab(w.tabControl, 0);
        }
        EXPECT_FALSE(session.app->waitForExit(0));
        expectSampleUntouched(session.stopHostAndReadDump());

        ASSERT_TRUE(session.startHost({"--sample"})) << session.problem;
        for (int i = 0; i < fault.removed; ++i) {
            ui::selectListEntry(w.passList, 0);
            ui::click(w.removeButton);
        }
        const auto frame = session.grab();
        ASSERT_NE(frame, nullptr);
        ui::click(w.send);  // "As new project" is checked
        EXPECT_EQ(ui::findTopLevel("#32770", session.app->processId()), nullptr);
        const HostDump dump = session.stopHostAndReadDump();
        const std::vector<int> rest(fault.flow.begin() + fault.removed, fault.flow.end());
        EXPECT_TRUE(sameImage(dump.layer(2, 1, 0), *runChain(*frame, rest)->displayedImage()));
    }
}

}  // namespace
