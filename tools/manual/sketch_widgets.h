#pragma once
// Drawing of the window's controls in the manual's sketch: flat, light shapes
// that read as buttons, check boxes, lists and trackbars at small size.
#include <string_view>
#include <vector>

#include "page.h"

namespace sketch {

inline constexpr TextStyle kControlText{Weight::Regular, 10, colour::kInk};
inline constexpr TextStyle kDisabledText{Weight::Regular, 10, colour::kControlBorder};

// Baseline that centres one line of control text vertically in r.
int centredBaseline(Rect r, const TextStyle& style);

void button(Page& page, Rect r, std::string_view label, bool enabled = true);
void checkBox(Page& page, Rect r, std::string_view label, bool checked);
// A group box: frame from half the caption's height down, caption on the top edge.
void groupBox(Page& page, Rect r, std::string_view caption);
// A horizontal trackbar from `low` to `high` with the thumb at `position` and
// a tick every `tick`; the buddy labels go left and right of it.
void trackbar(Page& page, Rect r, int low, int high, int position, int tick,
              std::string_view leftBuddy, std::string_view rightBuddy);
void listBox(Page& page, Rect r, const std::vector<std::string_view>& items, int selected);
void comboBox(Page& page, Rect r, std::string_view text);
// Tabs along the top of r, `selected` drawn raised; returns the display area.
Rect tabControl(Page& page, Rect r, const std::vector<std::string_view>& tabs, int selected);
// A label tag in the accent colour with its top-left corner at (x, y).
void tag(Page& page, int x, int y, std::string_view text);

}  // namespace sketch
