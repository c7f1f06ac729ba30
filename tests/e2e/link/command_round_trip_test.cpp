// Every host command through the command layer and the real DDE link, against
// the stand-in host with its sample project; the host's log must hold exactly
// the commands sent, and its dump the frame handed over.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e_files.h"
#include "host/clipboard.h"
#include "host/commands.h"
#include "host/plugin_state.h"
#include "host_sim_process.h"
#include "link_session.h"

namespace {

int queryNumber(HostLink& link, const char* command, std::vector<std::string>& sent) {
    ErrorText error;
    int value = -12345;
    EXPECT_TRUE(QueryNumber(link, command, value, error)) << command << ": " << error.text;
    sent.emplace_back(command);
    return value;
}

std::string queryText(HostLink& link, const char* command, std::vector<std::string>& sent) {
    ErrorText error;
    char text[kTextReplyCapacity + 1] = "untouched";
    EXPECT_TRUE(QueryText(link, command, text, error)) << command << ": " << error.text;
    sent.emplace_back(command);
    return text;
}

TEST(CommandRoundTrip, EveryCommandReachesTheHostAndItsReplyComesBack) {
    TempFolder folder;
    const std::string dumpFolder = folder.file("dump");
    ASSERT_TRUE(CreateDirectoryA(dumpFolder.c_str(), nullptr));
    HostSimProcess host({"--sample", "--log", folder.file("commands.log"), "--dump", dumpFolder});
    ASSERT_TRUE(host.serving()) << host.problem();
    LinkSession session;
    ASSERT_TRUE(session.connected);
    HostLink& link = session.link;
    std::vector<std::string> sent;
    ErrorText error;

    const int project = queryNumber(link, "GetCurrentProject", sent);
    ASSERT_GE(project, 1);
    const int frames = queryNumber(link, "GetFrameCount", sent);
    const int layers = queryNumber(link, "GetNumberOfLayers", sent);
    ASSERT_GE(frames, 1);
    ASSERT_GE(layers, 1);

    EXPECT_TRUE(SwitchFrame(link, frames, error)) << error.text;
    sent.push_back("GotoFrame(" + std::to_string(frames) + ")");
    EXPECT_EQ(queryNumber(link, "GetDisplayFrameNumber", sent), frames);
    EXPECT_TRUE(SwitchLayer(link, layers - 1, error)) << error.text;
    sent.push_back("SelectLayer(" + std::to_string(layers - 1) + ")");
    EXPECT_EQ(queryNumber(link, "GetActiveLayerNumber", sent), layers - 1);

    EXPECT_EQ(queryNumber(link, "SendFrame", sent), frames);
    const ClipboardImage grabbed = readClipboardImage(nullptr);
    ASSERT_EQ(grabbed.status, ClipboardRead::Ok) << (grabbed.problem ? grabbed.problem : "");
    EXPECT_TRUE(grabbed.image->valid);
    EXPECT_GT(grabbed.image->width, 0);
    EXPECT_GT(grabbed.image->height, 0);

    EXPECT_FALSE(queryText(link, "GetProjectFilePath", sent).empty());
    EXPECT_FALSE(queryText(link, "GetCurrentFilename", sent).empty());

    // A project of 2 frames, 5 x 3, one layer; then a second layer.
    const int created = queryNumber(link, "New(2,5,3)", sent);
    EXPECT_GT(created, 0);
    EXPECT_NE(created, project);
    EXPECT_EQ(queryNumber(link, "GetCurrentProject", sent), created);
    EXPECT_EQ(queryNumber(link, "GetFrameCount", sent), 2);
    EXPECT_EQ(queryNumber(link, "GetNumberOfLayers", sent), 1);
    EXPECT_EQ(queryNumber(link, "AddAnimationLayer", sent), 1);
    EXPECT_EQ(queryNumber(link, "GetNumberOfLayers", sent), 2);
    EXPECT_EQ(queryNumber(link, "SetCurrentDelay(70)", sent), 70);
    EXPECT_EQ(queryNumber(link, "GetCurrentDelay", sent), 70);
    EXPECT_TRUE(SendCommand(link, "SetCurrentFilename(grab_Marlune_4)", error)) << error.text;
    sent.emplace_back("SetCurrentFilename(grab_Marlune_4)");
    EXPECT_EQ(queryText(link, "GetCurrentFilename", sent), "grab_Marlune_4");

    // Frame 2, layer 1 of the new project receives a 5 x 3 image.
    EXPECT_TRUE(SwitchFrame(link, 2, error)) << error.text;
    sent.emplace_back("GotoFrame(2)");
    EXPECT_TRUE(SwitchLayer(link, 1, error)) << error.text;
    sent.emplace_back("SelectLayer(1)");
    IndexedImage handed(nullptr, 5, 3, grabbed.image->palette());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) handed.row(y)[x] = static_cast<std::uint8_t>(10 * y + x + 1);
    ASSERT_TRUE(PutImageOnClipboard(handed, nullptr));
    EXPECT_TRUE(HostExecute(link, kImageServerItem, "ReceiveFrame"));
    char receiveReply[kTextReplyCapacity + 1];
    EXPECT_TRUE(HostRequest(link, kImageServerItem, receiveReply, kTextReplyCapacity));
    sent.emplace_back("ReceiveFrame");

    testing::internal::CaptureStdout();
    EXPECT_TRUE(SwitchProject(link, project, error)) << error.text;
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ret_project = " + std::to_string(project) + "\n");
    sent.push_back("SetCurrentProject(" + std::to_string(project) + ")");

    HostDisconnect(link);
    ASSERT_TRUE(host.stop());
    EXPECT_EQ(readLines(folder.file("commands.log")), sent);
    const HostDump dump = readDump(dumpFolder);
    const IndexedImage* received = dump.layer(created, 2, 1);
    ASSERT_NE(received, nullptr);
    ASSERT_TRUE(received->valid);
    ASSERT_EQ(received->width, 5);
    ASSERT_EQ(received->height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(received->row(y)[x], handed.row(y)[x]) << x << "," << y;
    // The other layer of that frame stayed blank.
    const IndexedImage* untouched = dump.layer(created, 2, 0);
    ASSERT_NE(untouched, nullptr);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(untouched->row(y)[x], 0) << x << "," << y;
}

TEST(CommandRoundTrip, SwitchesFailWithTheirMessageWhenTheHostAnswersAnotherNumber) {
    HostSimProcess host({"--sample", "--reply", "GotoFrame=2", "--reply", "SelectLayer=0x",
                         "--reply", "SetCurrentProject=7"});
    ASSERT_TRUE(host.serving()) << host.problem();
    LinkSession session;
    ASSERT_TRUE(session.connected);

    ErrorText error;
    EXPECT_FALSE(SwitchFrame(session.link, 3, error));
    EXPECT_STREQ(error.text, "Failed to switch to frame '3' in Kelvara!\n");
    // The same answer is right for the number it names.
    error.reset();
    EXPECT_TRUE(SwitchFrame(session.link, 2, error));
    EXPECT_STREQ(error.text, "undefined error");

    EXPECT_FALSE(SwitchLayer(session.link, 1, error));
    EXPECT_STREQ(error.text, "Failed to switch to layer '1' in Kelvara!\n");
    // "0x" reads as 0: leading digits count.
    error.reset();
    EXPECT_TRUE(SwitchLayer(session.link, 0, error)) << error.text;

    testing::internal::CaptureStdout();
    EXPECT_FALSE(SwitchProject(session.link, 1, error));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ret_project = 7\n");
    EXPECT_STREQ(error.text, "Failed to switch to project '1' in Kelvara!\n");
}

TEST(CommandRoundTrip, InitPluginConnectsAndBuildsTheBrushOnce) {
    HostSimProcess host({"--sample"});
    ASSERT_TRUE(host.serving()) << host.problem();
    static int brushes = 0;
    brushes = 0;
    PluginState state;
    EXPECT_TRUE(InitPlugin(state, nullptr, [](HWND) { ++brushes; }));
    EXPECT_TRUE(state.initialised);
    EXPECT_EQ(brushes, 1);
    EXPECT_NE(state.link.conversation, nullptr);
    ErrorText error;
    int project = 0;
    EXPECT_TRUE(QueryNumber(state.link, "GetCurrentProject", project, error));
    EXPECT_GE(project, 1);
    HostDisconnect(state.link);
    EXPECT_EQ(state.link.instance, 0u);
}

}  // namespace
