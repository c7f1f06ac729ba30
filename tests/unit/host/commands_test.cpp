// The command layer: what goes to the host, how replies are read, and the
// messages the user sees when the host does not play along.
#include <climits>
#include <cstring>
#include <string>
#include <utility>

#include "host/commands.h"
#include "host_fixture.h"

using Commands = HostTest;

TEST_F(Commands, NumberRepliesReadAsAtoiWouldWithoutOverflowing) {
    const std::pair<const char*, int> cases[] = {
        {"42", 42},
        {"  \t\n-17x", -17},
        {"+8", 8},
        {"12abc", 12},
        {"007", 7},
        {"3 4", 3},
        {"abc", 0},
        {"", 0},
        {"- 5", 0},
        {"+-5", 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-99999999999999999999", INT_MIN},
        {"1\r\n", 1},
    };
    for (const auto& [text, expected] : cases) {
        host.replies["Probe"] = text;
        int value = 12345;
        EXPECT_TRUE(QueryNumber(state.link, "Probe", value, error)) << text;
        EXPECT_EQ(value, expected) << '"' << text << '"';
    }
    EXPECT_STREQ(error.text, "undefined error");
}

TEST_F(Commands, NumberQueryIsOneExecuteAndOneRequest) {
    host.addProject(kSource, 3, 2, 4, 4);
    int frames = 0;
    ASSERT_TRUE(QueryNumber(state.link, "GetFrameCount", frames, error));
    EXPECT_EQ(frames, 3);
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(host.sent[0].text, "GetFrameCount");
    EXPECT_EQ(host.sent[0].requests, 1);
}

TEST_F(Commands, LostReplyCountsAsEmptyText) {
    host.replies["Probe"] = "55";
    host.lostReplies.insert("Probe");
    int value = 9;
    EXPECT_TRUE(QueryNumber(state.link, "Probe", value, error));
    EXPECT_EQ(value, 0);

    char text[kTextReplyCapacity + 1];
    std::strcpy(text, "previous");
    EXPECT_TRUE(QueryText(state.link, "Probe", text, error));
    EXPECT_STREQ(text, "");
    EXPECT_STREQ(error.text, "undefined error");
}

TEST_F(Commands, UncompletedExecuteNamesTheCommandAndTouchesNothing) {
    host.refused.insert("GetFrameCount");
    host.refused.insert("GetProjectFilePath");
    host.refused.insert("SetCurrentFilename");

    int value = 77;
    EXPECT_FALSE(QueryNumber(state.link, "GetFrameCount", value, error));
    EXPECT_EQ(value, 77);
    EXPECT_STREQ(error.text, "Failed to request 'GetFrameCount' from Kelvara!\n");

    char text[kTextReplyCapacity + 1];
    std::strcpy(text, "kept");
    EXPECT_FALSE(QueryText(state.link, "GetProjectFilePath", text, error));
    EXPECT_STREQ(text, "kept");
    EXPECT_STREQ(error.text, "Failed to request 'GetProjectFilePath' from Kelvara!\n");

    EXPECT_FALSE(SendCommand(state.link, "SetCurrentFilename(x_Marlune_1)", error));
    EXPECT_STREQ(error.text, "Failed to request 'SetCurrentFilename(x_Marlune_1)' from Kelvara!\n");
    for (const SentCommand& c : host.sent) EXPECT_EQ(c.requests, 0) << c.text;
}

TEST_F(Commands, MessageForAVeryLongCommandIsCutAndTerminated) {
    host.executesBeforeGone = 0;
    const std::string command(400, 'c');
    int value = 0;
    EXPECT_FALSE(QueryNumber(state.link, command.c_str(), value, error));
    EXPECT_EQ(std::strlen(error.text), kErrorTextBytes - 1);
    EXPECT_EQ(std::string(error.text).rfind("Failed to request 'ccc", 0), 0u);
}

TEST_F(Commands, TextReplyIsCutAtItsCapacityAndTerminated) {
    host.replies["GetProjectFilePath"] = std::string(300, 'p');
    char text[kTextReplyCapacity + 1];
    std::memset(text, 'x', sizeof text);
    ASSERT_TRUE(QueryText(state.link, "GetProjectFilePath", text, error));
    EXPECT_EQ(std::strlen(text), kTextReplyCapacity);
    EXPECT_EQ(text[0], 'p');
}

TEST_F(Commands, PlainCommandRequestsNoReply) {
    host.addProject(kSource, 1, 1, 2, 2);
    ASSERT_TRUE(SendCommand(state.link, "SetCurrentFilename(hero_Marlune_1)", error));
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(host.sent[0].requests, 0);
    EXPECT_EQ(host.project(kSource).filename, "hero_Marlune_1");
}

TEST_F(Commands, SwitchesSucceedOnlyWhenTheHostConfirms) {
    host.addProject(kSource, 3, 2, 4, 4);
    host.addProject(9, 1, 1, 4, 4);

    EXPECT_TRUE(SwitchFrame(state.link, 3, error));
    EXPECT_TRUE(SwitchLayer(state.link, 1, error));
    EXPECT_TRUE(SwitchProject(state.link, 9, error));
    EXPECT_STREQ(error.text, "undefined error");
    EXPECT_EQ(host.texts(),
              (std::vector<std::string>{"GotoFrame(3)", "SelectLayer(1)", "SetCurrentProject(9)"}));

    // The scripted host stays where it is when asked for something it lacks.
    EXPECT_FALSE(SwitchProject(state.link, 12, error));
    EXPECT_STREQ(error.text, "Failed to switch to project '12' in Kelvara!\n");
    host.currentProject = kSource;
    EXPECT_FALSE(SwitchFrame(state.link, 4, error));
    EXPECT_STREQ(error.text, "Failed to switch to frame '4' in Kelvara!\n");
    EXPECT_FALSE(SwitchLayer(state.link, 2, error));
    EXPECT_STREQ(error.text, "Failed to switch to layer '2' in Kelvara!\n");
    EXPECT_FALSE(SwitchLayer(state.link, -1, error));
    EXPECT_STREQ(error.text, "Failed to switch to layer '-1' in Kelvara!\n");
}

TEST_F(Commands, FrameSwitchAnsweredWithAnotherFrameFails) {
    host.replies["GotoFrame"] = "2";
    EXPECT_FALSE(SwitchFrame(state.link, 3, error));
    EXPECT_STREQ(error.text, "Failed to switch to frame '3' in Kelvara!\n");
    host.replies["GotoFrame"] = "3";
    EXPECT_TRUE(SwitchFrame(state.link, 3, error));
}

TEST_F(Commands, ProjectSwitchLogsTheReplyEvenWhenItFails) {
    host.replies["SetCurrentProject"] = "5";
    EXPECT_FALSE(SwitchProject(state.link, 4, error));
    host.replies["SetCurrentProject"] = "junk";
    EXPECT_FALSE(SwitchProject(state.link, 4, error));
    host.refused.insert("SetCurrentProject");
    EXPECT_FALSE(SwitchProject(state.link, 4, error));
    EXPECT_STREQ(error.text, "Failed to request 'SetCurrentProject(4)' from Kelvara!\n");
    EXPECT_EQ(logLines(), (std::vector<std::string>{"ret_project = 5", "ret_project = 0"}));
}

TEST_F(Commands, SwitchCommandsCarryExtremeNumbersWhole) {
    EXPECT_FALSE(SwitchFrame(state.link, INT_MIN, error));
    EXPECT_FALSE(SwitchProject(state.link, INT_MAX, error));
    EXPECT_EQ(host.texts(), (std::vector<std::string>{"GotoFrame(-2147483648)",
                                                      "SetCurrentProject(2147483647)"}));
}
