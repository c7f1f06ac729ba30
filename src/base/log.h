#pragma once
// Diagnostic lines go to standard output, flushed at once so that they survive
// a crash and interleave correctly with the host's own output under Wine.

#if defined(__clang__)
#define MARLUNE_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#elif defined(__GNUC__)
#define MARLUNE_PRINTF(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#else
#define MARLUNE_PRINTF(fmt, args)
#endif

// Writes the text followed by a newline.
void logLine(const char* text);
// Writes the formatted text as it stands (most formats end in "\n" themselves).
void logFormat(const char* format, ...) MARLUNE_PRINTF(1, 2);
