#pragma once
// The plain ASCII text of our own small files (flows, settings): lines, spaces,
// names in any case, and what a file holds quoted in a message.
#include <string>
#include <string_view>

// `text` without the characters of `spaces` at either end.
std::string_view trimmed(std::string_view text, std::string_view spaces = " \t");

// Equal when ASCII letters are taken in either case.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Text from a file as a message can show it: in double quotes, cut to 40
// bytes (then "..."), printable ASCII only (anything else as '?'), so that a
// hostile file cannot make the message long.
std::string quotedForMessage(std::string_view text);

// `text` without a UTF-8 byte-order mark at its start.
std::string_view withoutByteOrderMark(std::string_view text);

// "on" or "off" in any case into `on`; false for anything else, `on` untouched.
bool readOnOff(std::string_view value, bool& on);

// Takes the first line off `text`: without its '\n', nor a '\r' before it.
// `ended`, when given, tells whether a '\n' ended it.
std::string_view takeLine(std::string_view& text, bool* ended = nullptr);
