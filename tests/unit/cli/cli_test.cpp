// marlune-cli's options in each form they take, and the names a pattern makes
// where its own words could be read as fields. (Refusals, default names,
// wildcards and sheets are proven end to end under Wine.)
#include <gtest/gtest.h>

#include "cli/cli_options.h"
#include "cli/output_names.h"

namespace {

TEST(Cli, OptionsTakeTheirValuesInEveryForm) {
    CliOptions o;
    std::string message;
    ASSERT_TRUE(parseCliOptions({"--flow=Zoom2x", "-F", "f.flow", "--angle=360", "-w", "-t", "64",
                                 "--sheet", "-q", "a.png", "--", "-b.gif"},
                                o, message))
        << message;
    EXPECT_EQ(o.flow, "Zoom2x");
    EXPECT_EQ(o.flowFile, "f.flow");
    EXPECT_EQ(o.angle, 360.0);
    EXPECT_TRUE(o.wrap && o.sheet && o.quiet && !o.output);
    EXPECT_EQ(o.turns, 64);
    EXPECT_EQ(o.inputs, (std::vector<std::string>{"a.png", "-b.gif"}));
    ASSERT_TRUE(parseCliOptions({"-", "-o", "o\\{name}_{turn}.PNG", "x.bmp"}, o, message));
    EXPECT_FALSE(o.angle || o.flow || o.wrap);  // unset: a flow file's values hold
    EXPECT_EQ(o.inputs, (std::vector<std::string>{"-", "x.bmp"}));
    for (const auto& bad : std::vector<std::vector<std::string>>{{"-t", "2.5", "a.png"},
                                                                 {"--wrap=on", "a.png"},
                                                                 {"a.png", "-a"},
                                                                 {"-o", "{name}.bmp", "a.png"},
                                                                 {"-o", "*.png", "a.png"}}) {
        EXPECT_FALSE(parseCliOptions(bad, o, message)) << bad[0] << " " << bad[1];
    }
    // A field's value is not read as a pattern again.
    EXPECT_EQ(outputPath(std::string("{name}.png"), "x\\{turn}.png", 1, 2, 1, 2), "{turn}.png");
    EXPECT_EQ(outputPath(std::nullopt, "C:knight", 1, 8, 1, 3), "C:knight_marlune_3.png");
}

}  // namespace
