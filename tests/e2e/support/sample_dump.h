#pragma once
// The stand-in host's sample project as it is before any command, the check
// that a run left it so, and images as the application computes them.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "e2e_files.h"
#include "passes/pass_chain.h"

inline constexpr int kSample = 1;  // the sample's project id

// The sample as the host holds it before any command (a dump of a host that
// was started and closed), read once.
const HostDump& pristineSample();
// The same packed DIB (size, palette, pixels) as the clipboard would carry.
testing::AssertionResult sameImage(const IndexedImage* actual, const IndexedImage& expected);
// Every frame and layer of the sample, its name and delays, as before the run.
void expectSampleUntouched(const HostDump& dump);
// `source` run through a flow of `kinds` at `degrees`, as the application
// computes it: the displayed image is the chain's.
std::unique_ptr<PassChain> runChain(const IndexedImage& source, const std::vector<int>& kinds,
                                    double degrees = 0, bool wrapAround = false);
