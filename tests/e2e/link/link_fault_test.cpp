// The link against a host that answers late, quits, comes back or is absent:
// every command ends in bounded time with a clear message while the windows
// keep repainting, and the next command gets its own answer or finds the host.
#include <gtest/gtest.h>

#include "batch_check.h"
#include "host/commands.h"
#include "host/host_link_win32.h"

namespace {

int paints = 0;

// A visible window that invalidates itself every 50 ms and counts its paints.
LRESULT CALLBACK repaintProbe(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) InvalidateRect(window, nullptr, FALSE);
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    ++paints;
    return 0;
}

// The query's value (-1 when it failed): it must succeed, or, given the
// `failure` message, fail with it within 2 s.
int query(HostLink& link, const char* command, const char* failure = nullptr) {
    ErrorText error;
    int value = -1;
    const DWORD start = GetTickCount();
    EXPECT_NE(QueryNumber(link, command, value, error), failure != nullptr) << error.text;
    if (failure == nullptr) return value;
    EXPECT_LT(GetTickCount() - start, 2000u) << command;
    EXPECT_STREQ(error.text, failure);
    return value;
}

TEST(LinkFaults, ALateCommandEndsAtItsDeadlineAndLaterCommandsGetTheirOwnAnswers) {
    HostedRun run({"--late", "GotoFrame(9)=12000", "--reply", "GetCurrentFilename=late.bmp"});
    ASSERT_TRUE(run.ready());
    const WNDCLASSA probeClass = {
        0,       repaintProbe, 0,       0,       GetModuleHandleA(nullptr),
        nullptr, nullptr,      nullptr, nullptr, "LinkRepaintProbe"};
    RegisterClassA(&probeClass);
    const HWND probe = CreateWindowA("LinkRepaintProbe", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     120, 80, nullptr, nullptr, probeClass.hInstance, nullptr);
    SetTimer(probe, 1, 50, nullptr);

    const double cpuBefore = processCpuSeconds();
    DWORD start = GetTickCount();
    EXPECT_FALSE(SwitchFrame(run.state.link, 9, run.error));
    EXPECT_NEAR(GetTickCount() - start, 11000.0, 2000.0) << "the 10-second deadline";
    EXPECT_STREQ(run.error.text, "Failed to request 'GotoFrame(9)' from Kelvara!\n");
    // About 200 paints; a wait that stops dispatching gives none, and one that
    // polls burns seconds of CPU.
    EXPECT_GE(paints, 40);
    EXPECT_LT(processCpuSeconds() - cpuBefore, 1.0);

    // The host still holds GotoFrame for two seconds: a command queued behind
    // it on the same conversation would wait for it and could take its
    // acknowledgement. On a new one it is answered at once, with its own reply.
    char name[kTextReplyCapacity + 1] = {};
    start = GetTickCount();
    EXPECT_TRUE(QueryText(run.state.link, "GetCurrentFilename", name, run.error));
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_STREQ(name, "late.bmp");
    EXPECT_EQ(query(run.state.link, "GetFrameCount"), 4);
    expectBatchDelivered(run, kSample);
    // Not earlier: closing a window of ours while the host holds a late
    // command made it finish that command at once.
    DestroyWindow(probe);
}

TEST(LinkFaults, WithoutAHostCommandsSayKelvaraIsInactiveAndARestartedHostIsFound) {
    PluginState state;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(InitPlugin(state, nullptr, [](HWND) { ADD_FAILURE() << "brush built"; }));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Kelvara is inactive!!\n");
    EXPECT_FALSE(state.initialised);
    HostLink& link = state.link;
    EXPECT_EQ(query(link, "GetFrameCount", "Kelvara is inactive!!"), -1);
    {
        HostSimProcess host({"--sample", "--quit-after", "2"});
        ASSERT_TRUE(host.serving()) << host.problem();
        EXPECT_EQ(query(link, "GetFrameCount"), 4);
        EXPECT_EQ(query(link, "GetNumberOfLayers"), 2);
        ASSERT_TRUE(host.waitForExit(5000)) << "the host quits after two commands";
    }
    // The command could not reach the host that quit, and no other answers.
    EXPECT_EQ(query(link, "GetFrameCount", "Kelvara is inactive!!"), -1);
    char reply[8] = "stale";
    EXPECT_FALSE(HostRequest(link, kImageServerItem, reply, 7));
    EXPECT_STREQ(reply, "");

    {
        HostSimProcess host({"--sample"});
        ASSERT_TRUE(host.serving()) << host.problem();
        EXPECT_EQ(query(link, "GetFrameCount"), 4);
    }
    // A host closed and started again between two commands: the next one is
    // answered by the new host, not failed on the old conversation.
    HostSimProcess host({"--sample"});
    ASSERT_TRUE(host.serving()) << host.problem();
    EXPECT_EQ(query(link, "GetNumberOfLayers"), 2);
    // Windows tells a client that the host ended the conversation (Wine never
    // does); the next command then connects again too.
    HostCallback(XTYP_DISCONNECT, 0, link.conversation, nullptr, nullptr, nullptr, 0, 0);
    EXPECT_EQ(link.conversation, nullptr);
    EXPECT_EQ(query(link, "GetNumberOfLayers"), 2);
    HostDisconnect(link);
}

}  // namespace
