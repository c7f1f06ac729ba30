#pragma once
#include <cstddef>

#include "base/log.h"

// printf into a fixed buffer: never writes past capacity, always terminates.
// Returns false when the text had to be cut.
bool formatBounded(char* buffer, std::size_t capacity, const char* format, ...)
    MARLUNE_PRINTF(3, 4);

// Copies text into a fixed buffer, cut to fit and always terminated.
// Returns false when the text had to be cut.
bool copyBounded(char* buffer, std::size_t capacity, const char* text);
