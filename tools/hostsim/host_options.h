#pragma once
// The stand-in host's command line: what it starts with, what it records, and
// the faults it can be told to show.
#include <string>
#include <vector>

#include "frame_dib.h"

struct ReplyOverride {
    std::string prefix;  // commands starting with this...
    std::string text;    // ...are answered with this instead
};

// --stale-clipboard: off, or the frame whose "SendFrame" leaves the clipboard alone.
inline constexpr int kNoStaleFrame = 0;

struct LateRule {
    std::string prefix;  // empty: every command
    int milliseconds = 0;
};

struct HostOptions {
    bool sample = false;
    std::vector<std::string> openFiles;
    std::string logFile;
    std::string dumpDir;
    std::vector<std::string> hangPrefixes;
    std::vector<ReplyOverride> replies;
    std::vector<ReplyOverride> refusals;  // --refuse and --new-id: answered, not carried out
    std::vector<std::string> noDataPrefixes;
    int staleFrame = kNoStaleFrame;
    // --claim-layers: 0 off, else the layer count every project claims to have.
    int claimedLayers = 0;
    // --new-frames: 0 off, else the frames "New" makes whatever it is asked for.
    int newFrames = 0;
    std::vector<LateRule> late;
    bool noCrlf = false;
    bool noRedraw = false;  // the window is not redrawn after each command
    int quitAfter = 0;      // 0: never
    DibShape dib;
};

// Parses the arguments after the program name. False with `error` set when an
// option is unknown, lacks its value or has a malformed one.
bool parseHostOptions(const std::vector<std::string>& args, HostOptions& options,
                      std::string& error);

// The usage text printed with an option error.
const char* hostUsage();

// True when `command` starts with `prefix`.
bool commandMatches(const std::string& command, const std::string& prefix);

// The reply as the client will read it: the first matching --reply text in
// place of the real one, then CR LF unless --no-crlf.
std::string shapeReply(const HostOptions& options, const std::string& command, std::string reply);

// The first matching --refuse (or --new-id) text, or null when `command` is to be carried out.
const std::string* refusalFor(const HostOptions& options, const std::string& command);
// Whether the request after `command` is answered with no data (--no-data).
bool withholdsReply(const HostOptions& options, const std::string& command);

// Whether the execute of `command` is never to be completed.
bool hangsOn(const HostOptions& options, const std::string& command);
// The delay before completing `command`, or -1 to complete it at once.
int lateDelayFor(const HostOptions& options, const std::string& command);
