#include "host_options.h"

#include "host_commands.h"

namespace {

// "CMD=VALUE" split at the first '='; false when there is none.
bool splitPair(const std::string& text, std::string& key, std::string& value) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) return false;
    key = text.substr(0, equals);
    value = text.substr(equals + 1);
    return true;
}

bool matchesAny(const std::vector<std::string>& prefixes, const std::string& command) {
    for (const std::string& prefix : prefixes) {
        if (commandMatches(command, prefix)) return true;
    }
    return false;
}

}  // namespace

const char* hostUsage() {
    return "usage: hostsim [--sample] [--open FILE.bmp ...] [--log FILE] [--dump DIR]\n"
           "               [--hang CMD] [--reply CMD=TEXT] [--no-crlf] [--late CMD=MS]\n"
           "               [--quit-after N] [--dib 1|4|24|32] [--truncate-dib]\n"
           "               [--new-id N] [--no-data CMD] [--refuse CMD=TEXT]\n"
           "               [--stale-clipboard FRAME] [--no-redraw]\n"
           "               [--claim-layers N] [--new-frames N]\n";
}

bool parseHostOptions(const std::vector<std::string>& args, HostOptions& options,
                      std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        const bool hasValue = i + 1 < args.size();
        auto needValue = [&]() {
            if (!hasValue) error = option + " needs a value";
            return hasValue;
        };
        auto readRule = [&](std::vector<ReplyOverride>& rules) {
            if (!needValue()) return false;
            ReplyOverride rule;
            if (!splitPair(args[++i], rule.prefix, rule.text) || rule.prefix.empty()) {
                error = option + " needs CMD=TEXT";
                return false;
            }
            rules.push_back(rule);
            return true;
        };
        if (option == "--sample") {
            options.sample = true;
        } else if (option == "--no-crlf") {
            options.noCrlf = true;
        } else if (option == "--no-redraw") {
            options.noRedraw = true;
        } else if (option == "--truncate-dib") {
            options.dib.truncated = true;
        } else if (option == "--open") {
            if (!needValue()) return false;
            // Every following argument that is not an option is one more frame.
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
                options.openFiles.push_back(args[++i]);
        } else if (option == "--log") {
            if (!needValue()) return false;
            options.logFile = args[++i];
        } else if (option == "--dump") {
            if (!needValue()) return false;
            options.dumpDir = args[++i];
        } else if (option == "--hang") {
            if (!needValue()) return false;
            options.hangPrefixes.push_back(args[++i]);
        } else if (option == "--reply") {
            if (!readRule(options.replies)) return false;
        } else if (option == "--refuse") {
            if (!readRule(options.refusals)) return false;
        } else if (option == "--new-id") {
            if (!needValue()) return false;
            int id = 0;
            if (!parseStrictInt(args[++i], id)) {
                error = "--new-id needs a number";
                return false;
            }
            // "New" answered with that id and not carried out: the host stays where it is.
            options.refusals.push_back({"New", std::to_string(id)});
        } else if (option == "--no-data") {
            if (!needValue()) return false;
            options.noDataPrefixes.push_back(args[++i]);
        } else if (option == "--stale-clipboard") {
            if (!needValue()) return false;
            if (!parseStrictInt(args[++i], options.staleFrame) || options.staleFrame < 1) {
                error = "--stale-clipboard needs a frame number (1 or more)";
                return false;
            }
        } else if (option == "--claim-layers" || option == "--new-frames") {
            if (!needValue()) return false;
            int& count = option == "--claim-layers" ? options.claimedLayers : options.newFrames;
            if (!parseStrictInt(args[++i], count) || count < 1) {
                error = option + " needs a count (1 or more)";
                return false;
            }
        } else if (option == "--late") {
            if (!needValue()) return false;
            LateRule rule;
            std::string ms;
            if (!splitPair(args[++i], rule.prefix, ms) || !parseStrictInt(ms, rule.milliseconds) ||
                rule.milliseconds < 0) {
                error = "--late needs CMD=MS with MS a number of milliseconds";
                return false;
            }
            options.late.push_back(rule);
        } else if (option == "--quit-after") {
            if (!needValue()) return false;
            if (!parseStrictInt(args[++i], options.quitAfter) || options.quitAfter < 1) {
                error = "--quit-after needs a positive number";
                return false;
            }
        } else if (option == "--dib") {
            if (!needValue()) return false;
            if (!parseStrictInt(args[++i], options.dib.bits) || !dibBitsAllowed(options.dib.bits)) {
                error = "--dib needs 1, 4, 8, 24 or 32";
                return false;
            }
        } else {
            error = "unknown option " + option;
            return false;
        }
    }
    if (options.sample && !options.openFiles.empty()) {
        error = "--sample and --open exclude each other";
        return false;
    }
    return true;
}

bool commandMatches(const std::string& command, const std::string& prefix) {
    return command.compare(0, prefix.size(), prefix) == 0;
}

std::string shapeReply(const HostOptions& options, const std::string& command, std::string reply) {
    for (const ReplyOverride& rule : options.replies) {
        if (commandMatches(command, rule.prefix)) {
            reply = rule.text;
            break;
        }
    }
    if (!options.noCrlf) reply += "\r\n";
    return reply;
}

bool hangsOn(const HostOptions& options, const std::string& command) {
    return matchesAny(options.hangPrefixes, command);
}

int lateDelayFor(const HostOptions& options, const std::string& command) {
    for (const LateRule& rule : options.late) {
        if (commandMatches(command, rule.prefix)) return rule.milliseconds;
    }
    return -1;
}

const std::string* refusalFor(const HostOptions& options, const std::string& command) {
    for (const ReplyOverride& rule : options.refusals) {
        if (commandMatches(command, rule.prefix)) return &rule.text;
    }
    return nullptr;
}

bool withholdsReply(const HostOptions& options, const std::string& command) {
    return matchesAny(options.noDataPrefixes, command);
}
