#pragma once
// The host's side of the conversation with the fault switches applied: what a
// completed execute does to the projects and the clipboard, and what the
// request after it reads. Portable: the DDE server runs it, and so does the
// link the unit tests put in place of DDEML.
#include <map>
#include <string>

#include "host_commands.h"
#include "host_options.h"

class HostSession {
  public:
    HostSession(HostModel& model, const HostOptions& options) : model_(model), options_(options) {}

    // Carries out a command whose execute is being completed: --refuse and
    // --new-id answer without carrying it out, --claim-layers answers the
    // layer commands with what it claims, --new-frames changes what "New"
    // makes, --stale-clipboard answers "SendFrame" for that frame without
    // touching the clipboard.
    void complete(const std::string& command, DibClipboard& clipboard);

    // What a request reads now (CR LF included unless --no-crlf), or null when
    // the last command's reply is withheld (--no-data).
    const std::string* reply() const { return withheld_ ? nullptr : &reply_; }
    int commandsDone() const { return done_; }
    // --quit-after has been reached.
    bool quitDue() const { return options_.quitAfter > 0 && done_ >= options_.quitAfter; }

  private:
    std::string carryOut(const std::string& command, DibClipboard& clipboard);
    std::string claimLayer(const Project& project);

    HostModel& model_;
    const HostOptions& options_;
    std::string reply_;
    bool withheld_ = false;
    int done_ = 0;
    std::map<int, int> claimedLayers_;  // by project id: layers answered, none made
};
