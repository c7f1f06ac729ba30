#include "base/bounded_format.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

bool formatBounded(char* buffer, std::size_t capacity, const char* format, ...) {
    if (capacity == 0) return false;
    va_list args;
    va_start(args, format);
    const int needed = std::vsnprintf(buffer, capacity, format, args);
    va_end(args);
    buffer[capacity - 1] = '\0';
    if (needed < 0) {
        buffer[0] = '\0';
        return false;
    }
    return static_cast<std::size_t>(needed) < capacity;
}

bool copyBounded(char* buffer, std::size_t capacity, const char* text) {
    if (capacity == 0) return false;
    const std::size_t length = std::strlen(text);
    const std::size_t n = length < capacity ? length : capacity - 1;
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
    return n == length;
}
