#pragma once
// The rotation angle as the user types it and as the panel shows it.
#include <optional>
#include <string>
#include <string_view>

constexpr double kLargestAngle = 360.0;

// A typed angle: digits, optionally a point and more digits ("26.565"), from 0
// to 360, with spaces around allowed. Anything else gives nothing.
std::optional<double> parseAngle(std::string_view text);

// The shortest text that reads back as `degrees`: "45" for whole angles, as
// the label has always shown them, "26.565" for a typed one.
std::string formatAngle(double degrees);

// The slider position for an angle: the nearest whole degree, halves up.
int nearestWholeDegree(double degrees);
