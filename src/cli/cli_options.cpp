#include "cli/cli_options.h"

#include "cli/output_names.h"
#include "flow/flow_text.h"
#include "host/turn_table.h"

const char* const kCliUsage =
    "marlune-cli [options] INPUT...\n"
    "  -f, --flow TEXT       pass kinds separated by commas, named as in the kind list\n"
    "                        (\"Scale2x, Scale2x, Scale2x, RotateUnzoom8x\"), case-insensitive\n"
    "  -F, --flow-file FILE  a flow file (below)\n"
    "  -a, --angle DEG       rotation angle, 0..360, decimals allowed (default 0)\n"
    "  -w, --wrap            wrap around\n"
    "  -t, --turns N         N views of each image at angle + (k-1)*360/N, k = 1..N (2..64)\n"
    "      --sheet           one PNG per input: views left to right, GIF frames top to bottom\n"
    "  -o, --output PATTERN  {name} input name without extension, {frame} GIF frame (1-based),\n"
    "                        {turn} view (1-based); default \"{name}_marlune.png\" beside the "
    "input\n"
    "                        (\"_{frame}\", \"_{turn}\" added before \".png\" where there are "
    "several)\n"
    "      --list            print the pass kinds, one a line\n"
    "  -q, --quiet           no progress lines\n"
    "  -h, --help\n"
    "\n"
    "INPUT: PNG, BMP or GIF files; wildcards (sprites\\*.png) are expanded.\n"
    "Flow file: UTF-8 text, '#' comments, lines \"passes = Scale2x, RotateUnzoom8x\",\n"
    "\"angle = 26.565\", \"wrap = on|off\". Options given here override the file's.\n"
    "Exit code: 0 everything written, 1 some inputs failed, 2 bad usage (nothing written).\n";

namespace {

struct OptionForm {
    const char* shortName;  // null when there is none
    const char* longName;
    bool takesValue;
};

constexpr OptionForm kOptions[] = {
    {"-f", "--flow", true},   {"-F", "--flow-file", true}, {"-a", "--angle", true},
    {"-w", "--wrap", false},  {"-t", "--turns", true},     {nullptr, "--sheet", false},
    {"-o", "--output", true}, {nullptr, "--list", false},  {"-q", "--quiet", false},
    {"-h", "--help", false},
};

const OptionForm* optionNamed(const std::string& name) {
    for (const OptionForm& option : kOptions) {
        if ((option.shortName != nullptr && name == option.shortName) || name == option.longName) {
            return &option;
        }
    }
    return nullptr;
}

bool fail(std::string& message, const std::string& text) {
    message = "ERROR: " + text;
    return false;
}

bool parseTurns(const std::string& text, int& turns) {
    if (text.empty() || text.size() > 3) return false;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 2 || value > kMaxTurns) return false;
    turns = value;
    return true;
}

// Stores one option's value; false with the message when it is bad.
bool take(const OptionForm& option, const std::string& value, CliOptions& options,
          std::string& message) {
    const std::string name = option.longName;
    if (name == "--flow") {
        std::vector<int> kinds;
        std::string problem;
        if (!parsePassList(value, kinds, problem)) return fail(message, "--flow: " + problem);
        options.flow = value;
    } else if (name == "--flow-file") {
        options.flowFile = value;
    } else if (name == "--angle") {
        double degrees = 0.0;
        if (!parseAngle(value, degrees)) {
            return fail(message, "--angle \"" + value + "\" is not a number from 0 to 360");
        }
        options.angle = degrees;
    } else if (name == "--turns") {
        if (!parseTurns(value, options.turns)) {
            return fail(message, "--turns \"" + value + "\" is not a whole number from 2 to " +
                                     std::to_string(kMaxTurns));
        }
    } else if (name == "--output") {
        std::string problem;
        if (!checkOutputPattern(value, problem)) return fail(message, "--output: " + problem);
        options.output = value;
    }
    return true;
}

void setFlag(const OptionForm& option, CliOptions& options) {
    const std::string name = option.longName;
    if (name == "--wrap") options.wrap = true;
    if (name == "--sheet") options.sheet = true;
    if (name == "--list") options.list = true;
    if (name == "--quiet") options.quiet = true;
    if (name == "--help") options.help = true;
}

}  // namespace

bool parseCliOptions(const std::vector<std::string>& arguments, CliOptions& options,
                     std::string& message) {
    options = {};
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            options.inputs.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        // "--angle=30" as well as "--angle 30".
        const std::size_t equals =
            argument.rfind("--", 0) == 0 ? argument.find('=') : std::string::npos;
        const std::string name = argument.substr(0, equals);
        const OptionForm* option = optionNamed(name);
        if (option == nullptr) return fail(message, "unknown option " + name + " (see --help)");
        if (!option->takesValue) {
            if (equals != std::string::npos) return fail(message, name + " takes no value");
            setFlag(*option, options);
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return fail(message, name + " needs a value");
        }
        if (!take(*option, value, options, message)) return false;
    }
    if (options.help || options.list) return true;
    if (options.sheet && options.output && patternHasViewFields(*options.output)) {
        return fail(message,
                    "--sheet writes one file per input: its --output pattern takes "
                    "no {frame} or {turn}");
    }
    if (options.inputs.empty()) return fail(message, "no input files (see --help)");
    return true;
}
