// Start-up without a host: nothing answers "KELVARA".
#include <gtest/gtest.h>

#include "host/plugin_state.h"
#include "host_sim_process.h"

namespace {

int checkerboardsBuilt = 0;
void countCheckerboard(HWND) {
    ++checkerboardsBuilt;
}

TEST(NoHost, InitPluginReportsTheHostInactiveAndBuildsNothing) {
    PluginState state;
    checkerboardsBuilt = 0;
    testing::internal::CaptureStdout();
    const bool started = InitPlugin(state, nullptr, countCheckerboard);
    const std::string log = testing::internal::GetCapturedStdout();

    EXPECT_FALSE(started);
    EXPECT_NE(log.find("Kelvara is inactive!!"), std::string::npos) << log;
    EXPECT_FALSE(state.initialised);
    EXPECT_EQ(checkerboardsBuilt, 0);
    EXPECT_EQ(state.link.conversation, nullptr);
    EXPECT_EQ(state.link.serviceHandle, nullptr);
    EXPECT_EQ(state.link.topicHandle, nullptr);
    // DDEML stays initialised until shut-down, which must still be safe.
    EXPECT_NE(state.link.instance, 0u);
    HostDisconnect(state.link);
}

TEST(NoHost, OperationsWithoutConversationFailAtOnce) {
    PluginState state;
    testing::internal::CaptureStdout();
    ASSERT_FALSE(InitPlugin(state, nullptr, nullptr));
    testing::internal::GetCapturedStdout();

    const double cpuBefore = processCpuSeconds();
    const DWORD start = GetTickCount();
    EXPECT_FALSE(HostExecute(state.link, kImageServerItem, "GetCurrentProject"));
    EXPECT_LT(GetTickCount() - start, 2000u);
    char reply[16] = "stale";
    EXPECT_FALSE(HostRequest(state.link, kImageServerItem, reply, 15));
    EXPECT_STREQ(reply, "");
    EXPECT_LT(processCpuSeconds() - cpuBefore, 2.0);
    HostDisconnect(state.link);
}

}  // namespace
