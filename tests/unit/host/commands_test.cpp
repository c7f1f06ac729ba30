// The command layer: how replies are read, the message the user sees when the
// host does not play along, and the start-up connection.
#include <climits>
#include <cstring>

#include "host/commands.h"
#include "host/frame_import.h"
#include "host_fixture.h"

using Commands = HostTest;

TEST_F(Commands, NumberRepliesReadAsAtoiWouldWithoutOverflowing) {
    const std::pair<const char*, int> cases[] = {
        {"42", 42},
        {"  \t\n-17x", -17},
        {"+8", 8},
        {"12abc", 12},
        {"\v\f\r3 4", 3},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-99999999999999999999", INT_MIN},
    };
    for (const auto& [text, expected] : cases) {
        host.options.replies = {{"GetFrameCount", text}};
        int value = 12345;
        EXPECT_TRUE(QueryNumber(state.link, "GetFrameCount", value, error)) << text;
        EXPECT_EQ(value, expected) << '"' << text << '"';
    }
    char text[kTextReplyCapacity + 1] = "kept";
    host.options.replies = {{"GetCurrentFilename", ""}};
    EXPECT_TRUE(QueryText(state.link, "GetCurrentFilename", text, error));
    EXPECT_STREQ(text, "");  // an empty reply is the empty text
    EXPECT_STREQ(error.text, "undefined error");
}

// Every way a command can fail names the command (or the number asked for),
// and leaves the caller's value or text as it was.
TEST_F(Commands, FailuresNameTheCommandAndTouchNothing) {
    int value = 77;
    char text[kTextReplyCapacity + 1] = "kept";
    const std::string frames = "Failed to request 'GetFrameCount' from Kelvara!\n";
    const std::string path = "Failed to request 'GetProjectFilePath' from Kelvara!\n";
    const auto number = [&] { return QueryNumber(state.link, "GetFrameCount", value, error); };
    const auto name = [&] { return QueryText(state.link, "GetProjectFilePath", text, error); };
    const auto frame3 = [&] { return SwitchFrame(state.link, 3, error); };
    struct Case {
        std::vector<std::string> switches;
        std::function<bool()> call;
        std::string message;
    };
    const Case cases[] = {
        {{"--hang", "GetFrameCount"}, number, frames},
        {{"--no-data", "GetFrameCount"}, number, frames},
        {{"--reply", "GetFrameCount= -x"}, number, frames},
        {{"--hang", "GetProjectFilePath"}, name, path},
        {{"--no-data", "GetProjectFilePath"}, name, path},
        {{"--refuse", "GotoFrame=ERROR: frame locked"},
         frame3,
         "Failed to request 'GotoFrame(3)' from Kelvara!\n"},
        {{"--reply", "GotoFrame=2"}, frame3, "Failed to switch to frame '3' in Kelvara!\n"},
        {{},
         [&] { return SwitchLayer(state.link, -1, error); },
         "Failed to switch to layer '-1' in Kelvara!\n"},
        {{},
         [&] { return SwitchProject(state.link, 12, error); },
         "Failed to switch to project '12' in Kelvara!\n"},
        {{"--hang", "SetCurrentFilename"},
         [&] { return SendCommand(state.link, "SetCurrentFilename(x_Marlune_1)", error); },
         "Failed to request 'SetCurrentFilename(x_Marlune_1)' from Kelvara!\n"},
    };
    for (const Case& c : cases) {
        host.options = {};
        host.options.noCrlf = true;
        host.use(c.switches);
        EXPECT_FALSE(c.call()) << c.message;
        EXPECT_EQ(error.text, c.message);
        EXPECT_EQ(value, 77) << c.message;
        EXPECT_STREQ(text, "kept") << c.message;
    }
    // A project switch logs the host's reply even when it then fails.
    EXPECT_EQ(logLines(), std::vector<std::string>{"ret_project = 1"});

    // The message for a very long command is cut and terminated, inside its
    // buffer (on the stack, where the sanitizer sees a byte written past it).
    ErrorText own;
    host.use({"--hang", "c"});
    EXPECT_FALSE(SendCommand(state.link, std::string(400, 'c').c_str(), own));
    EXPECT_EQ(std::strlen(own.text), kErrorTextBytes - 1);
    EXPECT_EQ(std::string(own.text).rfind("Failed to request 'ccc", 0), 0u);
}

TEST_F(Commands, InitPluginConnectsOrSaysTheHostIsInactive) {
    static int brushes = 0;
    const auto countBrush = [](HWND) { ++brushes; };
    PluginState fresh;
    host.reachable = false;
    EXPECT_FALSE(InitPlugin(fresh, nullptr, countBrush));
    // Without a connection an import sends nothing.
    EXPECT_FALSE(ImportImage(fresh, nullptr, 1, 0, error));
    EXPECT_TRUE(host.commands.empty());
    host.reachable = true;
    EXPECT_TRUE(InitPlugin(fresh, nullptr, countBrush));
    EXPECT_TRUE(fresh.initialised);
    EXPECT_EQ(brushes, 1);
    EXPECT_STREQ(error.text, "undefined error");
    EXPECT_EQ(logLines(),
              (std::vector<std::string>{"Kelvara is inactive!!", "Entering ImportImage()",
                                        "Error: plugin not initialized"}));
}
