#pragma once
// marlune-cli.exe run from the test, in a folder of its own: its exit code
// and what it printed.
#include <string>
#include <vector>

struct CliResult {
    unsigned long exitCode = 0;
    std::string out;  // standard output, CR LF as LF
    std::string err;  // standard error, likewise
};

// Runs marlune-cli.exe (beside this program) with `arguments` (none may hold
// a double quote) in `folder`.
CliResult runCli(const std::string& folder, const std::vector<std::string>& arguments);

// The names of the files in `folder`, sorted (the CLI benchmark's inputs).
std::vector<std::string> filesIn(const std::string& folder);
