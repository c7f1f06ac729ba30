#pragma once
// The pass kinds, by the index the pass manager's kind selector hands over.
#include <memory>

#include "passes/pass.h"

constexpr int kPassKindCount = 13;

// "Zoom2x" .. "MMPX2x" by kind index, then "END" (the pass list's last entry).
extern const wchar_t* const passKindNames[kPassKindCount + 1];
// The same names in 8-bit characters, for logs and tools.
extern const char* const passKindNamesNarrow[kPassKindCount + 1];

// A new pass of the kind, or null when the index is not 0..kPassKindCount - 1.
// Rotation passes read `settings`, which must outlive them.
std::unique_ptr<Pass> makePass(int kind, const PassSettings& settings);
