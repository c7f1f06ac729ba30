#include "host_options.h"

#include <gtest/gtest.h>

namespace {

bool parse(std::vector<std::string> args, HostOptions& options, std::string& error) {
    return parseHostOptions(args, options, error);
}

TEST(HostOptions, EveryOptionIsRead) {
    HostOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--open",
                       "a.bmp",
                       "b.bmp",
                       "--log",
                       "l.txt",
                       "--dump",
                       "out",
                       "--hang",
                       "SendFrame",
                       "--reply",
                       "GetCurrentFilename=x=y",
                       "--reply",
                       "New=-1",
                       "--no-crlf",
                       "--late",
                       "=250",
                       "--late",
                       "GotoFrame=12000",
                       "--quit-after",
                       "7",
                       "--dib",
                       "24",
                       "--truncate-dib"},
                      o, error))
        << error;
    EXPECT_FALSE(o.sample);
    EXPECT_EQ(o.openFiles, (std::vector<std::string>{"a.bmp", "b.bmp"}));
    EXPECT_EQ(o.logFile, "l.txt");
    EXPECT_EQ(o.dumpDir, "out");
    EXPECT_EQ(o.hangPrefixes, (std::vector<std::string>{"SendFrame"}));
    ASSERT_EQ(o.replies.size(), 2u);
    EXPECT_EQ(o.replies[0].prefix, "GetCurrentFilename");
    EXPECT_EQ(o.replies[0].text, "x=y");
    EXPECT_EQ(o.replies[1].text, "-1");
    EXPECT_TRUE(o.noCrlf);
    ASSERT_EQ(o.late.size(), 2u);
    EXPECT_EQ(o.late[0].prefix, "");
    EXPECT_EQ(o.late[0].milliseconds, 250);
    EXPECT_EQ(o.late[1].milliseconds, 12000);
    EXPECT_EQ(o.quitAfter, 7);
    EXPECT_EQ(o.dib.bits, 24);
    EXPECT_TRUE(o.dib.truncated);

    HostOptions plain;
    ASSERT_TRUE(parse({"--sample"}, plain, error));
    EXPECT_TRUE(plain.sample);
    EXPECT_EQ(plain.dib.bits, 8);
    EXPECT_EQ(plain.quitAfter, 0);
}

TEST(HostOptions, BadOptionsAreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},
        {"--log"},
        {"--open"},
        {"--reply", "NoEquals"},
        {"--reply", "=x"},
        {"--late", "Send"},
        {"--late", "Send=x"},
        {"--late", "Send=-5"},
        {"--quit-after", "0"},
        {"--quit-after", "two"},
        {"--dib", "16"},
        {"--dib"},
        {"--sample", "--open", "a.bmp"},
        {"sample"},
    };
    for (const auto& args : bad) {
        HostOptions o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

TEST(HostOptions, RepliesAreReplacedAndEndInCrLf) {
    HostOptions o;
    EXPECT_EQ(shapeReply(o, "GetFrameCount", "4"), "4\r\n");
    o.replies.push_back({"GetCurrent", "first"});
    o.replies.push_back({"GetCurrentFilename", "second"});
    EXPECT_EQ(shapeReply(o, "GetCurrentFilename", "x.png"), "first\r\n");  // the first match wins
    EXPECT_EQ(shapeReply(o, "GetFrameCount", "4"), "4\r\n");
    o.noCrlf = true;
    EXPECT_EQ(shapeReply(o, "GetCurrentDelay", "100"), "first");
    EXPECT_EQ(shapeReply(o, "SendFrame", "2"), "2");

    const std::string longText(300, 'n');
    HostOptions longReply;
    std::string error;
    ASSERT_TRUE(parse({"--reply", "GetCurrentFilename=" + longText}, longReply, error));
    EXPECT_EQ(shapeReply(longReply, "GetCurrentFilename", "none"), longText + "\r\n");
}

TEST(HostOptions, HangAndLateMatchByPrefix) {
    HostOptions o;
    o.hangPrefixes = {"SendFrame"};
    o.late = {{"GotoFrame", 500}, {"", 20}};
    EXPECT_TRUE(hangsOn(o, "SendFrame"));
    EXPECT_FALSE(hangsOn(o, "ReceiveFrame"));
    EXPECT_FALSE(hangsOn(o, "Send"));
    EXPECT_EQ(lateDelayFor(o, "GotoFrame(3)"), 500);
    EXPECT_EQ(lateDelayFor(o, "GetFrameCount"), 20);  // the empty prefix matches everything
    HostOptions none;
    EXPECT_EQ(lateDelayFor(none, "GotoFrame(3)"), -1);
    EXPECT_TRUE(commandMatches("New(1,2,3)", "New("));
    EXPECT_FALSE(commandMatches("Ne", "New"));
}

}  // namespace
