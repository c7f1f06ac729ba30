#pragma once
// The flow as text: the pass list, angle and wrap-around flag that the command
// line takes and the application saves and loads. A flow file is untrusted
// input: reading is bounded and refuses the whole text at its first fault.
#include <string>
#include <string_view>
#include <vector>

#include "passes/pass_chain.h"

// Far beyond any useful flow (every enlargement at least doubles the image);
// they keep a hostile file from costing time or memory.
constexpr std::size_t kMaxFlowPasses = 64;
constexpr std::size_t kMaxFlowTextBytes = 64 * 1024;
constexpr std::size_t kMaxFlowLineBytes = 4096;

struct Flow {
    std::vector<int> kinds;  // kind indices, as makePass takes them
    double angle = 0.0;      // degrees, 0..360
    bool wrap = false;
};

struct FlowProblem {
    int line = 0;  // 1-based; 0 when the fault is not on one line
    std::string message;
};

// "Scale2x, scale2x ,RotateUnzoom8x" -> kind indices. Names as in
// passKindNamesNarrow, any case, spaces around each; empty text is no pass.
// An unknown or empty name, or more than kMaxFlowPasses, gives false and a
// message (an unknown name's lists the valid ones); `kinds` is then untouched.
bool parsePassList(std::string_view text, std::vector<int>& kinds, std::string& message);

// Degrees from 0 to 360: digits, optionally a point and more digits, spaces
// around allowed. Anything else (signs, exponents, commas) gives false.
bool parseAngle(std::string_view text, double& degrees);

// The shortest text that parseAngle reads back as exactly `degrees` (0..360),
// in plain decimals: "45", "26.565".
std::string formatAngleText(double degrees);

// A whole flow file: UTF-8, an optional byte-order mark, blank lines,
// '#' comments (to the end of a line), and at most once each
// `passes = <list>`, `angle = <degrees>`, `wrap = on|off` (keys and on/off in
// any case). What a file leaves out keeps Flow's default. Anything else
// refuses the whole text: false, `flow` untouched, `problem` names the line.
bool readFlowText(std::string_view text, Flow& flow, FlowProblem& problem);

// Text that readFlowText reads back to the same Flow, angle to its last bit.
// Every kind must be a kind index (0 .. kPassKindCount - 1) and the angle 0..360.
std::string writeFlowText(const Flow& flow);

// Replaces the chain's passes and settings with the flow's, then evaluates
// once (when it has a source), redrawing `owner` once.
void applyFlow(PassChain& chain, HWND owner, const Flow& flow);
