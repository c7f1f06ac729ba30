// libFuzzer target: any bytes are read as a flow file. A text that is read
// gives kinds and an angle in range, and its written form reads back to the
// same flow; a refused one names a line of the text (or none) and says why.
#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "flow/flow_text.h"
#include "passes/pass_kinds.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Flow flow;
    FlowProblem problem;
    if (!readFlowText(text, flow, problem)) {
        const auto lines = std::count(text.begin(), text.end(), '\n') + 1;
        if (problem.message.empty() || problem.line < 0 || problem.line > lines) std::abort();
        return 0;
    }
    if (flow.kinds.size() > kMaxFlowPasses || !(flow.angle >= 0.0 && flow.angle <= 360.0)) {
        std::abort();
    }
    for (const int kind : flow.kinds) {
        if (kind < 0 || kind >= kPassKindCount) std::abort();
    }
    Flow back;
    if (!readFlowText(writeFlowText(flow), back, problem) || back.kinds != flow.kinds ||
        back.angle != flow.angle || back.wrap != flow.wrap) {
        std::abort();
    }
    return 0;
}
