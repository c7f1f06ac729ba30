#pragma once
// The projects the host starts with: the built-in sample, frames read from
// BMP files, or one blank project.
#include <string>

#include "host_model.h"
#include "host_options.h"

// `firstFilePath` is the first --open file as the host reports it (its full
// Windows path). False with `error` set when a file cannot be used.
bool buildStartModel(const HostOptions& options, const std::string& firstFilePath, HostModel& model,
                     std::string& error);

// The file part of a path: after the last backslash or slash.
std::string fileNameOf(const std::string& path);
