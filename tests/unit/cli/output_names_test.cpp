// Where images go: patterns and their fields, the default beside the input,
// repeated names as Windows compares them, and wildcard matching.
#include <gtest/gtest.h>

#include "cli/output_names.h"

namespace {

TEST(OutputNames, PatternFieldsAndTheDefaultBesideTheInput) {
    EXPECT_EQ(inputName("art\\knight.png"), "knight");
    EXPECT_EQ(inputName("C:/art/knight.walk.gif"), "knight.walk");
    EXPECT_EQ(inputName("D:knight"), "knight");
    EXPECT_EQ(inputName(".hidden"), ".hidden");
    const std::optional<std::string> pattern = "out\\{name}-{frame}-{turn}-{name}.png";
    EXPECT_EQ(outputPath(pattern, "art\\knight.gif", 3, 8, 2, 7), "out\\knight-2-7-knight.png");
    // A field's value is not read as a pattern again.
    EXPECT_EQ(outputPath(std::string("{name}.png"), "x\\{turn}.png", 1, 2, 1, 2), "{turn}.png");
    const std::optional<std::string> none;
    EXPECT_EQ(outputPath(none, "art\\knight.png", 1, 1, 1, 1), "art\\knight_marlune.png");
    EXPECT_EQ(outputPath(none, "knight.png", 1, 8, 1, 3), "knight_marlune_3.png");
    EXPECT_EQ(outputPath(none, "a/walk.gif", 4, 1, 2, 1), "a/walk_marlune_2.png");
    EXPECT_EQ(outputPath(none, "a/walk.gif", 4, 16, 4, 16), "a/walk_marlune_4_16.png");
    // A sheet asks for one name.
    EXPECT_EQ(outputPath(none, "a/walk.gif", 1, 1, 1, 1), "a/walk_marlune.png");
}

TEST(OutputNames, CheckedPatterns) {
    std::string problem;
    EXPECT_TRUE(checkOutputPattern("out\\{name}_{frame}_{turn}.PNG", problem));
    EXPECT_TRUE(checkOutputPattern("sheet.png", problem));
    EXPECT_FALSE(checkOutputPattern("{name}_{Turn}.png", problem));
    EXPECT_EQ(problem,
              "\"{name}_{Turn}.png\" holds {Turn}; the fields are {name}, {frame} and {turn}");
    EXPECT_FALSE(checkOutputPattern("{name.png", problem));
    EXPECT_FALSE(checkOutputPattern("{name}", problem));
    EXPECT_TRUE(patternHasViewFields("a{turn}.png"));
    EXPECT_TRUE(patternHasViewFields("a{frame}.png"));
    EXPECT_FALSE(patternHasViewFields("{name}.png"));
}

TEST(OutputNames, RepeatedPathsAsWindowsComparesThem) {
    EXPECT_EQ(firstRepeatedPath({"a.png", "b.png", "c.png"}), "");
    EXPECT_EQ(firstRepeatedPath({"out\\Knight.png", "x.png", "OUT/knight.PNG"}), "OUT/knight.PNG");
    EXPECT_EQ(firstRepeatedPath({}), "");
}

TEST(OutputNames, WildcardsMatchAsTheShellWould) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"*.png", "knight.png", true},
        {"*.png", "knight.PNG", true},
        {"*.png", "knight.pngx", false},
        {"*.png", ".png", true},
        {"k?ight*", "knight_2.gif", true},
        {"k?ight", "kight", false},
        {"*a*b*c", "xaybzc", true},
        {"*a*b*c", "xaybzcd", false},
        {"**", "", true},
        {"?", "", false},
        {"a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaa", false},
    };
    for (const auto& [pattern, name, expected] : cases) {
        EXPECT_EQ(wildcardMatch(pattern, name), expected) << pattern << " " << name;
    }
    EXPECT_TRUE(hasWildcards("sprites\\*.png"));
    EXPECT_TRUE(hasWildcards("a?.png"));
    EXPECT_FALSE(hasWildcards("sprites\\a.png"));
}

}  // namespace
