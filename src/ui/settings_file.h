#pragma once
// Where the settings live, %APPDATA%\Marlune\settings.ini, and loading and
// saving them. APPDATA is read from the environment, so each run can be given
// a folder of its own.
#include <string>

#include "ui/settings.h"

// Empty when there is no application-data folder.
std::wstring settingsFilePath();

// The settings in the file: defaults when it is missing; for a damaged file
// the defaults for what is bad and one log line. A recent flow whose file
// has gone is dropped, with a log line.
Settings loadSettings(const std::wstring& path);

// Writes the whole file anew, making its folder when needed; a failure is
// logged and leaves the old file as it was.
void saveSettings(const std::wstring& path, const Settings& settings);
