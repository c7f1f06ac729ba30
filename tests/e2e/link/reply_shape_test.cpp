// What a request makes of the host's reply text: only a trailing CR LF goes,
// and a long reply is cut to the capacity.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "host/commands.h"
#include "host_sim_process.h"
#include "link_session.h"

namespace {

std::string pattern(std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
    return text;
}

TEST(ReplyShape, TrailingCrLfIsCutAndNothingElse) {
    HostSimProcess host({"--sample", "--reply", "GetCurrentProject=42", "--reply",
                         "GetFrameCount=5", "--reply", "GetCurrentFilename=a\r\nb", "--reply",
                         "GetProjectFilePath= x\r", "--reply", "GetActiveLayerNumber="});
    ASSERT_TRUE(host.serving()) << host.problem();
    LinkSession session;
    ASSERT_TRUE(session.connected);

    EXPECT_EQ(executeAndRead(session.link, "GetCurrentProject"), "42");
    EXPECT_EQ(executeAndRead(session.link, "GetFrameCount"), "5");
    EXPECT_EQ(executeAndRead(session.link, "GetCurrentFilename"), "a\r\nb");
    // " x\r" + CR LF: the CR LF goes, the reply's own CR stays.
    EXPECT_EQ(executeAndRead(session.link, "GetProjectFilePath"), " x\r");
    EXPECT_EQ(executeAndRead(session.link, "GetActiveLayerNumber"), "");
}

TEST(ReplyShape, WithoutLineEndsRepliesArriveUnchanged) {
    HostSimProcess host({"--sample", "--no-crlf", "--reply", "GetCurrentProject=42", "--reply",
                         "GetFrameCount=5", "--reply", "GetCurrentFilename=ab\r"});
    ASSERT_TRUE(host.serving()) << host.problem();
    LinkSession session;
    ASSERT_TRUE(session.connected);

    EXPECT_EQ(executeAndRead(session.link, "GetCurrentProject"), "42");
    EXPECT_EQ(executeAndRead(session.link, "GetFrameCount"), "5");
    // A CR that is not followed by anything is the last character, not the one before it.
    EXPECT_EQ(executeAndRead(session.link, "GetCurrentFilename"), "ab\r");
}

TEST(ReplyShape, ALongReplyIsCutToTheCapacityAndTerminated) {
    const std::string longName = pattern(300);
    HostSimProcess host({"--sample", "--reply", "GetCurrentFilename=" + longName});
    ASSERT_TRUE(host.serving()) << host.problem();
    LinkSession session;
    ASSERT_TRUE(session.connected);

    ASSERT_TRUE(HostExecute(session.link, kImageServerItem, "GetCurrentFilename"));
    char buffer[kTextReplyCapacity + 8];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    ASSERT_TRUE(HostRequest(session.link, kImageServerItem, buffer, kTextReplyCapacity));
    EXPECT_EQ(buffer[kTextReplyCapacity], '\0');
    EXPECT_EQ(std::string(buffer), longName.substr(0, kTextReplyCapacity));
    EXPECT_EQ(buffer[kTextReplyCapacity + 1], '#') << "nothing written past the terminator";

    // The same through the command layer.
    ErrorText error;
    char text[kTextReplyCapacity + 1];
    ASSERT_TRUE(QueryText(session.link, "GetCurrentFilename", text, error));
    EXPECT_EQ(std::string(text), longName.substr(0, kTextReplyCapacity));

    // A small capacity cuts the same way.
    ASSERT_TRUE(HostExecute(session.link, kImageServerItem, "GetCurrentFilename"));
    char small[4];
    ASSERT_TRUE(HostRequest(session.link, kImageServerItem, small, 3));
    EXPECT_STREQ(small, "abc");
}

TEST(ReplyShape, NumericQueriesReadLeadingDigits) {
    HostSimProcess host(
        {"--sample", "--reply", "GetFrameCount=12abc", "--reply", "GetNumberOfLayers=none"});
    ASSERT_TRUE(host.serving()) << host.problem();
    LinkSession session;
    ASSERT_TRUE(session.connected);

    ErrorText error;
    int value = -1;
    EXPECT_TRUE(QueryNumber(session.link, "GetFrameCount", value, error));
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(QueryNumber(session.link, "GetNumberOfLayers", value, error));
    EXPECT_EQ(value, 0);
}

}  // namespace
