#pragma once
// marlune-cli's command line, as parsed before any file is touched. Portable:
// arguments come in as UTF-8.
#include <optional>
#include <string>
#include <vector>

// The usage text --help prints.
extern const char* const kCliUsage;

struct CliOptions {
    std::optional<std::string> flow;      // -f: a pass list
    std::optional<std::string> flowFile;  // -F: a flow file's path
    std::optional<double> angle;          // -a
    bool wrap = false;                    // -w
    int turns = 0;                        // -t; 0 when not given
    bool sheet = false;
    std::optional<std::string> output;  // -o: the pattern
    bool list = false;
    bool quiet = false;
    bool help = false;
    std::vector<std::string> inputs;
};

// Parses the arguments after the program name. False with `message` (an
// "ERROR: ..." line) on bad usage: an unknown option, a missing or bad value
// (an unknown pass lists the valid ones), --turns outside 2..kMaxTurns, an
// output pattern with an unknown {field} or not ending in .png, {frame} or
// {turn} with --sheet, or no input. --help and --list need no input.
bool parseCliOptions(const std::vector<std::string>& arguments, CliOptions& options,
                     std::string& message);
