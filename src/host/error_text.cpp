#include "host/error_text.h"

#include <cstdarg>
#include <cstdio>

#include "base/bounded_format.h"

void ErrorText::reset() {
    copyBounded(text, sizeof text, "undefined error");
}

void ErrorText::set(const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (std::vsnprintf(text, sizeof text, format, args) < 0) text[0] = '\0';
    va_end(args);
    text[sizeof text - 1] = '\0';
}
