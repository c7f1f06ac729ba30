#include "sketch_widgets.h"

#include <algorithm>

namespace sketch {

int centredBaseline(Rect r, const TextStyle& style) {
    // Cap height of DejaVu is about 0.73 of the pixel size.
    const int cap = style.pixelSize * 73 / 100;
    return r.y + (r.h + cap) / 2;
}

void button(Page& page, Rect r, std::string_view label, bool enabled) {
    page.canvas.fill(r, colour::kButtonFace);
    page.canvas.frame(r, colour::kControlBorder);
    page.canvas.hline(r.x + 1, r.right() - 2, r.bottom() - 2, colour::kShadow);
    page.centred(r.x, r.w, centredBaseline(r, kControlText), enabled ? kControlText : kDisabledText,
                 label);
}

void checkBox(Page& page, Rect r, std::string_view label, bool checked) {
    const int size = 9;
    const Rect box{r.x, r.y + (r.h - size) / 2, size, size};
    page.canvas.fill(box, colour::kFieldWhite);
    page.canvas.frame(box, colour::kWindowFrame);
    if (checked) {
        // A tick: short stroke down-right, long stroke up-right.
        const int bx = box.x + 2, by = box.y + 4;
        for (int i = 0; i < 2; ++i) page.canvas.vline(bx + i, by + i, by + i + 1, colour::kInk);
        for (int i = 0; i < 4; ++i) {
            page.canvas.vline(bx + 2 + i, by + 1 - i, by + 2 - i, colour::kInk);
        }
    }
    page.write(box.right() + 4, centredBaseline(r, kControlText), kControlText, label);
}

void groupBox(Page& page, Rect r, std::string_view caption) {
    const int half = kControlText.pixelSize / 2;
    page.canvas.frame({r.x, r.y + half, r.w, r.h - half}, colour::kControlBorder);
    const int width = page.text.measure(kControlText, caption);
    page.canvas.fill({r.x + 6, r.y, width + 6, kControlText.pixelSize + 2}, colour::kWindowFace);
    page.write(r.x + 9, r.y + kControlText.pixelSize - 1, kControlText, caption);
}

void trackbar(Page& page, Rect r, int low, int high, int position, int tick,
              std::string_view leftBuddy, std::string_view rightBuddy) {
    page.canvas.frame(r, colour::kControlBorder);
    const int left = r.x + 8, right = r.right() - 9;
    const int channelY = r.y + r.h / 2 - 3;
    page.canvas.fill({left, channelY, right - left + 1, 3}, colour::kFieldWhite);
    page.canvas.frame({left, channelY, right - left + 1, 3}, colour::kControlBorder);
    auto xOf = [&](int value) { return left + (right - left) * (value - low) / (high - low); };
    for (int v = low; v <= high; v += tick) {
        page.canvas.vline(xOf(v), r.bottom() - 5, r.bottom() - 3, colour::kWindowFrame);
    }
    const int thumb = xOf(position);
    const Rect knob{thumb - 3, channelY - 4, 7, 11};
    page.canvas.fill(knob, colour::kSelection);
    page.canvas.frame(knob, colour::kAccent);

    const int baseline = centredBaseline({r.x, r.y, r.w, r.h - 6}, kControlText);
    const int leftWidth = page.text.measure(kControlText, leftBuddy);
    page.write(r.x - leftWidth - 4, baseline, kControlText, leftBuddy);
    page.write(r.right() + 4, baseline, kControlText, rightBuddy);
}

void listBox(Page& page, Rect r, const std::vector<std::string_view>& items, int selected) {
    page.canvas.fill(r, colour::kFieldWhite);
    page.canvas.frame(r, colour::kWindowFrame);
    const int rowHeight = 13;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Rect row{r.x + 2, r.y + 2 + static_cast<int>(i) * rowHeight, r.w - 4, rowHeight};
        const bool isSelected = static_cast<int>(i) == selected;
        if (isSelected) page.canvas.fill(row, colour::kSelection);
        const TextStyle style{Weight::Regular, 10, isSelected ? colour::kPaper : colour::kInk};
        page.write(row.x + 3, centredBaseline(row, style), style, items[i]);
    }
}

void comboBox(Page& page, Rect r, std::string_view text) {
    page.canvas.fill(r, colour::kFieldWhite);
    page.canvas.frame(r, colour::kWindowFrame);
    const Rect arrow{r.right() - r.h, r.y + 1, r.h - 1, r.h - 2};
    page.canvas.fill(arrow, colour::kButtonFace);
    page.canvas.vline(arrow.x, arrow.y, arrow.bottom() - 1, colour::kControlBorder);
    const int cx = arrow.x + arrow.w / 2, cy = arrow.y + arrow.h / 2 - 1;
    for (int i = 0; i < 3; ++i) page.canvas.hline(cx - 2 + i, cx + 2 - i, cy + i, colour::kInk);
    page.write(r.x + 4, centredBaseline(r, kControlText), kControlText, text);
}

Rect tabControl(Page& page, Rect r, const std::vector<std::string_view>& tabs, int selected) {
    const int tabHeight = 15;
    const Rect body{r.x, r.y + tabHeight, r.w, r.h - tabHeight};
    page.canvas.frame(body, colour::kControlBorder);
    int x = r.x + 2;
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        const bool raised = static_cast<int>(i) == selected;
        const int width = page.text.measure(kControlText, tabs[i]) + 14;
        const Rect tab{raised ? x - 2 : x, raised ? r.y : r.y + 2, raised ? width + 4 : width,
                       raised ? tabHeight + 1 : tabHeight - 2};
        page.canvas.fill(tab, raised ? colour::kWindowFace : colour::kButtonFace);
        page.canvas.hline(tab.x, tab.right() - 1, tab.y, colour::kControlBorder);
        page.canvas.vline(tab.x, tab.y, tab.bottom() - 1, colour::kControlBorder);
        page.canvas.vline(tab.right() - 1, tab.y, tab.bottom() - 1, colour::kControlBorder);
        page.centred(tab.x, tab.w, centredBaseline(tab, kControlText), kControlText, tabs[i]);
        x += width;
    }
    return {body.x + 3, body.y + 3, body.w - 6, body.h - 6};
}

void tag(Page& page, int x, int y, std::string_view text) {
    const TextStyle style{Weight::Bold, 10, colour::kPaper};
    const int width = page.text.measure(style, text) + 10;
    const Rect r{x, y, width, 15};
    page.canvas.fill(r, colour::kCallout);
    page.write(x + 5, centredBaseline(r, style), style, text);
}

}  // namespace sketch
