#include "cli_process.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "e2e_files.h"
#include "host_sim_process.h"

namespace {

constexpr DWORD kRunLimitMs = 120000;

// An inheritable handle on a new file, for a child's output.
HANDLE outputFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string textOf(const std::string& path) {
    std::string text = fileText(path);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

}  // namespace

CliResult runCli(const std::string& folder, const std::vector<std::string>& arguments) {
    const TempFolder logs;
    const std::string program = programFolder() + "marlune-cli.exe";
    std::string commandLine = '"' + program + '"';
    for (const std::string& argument : arguments) commandLine += " \"" + argument + '"';
    const HANDLE out = outputFile(logs.file("out.txt"));
    const HANDLE err = outputFile(logs.file("err.txt"));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    CliResult result;
    result.exitCode = 9999;
    if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       folder.c_str(), &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, kRunLimitMs) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 9998);
        }
        GetExitCodeProcess(process.hProcess, &result.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    result.out = textOf(logs.file("out.txt"));
    result.err = textOf(logs.file("err.txt"));
    return result;
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
