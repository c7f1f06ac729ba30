#pragma once
// The built-in sample: a knight walking in place over a small landscape, four
// frames of 48x48 on two layers (0: backdrop and shadow, 1: the knight).
#include "host_model.h"

inline constexpr int kSampleSide = 48;
inline constexpr int kSampleFrames = 4;

Project makeSampleProject();
