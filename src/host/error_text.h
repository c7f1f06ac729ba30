#pragma once
// The message buffer a caller hands to every host operation. It starts as
// "undefined error"; a failing operation may overwrite it with its reason.
#include <cstddef>

#include "base/log.h"

constexpr std::size_t kErrorTextBytes = 256;

struct ErrorText {
    ErrorText() { reset(); }
    // Back to "undefined error".
    void reset();
    // Overwrites the text from its start; cut to fit, always terminated.
    void set(const char* format, ...) MARLUNE_PRINTF(2, 3);

    char text[kErrorTextBytes];
};
