// A host that hangs, answers late, quits or drops the conversation: every
// command gives a clear failure in bounded time and the link stays usable.
#include <gtest/gtest.h>

#include <string>

#include "host/commands.h"
#include "host/host_link_win32.h"
#include "host_sim_process.h"
#include "link_session.h"

namespace {

// A visible window that invalidates itself from a timer and counts the paints
// that reach it, to show that a waiting command keeps dispatching.
class RepaintProbe {
  public:
    RepaintProbe() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "LinkRepaintProbe";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("LinkRepaintProbe", "probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                120, 80, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetTimer(window_, 1, 50, nullptr);
        paints = 0;
    }
    ~RepaintProbe() { DestroyWindow(window_); }
    RepaintProbe(const RepaintProbe&) = delete;
    RepaintProbe& operator=(const RepaintProbe&) = delete;

    bool exists() const { return window_ != nullptr; }
    static inline int paints = 0;

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_TIMER:
                InvalidateRect(window, nullptr, FALSE);
                return 0;
            case WM_PAINT: {
                PAINTSTRUCT paint;
                BeginPaint(window, &paint);
                EndPaint(window, &paint);
                ++paints;
                return 0;
            }
            default:
                return DefWindowProcA(window, message, wParam, lParam);
        }
    }

    HWND window_ = nullptr;
};

// Milliseconds an operation took.
template <typename Operation>
DWORD timed(Operation operation) {
    const DWORD start = GetTickCount();
    operation();
    return GetTickCount() - start;
}

TEST(HostFaults, AHungCommandGivesUpAfterTenSecondsWhileTheWindowsRepaintCheaply) {
    HostSimProcess host({"--sample", "--hang", "GotoFrame"});
    ASSERT_TRUE(host.serving()) << host.problem();
    LinkSession session;
    ASSERT_TRUE(session.connected);
    RepaintProbe probe;
    ASSERT_TRUE(probe.exists());

    ErrorText error;
    bool switched = true;
    const double cpuBefore = processCpuSeconds();
    const DWORD elapsed = timed([&] { switched = SwitchFrame(session.link, 3, error); });
    const double cpuUsed = processCpuSeconds() - cpuBefore;

    EXPECT_FALSE(switched);
    EXPECT_STREQ(error.text, "Failed to request 'GotoFrame(3)' from Kelvara!\n");
    EXPECT_GE(elapsed, 9000u);
    EXPECT_LE(elapsed, 13000u);
    // 50 ms timer over 10 s: about 200 paints; a wait that stops dispatching gives none.
    EXPECT_GE(RepaintProbe::paints, 40) << "paints during the wait";
    // Blocking costs well under 0.1 s here; a polling wait burns seconds even
    // on a loaded machine.
    EXPECT_LT(cpuUsed, 1.0) << "CPU seconds spent waiting";
    EXPECT_EQ(session.link.pendingTransaction, 0u);
}

TEST(HostFaults, ALateCompletionDoesNotAnswerTheNextCommand) {
    HostSimProcess host(
        {"--sample", "--late", "GotoFrame=12000", "--reply", "GetCurrentFilename=late.bmp"});
    ASSERT_TRUE(host.serving()) << host.problem();
    LinkSession session;
    ASSERT_TRUE(session.connected);

    ErrorText error;
    EXPECT_FALSE(SwitchFrame(session.link, 1, error));
    EXPECT_STREQ(error.text, "Failed to request 'GotoFrame(1)' from Kelvara!\n");
    // The host gets to this command only after finishing the late one; the
    // reply read must be this command's own.
    char name[kTextReplyCapacity + 1] = {};
    error.reset();
    EXPECT_TRUE(QueryText(session.link, "GetCurrentFilename", name, error)) << error.text;
    EXPECT_STREQ(name, "late.bmp");
    // And the link carries on normally.
    int frames = 0;
    EXPECT_TRUE(QueryNumber(session.link, "GetFrameCount", frames, error)) << error.text;
    EXPECT_GE(frames, 1);
}

TEST(HostFaults, ALateCompletionNeverPassesAHungCommandAsSwitched) {
    HostSimProcess host({"--sample", "--late", "GotoFrame=12000", "--hang", "SelectLayer"});
    ASSERT_TRUE(host.serving()) << host.problem();
    LinkSession session;
    ASSERT_TRUE(session.connected);

    ErrorText error;
    EXPECT_FALSE(SwitchFrame(session.link, 2, error));
    // GotoFrame completes about 2 s into this wait. Wine's DDEML pairs that
    // acknowledgement with the oldest open transaction of the conversation,
    // so it may arrive under SelectLayer's id (the link cannot tell); the
    // reply then read is GotoFrame's, and the switch must still refuse it.
    const bool switched = SwitchLayer(session.link, 0, error);
    EXPECT_FALSE(switched);
    const std::string message = error.text;
    EXPECT_TRUE(message == "Failed to request 'SelectLayer(0)' from Kelvara!\n" ||
                message == "Failed to switch to layer '0' in Kelvara!\n")
        << message;
}

TEST(HostFaults, OnlyTheCompletionOfThePendingExecuteCounts) {
    HostSimProcess host({"--sample"});
    ASSERT_TRUE(host.serving()) << host.problem();
    LinkSession session;
    ASSERT_TRUE(session.connected);
    HostLink& link = session.link;

    // No execute waiting: a stray completion is ignored.
    link.acknowledged = 0;
    link.pendingTransaction = 0;
    HostCallback(XTYP_XACT_COMPLETE, CF_TEXT, link.conversation, nullptr, nullptr, nullptr, 77, 0);
    EXPECT_EQ(link.acknowledged, 0);

    link.pendingTransaction = 78;
    HostCallback(XTYP_XACT_COMPLETE, CF_TEXT, link.conversation, nullptr, nullptr, nullptr, 77, 0);
    EXPECT_EQ(link.acknowledged, 0) << "another execute's completion";
    // Whatever status the host gave, its own completion counts.
    HostCallback(XTYP_XACT_COMPLETE, CF_TEXT, link.conversation, nullptr, nullptr, nullptr, 78,
                 DDE_FNOTPROCESSED);
    EXPECT_EQ(link.acknowledged, 1);
    link.pendingTransaction = 0;

    // Real executes still complete afterwards.
    ErrorText error;
    int project = 0;
    EXPECT_TRUE(QueryNumber(link, "GetCurrentProject", project, error)) << error.text;
    EXPECT_GE(project, 1);
}

TEST(HostFaults, AfterTheHostQuitsCommandsFailAtOnce) {
    HostSimProcess host({"--sample", "--quit-after", "2"});
    ASSERT_TRUE(host.serving()) << host.problem();
    LinkSession session;
    ASSERT_TRUE(session.connected);

    ErrorText error;
    int project = 0;
    EXPECT_TRUE(QueryNumber(session.link, "GetCurrentProject", project, error)) << error.text;
    EXPECT_TRUE(SendCommand(session.link, "SetCurrentFilename(x_Marlune_1)", error)) << error.text;
    ASSERT_TRUE(host.waitForExit(5000)) << "the host quits after two commands";

    int layers = -1;
    bool queried = true;
    DWORD elapsed =
        timed([&] { queried = QueryNumber(session.link, "GetNumberOfLayers", layers, error); });
    EXPECT_FALSE(queried);
    EXPECT_EQ(layers, -1) << "the value is not touched";
    EXPECT_STREQ(error.text, "Failed to request 'GetNumberOfLayers' from Kelvara!\n");
    EXPECT_LT(elapsed, 2000u);

    elapsed = timed(
        [&] { queried = SendCommand(session.link, "SetCurrentFilename(x_Marlune_2)", error); });
    EXPECT_FALSE(queried);
    EXPECT_STREQ(error.text, "Failed to request 'SetCurrentFilename(x_Marlune_2)' from Kelvara!\n");
    EXPECT_LT(elapsed, 2000u);

    char reply[8] = "stale";
    EXPECT_FALSE(HostRequest(session.link, kImageServerItem, reply, 7));
    EXPECT_STREQ(reply, "");

    HostDisconnect(session.link);
    EXPECT_EQ(session.link.conversation, nullptr);
    EXPECT_EQ(session.link.instance, 0u);
}

TEST(HostFaults, ADroppedConversationFreesItsNamesOnceAndFailsLaterCommands) {
    HostSimProcess host({"--sample"});
    ASSERT_TRUE(host.serving()) << host.problem();
    HostLink link;
    ASSERT_TRUE(HostConnect(link, kHostService, kHostTopic));
    ASSERT_NE(link.serviceHandle, nullptr);
    ASSERT_NE(link.topicHandle, nullptr);

    // Wine never sends XTYP_DISCONNECT to a client; deliver it as DDEML would.
    HostCallback(XTYP_DISCONNECT, 0, link.conversation, nullptr, nullptr, nullptr, 0, 0);
    EXPECT_EQ(link.conversation, nullptr);
    EXPECT_EQ(link.serviceHandle, nullptr);
    EXPECT_EQ(link.topicHandle, nullptr);
    // A repeated notice has nothing left to free.
    HostCallback(XTYP_DISCONNECT, 0, nullptr, nullptr, nullptr, nullptr, 0, 0);

    ErrorText error;
    int project = -1;
    bool queried = true;
    const DWORD elapsed =
        timed([&] { queried = QueryNumber(link, "GetCurrentProject", project, error); });
    EXPECT_FALSE(queried);
    EXPECT_STREQ(error.text, "Failed to request 'GetCurrentProject' from Kelvara!\n");
    EXPECT_LT(elapsed, 2000u);

    // Shut-down only uninitialises; DDEML is then free for a new link.
    HostDisconnect(link);
    EXPECT_EQ(link.instance, 0u);
    LinkSession again;
    ASSERT_TRUE(again.connected);
    EXPECT_TRUE(QueryNumber(again.link, "GetCurrentProject", project, error)) << error.text;
    EXPECT_GE(project, 1);
}

}  // namespace
