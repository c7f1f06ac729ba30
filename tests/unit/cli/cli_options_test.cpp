// marlune-cli's options: every form each option takes, the flow and angle
// checks it shares with the flow text, and each refusal's message.
#include <gtest/gtest.h>

#include "cli/cli_options.h"

namespace {

CliOptions parsed(const std::vector<std::string>& arguments) {
    CliOptions options;
    std::string message;
    EXPECT_TRUE(parseCliOptions(arguments, options, message)) << message;
    return options;
}

std::string refused(const std::vector<std::string>& arguments) {
    CliOptions options;
    std::string message;
    EXPECT_FALSE(parseCliOptions(arguments, options, message));
    EXPECT_EQ(message.rfind("ERROR: ", 0), 0u) << message;
    return message;
}

TEST(CliOptions, ShortLongAndEqualsFormsTakeTheirValues) {
    const CliOptions a = parsed({"-f", "scale2x,RotSprite", "-a", "26.565", "-w", "-t", "16",
                                 "--sheet", "-o", "out\\{name}.png", "-q", "a.png", "b*.gif"});
    EXPECT_EQ(a.flow, "scale2x,RotSprite");
    EXPECT_EQ(a.angle, 26.565);
    EXPECT_TRUE(a.wrap);
    EXPECT_EQ(a.turns, 16);
    EXPECT_TRUE(a.sheet);
    EXPECT_EQ(a.output, "out\\{name}.png");
    EXPECT_TRUE(a.quiet);
    EXPECT_EQ(a.inputs, (std::vector<std::string>{"a.png", "b*.gif"}));
    const CliOptions b = parsed({"--flow=Zoom2x", "--flow-file", "my.flow", "--angle=360",
                                 "--turns=64", "--output={name}_{turn}.png", "--", "-odd.png"});
    EXPECT_EQ(b.flow, "Zoom2x");
    EXPECT_EQ(b.flowFile, "my.flow");
    EXPECT_EQ(b.angle, 360.0);
    EXPECT_EQ(b.turns, 64);
    EXPECT_FALSE(b.wrap);
    EXPECT_FALSE(b.sheet);
    EXPECT_EQ(b.inputs, std::vector<std::string>{"-odd.png"});
    // Nothing given stays unset: the flow file's values hold.
    const CliOptions c = parsed({"-F", "x.flow", "-", "a.png"});
    EXPECT_FALSE(c.angle);
    EXPECT_FALSE(c.flow);
    EXPECT_EQ(c.turns, 0);
    EXPECT_EQ(c.inputs, (std::vector<std::string>{"-", "a.png"}));
    // Help and the kind list need no input.
    EXPECT_TRUE(parsed({"--help"}).help);
    EXPECT_TRUE(parsed({"-h"}).help);
    EXPECT_TRUE(parsed({"--list"}).list);
}

TEST(CliOptions, BadUsageIsRefusedWithWhatIsWrong) {
    const std::string unknownPass = refused({"-f", "Scale2x, Scale9x", "a.png"});
    EXPECT_NE(unknownPass.find("\"Scale9x\""), std::string::npos) << unknownPass;
    EXPECT_NE(unknownPass.find("Zoom2x, Zoom3x, Scale2x"), std::string::npos) << unknownPass;
    for (const char* angle : {"361", "-5", "1e2", "abc", "", "30,5"}) {
        const std::string message = refused({"-a", angle, "a.png"});
        EXPECT_NE(message.find("is not a number from 0 to 360"), std::string::npos) << message;
    }
    for (const char* turns : {"1", "65", "0", "2.5", "-3", "1000", "x"}) {
        const std::string message = refused({"-t", turns, "a.png"});
        EXPECT_NE(message.find("is not a whole number from 2 to 64"), std::string::npos) << message;
    }
    EXPECT_EQ(refused({"--frobnicate", "a.png"}),
              "ERROR: unknown option --frobnicate (see --help)");
    EXPECT_EQ(refused({"-x", "a.png"}), "ERROR: unknown option -x (see --help)");
    EXPECT_EQ(refused({"a.png", "-a"}), "ERROR: -a needs a value");
    EXPECT_EQ(refused({"--wrap=on", "a.png"}), "ERROR: --wrap takes no value");
    EXPECT_EQ(refused({"-q"}), "ERROR: no input files (see --help)");
    EXPECT_EQ(refused({}), "ERROR: no input files (see --help)");
    const std::string field = refused({"-o", "{name}_{angle}.png", "a.png"});
    EXPECT_NE(field.find("{angle}"), std::string::npos) << field;
    for (const char* pattern : {"{name}.bmp", ".png", "out\\.png", "{name}*.png", "x.png.txt"}) {
        const std::string message = refused({"-o", pattern, "a.png"});
        EXPECT_NE(message.find("must name a .png file"), std::string::npos) << message;
    }
    const std::string sheet = refused({"--sheet", "-o", "{name}_{turn}.png", "a.png"});
    EXPECT_NE(sheet.find("--sheet"), std::string::npos) << sheet;
    refused({"--sheet", "-o", "{name}_{frame}.png", "a.png"});
}

}  // namespace
