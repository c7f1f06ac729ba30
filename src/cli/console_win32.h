#pragma once
// Text to the console: UTF-8 shown as such on a console, written as UTF-8
// bytes to a file or pipe.
#include <string>

void writeOut(const std::string& text);
void writeError(const std::string& text);
