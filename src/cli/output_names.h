#pragma once
// Where marlune-cli writes: output patterns with {name}, {frame} and {turn},
// and the check that no two images get one name. Portable, UTF-8 paths.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Whether the pattern names only known fields and ends in ".png"; else false
// and why.
bool checkOutputPattern(std::string_view pattern, std::string& problem);
bool patternHasViewFields(std::string_view pattern);

// The input's file name without folder and extension: "art\knight.png" -> "knight".
std::string inputName(std::string_view input);

// The file one image of `input` goes to: `pattern` with its fields filled in
// (frame and turn from 1), or without a pattern "{name}_marlune.png" in the
// input's folder, with "_{frame}" when the input has several `frames` and
// "_{turn}" when there are several `turns` (a sheet has one of each).
std::string outputPath(const std::optional<std::string>& pattern, std::string_view input,
                       int frames, int turns, int frame, int turn);

// The first path that occurs twice, compared as Windows compares file names
// (ASCII letters in any case, '/' as '\'); empty when all differ.
std::string firstRepeatedPath(const std::vector<std::string>& paths);

// '*' any run of characters, '?' one, ASCII letters in any case.
bool wildcardMatch(std::string_view pattern, std::string_view name);
bool hasWildcards(std::string_view text);
