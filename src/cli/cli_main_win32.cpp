// marlune-cli: a flow, an angle and turn-tables over PNG, BMP and GIF files.
// Everything that can make the run bad usage (exit 2) is checked before the
// first file is written.
#include <windows.h>

#include <algorithm>

#include "base/com_ref.h"
#include "base/text_file.h"
#include "base/wide_text.h"
#include "base/win32_handles.h"
#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "cli/console_win32.h"
#include "cli/output_names.h"
#include "files/image_file.h"
#include "passes/pass_kinds.h"

namespace {

constexpr int kExitFailedInputs = 1;
constexpr int kExitUsage = 2;

// The flow file's text, refused past the reader's bound without reading on.
bool readFlowFile(const std::string& path, std::string& text, std::string& message) {
    switch (readWholeFile(wideFromUtf8(path), kMaxFlowTextBytes, text)) {
        case FileRead::Ok:
            return true;
        case FileRead::TooLarge:
            message = "ERROR: " + path + ": a flow file holds at most " +
                      std::to_string(kMaxFlowTextBytes) + " bytes; this one is longer";
            return false;
        case FileRead::Missing:
        case FileRead::Failed:
            break;
    }
    message = "ERROR: the flow file " + path + " cannot be read (error " +
              std::to_string(GetLastError()) + ")";
    return false;
}

// The flow file's settings, then the options' over them.
bool resolveFlow(const CliOptions& options, Flow& flow, std::string& message) {
    if (options.flowFile) {
        std::string text;
        FlowProblem problem;
        if (!readFlowFile(*options.flowFile, text, message)) return false;
        if (!readFlowText(text, flow, problem)) {
            const std::string where =
                problem.line > 0 ? " line " + std::to_string(problem.line) : "";
            message = "ERROR: " + *options.flowFile + where + ": " + problem.message;
            return false;
        }
    }
    if (options.flow) parsePassList(*options.flow, flow.kinds, message);
    if (options.angle) flow.angle = *options.angle;
    if (options.wrap) flow.wrap = true;
    return true;
}

// The files a wildcard input names, sorted; the input itself when it has none.
std::vector<std::string> expandInput(const std::string& input) {
    if (!hasWildcards(input)) return {input};
    const std::size_t slash = input.find_last_of("\\/:");
    const std::string folder = slash == std::string::npos ? "" : input.substr(0, slash + 1);
    const std::string pattern = input.substr(folder.size());
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    const FindHandle search(
        FindFirstFileW(wideFromUtf8((folder.empty() ? ".\\" : folder) + "*").c_str(), &entry));
    if (!search.isOpen()) return names;
    do {
        const std::string name = utf8FromWide(entry.cFileName);
        // Matched here, not by FindFirstFile, which also matches short 8.3 names.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            wildcardMatch(pattern, name)) {
            names.push_back(folder + name);
        }
    } while (FindNextFileW(search.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}

std::string fullPath(const std::string& path) {
    const std::wstring wide = wideFromUtf8(path);
    const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0) return path;
    std::wstring full(length, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), length, full.data(), nullptr));
    return utf8FromWide(full);
}

// Jobs for the inputs; inputs that cannot be read or match nothing are
// reported and counted in `failed`. False with `message` when two images would
// get one name or an output would overwrite an input.
bool planJobs(const CliOptions& options, std::vector<CliJob>& jobs, int& failed,
              std::string& message) {
    std::vector<std::string> inputs;
    for (const std::string& given : options.inputs) {
        const std::vector<std::string> files = expandInput(given);
        if (files.empty()) {
            writeError("ERROR: no file matches " + given + "\n");
            ++failed;
        }
        inputs.insert(inputs.end(), files.begin(), files.end());
    }
    const int turns = options.turns > 0 ? options.turns : 1;
    std::vector<std::string> outputs;
    std::vector<std::string> everyPath;
    for (const std::string& input : inputs) {
        unsigned frames = 1;
        std::string error;
        if (!readFrameCount(wideFromUtf8(input), frames, error)) {
            writeError(error + "\n");
            ++failed;
            continue;
        }
        CliJob job{input, static_cast<int>(frames), {}};
        if (options.sheet) {
            job.outputs.push_back(outputPath(options.output, input, 1, 1, 1, 1));
        } else {
            for (int frame = 1; frame <= job.frames; ++frame) {
                for (int k = 1; k <= turns; ++k) {
                    job.outputs.push_back(
                        outputPath(options.output, input, job.frames, turns, frame, k));
                }
            }
        }
        for (const std::string& output : job.outputs) outputs.push_back(fullPath(output));
        everyPath.push_back(fullPath(input));
        jobs.push_back(std::move(job));
    }
    const std::string repeated = firstRepeatedPath(outputs);
    if (!repeated.empty()) {
        message = "ERROR: the output pattern gives two images the name " + repeated +
                  " (add {frame} or {turn} to --output, or use --sheet)";
        return false;
    }
    everyPath.insert(everyPath.end(), outputs.begin(), outputs.end());
    const std::string overwritten = firstRepeatedPath(everyPath);
    if (!overwritten.empty()) {
        message = "ERROR: an output would overwrite the input " + overwritten;
        return false;
    }
    return true;
}

int run(const std::vector<std::string>& arguments) {
    CliOptions options;
    std::string message;
    if (arguments.empty()) {
        writeError(kCliUsage);
        return kExitUsage;
    }
    if (!parseCliOptions(arguments, options, message)) {
        writeError(message + "\n");
        return kExitUsage;
    }
    if (options.help) {
        writeOut(kCliUsage);
        return 0;
    }
    if (options.list) {
        for (int kind = 0; kind < kPassKindCount; ++kind) {
            writeOut(std::string(passKindNamesNarrow[kind]) + "\n");
        }
        return 0;
    }
    Flow flow;
    if (!resolveFlow(options, flow, message)) {
        writeError(message + "\n");
        return kExitUsage;
    }
    const ComInitialisation com;
    std::vector<CliJob> jobs;
    int failed = 0;
    if (!planJobs(options, jobs, failed, message)) {
        writeError(message + "\n");
        return kExitUsage;
    }
    failed += runJobs(jobs, flow, options);
    return failed > 0 ? kExitFailedInputs : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(utf8FromWide(argv[i]));
    return run(arguments);
}
