#pragma once
// --dump: every project written to a folder when the host exits, as
// p<id>_f<frame>_l<layer>.bmp (8-bit BMP) and p<id>.txt (its description).
#include <string>

#include "host_model.h"

// The text of p<id>.txt: name=, path=, frames=, layers=, width=, height=, delays=.
std::string projectDescription(const Project& project);

// Writes every project; false with `error` set when a file cannot be written.
bool writeDump(const HostModel& model, const std::string& folder, std::string& error);
