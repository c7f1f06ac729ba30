// What a request makes of the host's reply text, seen only through the real
// link: a trailing CR LF goes and nothing else, a long reply is cut to the
// capacity and terminated, and nothing is written past the terminator.
#include <gtest/gtest.h>

#include <string>

#include "host/host_link.h"
#include "host_sim_process.h"

namespace {

struct Shape {
    const char* command;
    std::size_t capacity;
    std::string expected;
};

TEST(ReplyShape, OnlyATrailingCrLfIsCutAndLongRepliesAreCutToTheCapacity) {
    std::string longReply;
    for (int i = 0; i < 300; ++i) longReply += static_cast<char>('a' + i % 26);
    HostSimProcess host({"--reply", "GetCurrentProject=42", "--reply", "GetCurrentFilename=a\r\nb",
                         "--reply", "GetProjectFilePath= x\r", "--reply",
                         "GetActiveLayerNumber=", "--reply", "GetFrameCount=" + longReply});
    ASSERT_TRUE(host.serving()) << host.problem();
    HostLink link;
    ASSERT_TRUE(HostConnect(link, kHostService, kHostTopic));
    // The host ends every reply in CR LF; cut to a capacity, the reply has none.
    for (const Shape& shape :
         {Shape{"GetCurrentProject", 256, "42"}, Shape{"GetCurrentFilename", 256, "a\r\nb"},
          Shape{"GetProjectFilePath", 256, " x\r"},  // its own CR stays
          Shape{"GetActiveLayerNumber", 256, ""},
          Shape{"GetFrameCount", 256, longReply.substr(0, 256)}, Shape{"GetFrameCount", 3, "abc"},
          Shape{"GetFrameCount", 1, "a"}}) {
        ASSERT_TRUE(HostExecute(link, kImageServerItem, shape.command)) << shape.command;
        std::string buffer(shape.capacity + 2, '#');
        EXPECT_TRUE(HostRequest(link, kImageServerItem, buffer.data(), shape.capacity));
        EXPECT_EQ(buffer.c_str(), shape.expected) << shape.command << " " << shape.capacity;
        EXPECT_EQ(buffer.back(), '#') << "written past the terminator";
    }
    HostDisconnect(link);
}

}  // namespace
