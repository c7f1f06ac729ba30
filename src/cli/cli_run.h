#pragma once
// One marlune-cli run over inputs whose outputs are known and checked:
// each input read, run through the flow at each turn, and written.
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "flow/flow_text.h"

struct CliJob {
    std::string input;
    int frames = 1;
    std::vector<std::string> outputs;  // a sheet's one, or frame by frame, turn by turn
};

// Runs every job, printing progress (unless quiet) and a line per failed
// input on standard error. Returns the number of inputs that failed.
int runJobs(const std::vector<CliJob>& jobs, const Flow& flow, const CliOptions& options);
