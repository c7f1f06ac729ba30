// The labelled sketch of the main window, drawn at three quarters of its size
// from the window's own layout numbers (client area 700 x 560).
#include <memory>

#include "example_run.h"
#include "page.h"
#include "sketch_widgets.h"

using manual_layout::kMargin;
using manual_layout::kPageWidth;

namespace {

constexpr int kClientWidth = 700;
constexpr int kClientHeight = 560;
constexpr int kCaptionHeight = 20;
constexpr int kFrame = 3;

// Maps window client coordinates onto the page at 3/4 scale.
struct Scale {
    int ox;
    int oy;
    int x(int v) const { return ox + v * 3 / 4; }
    int y(int v) const { return oy + v * 3 / 4; }
    Rect rect(int left, int top, int w, int h) const {
        return {x(left), y(top), x(left + w) - x(left), y(top + h) - y(top)};
    }
    Scale inside(int left, int top) const { return {x(left), y(top)}; }
};

void previewPanel(Page& page, const Scale& s) {
    const Rect r = s.rect(10, 10, kClientWidth - 230, kClientHeight - 210);
    page.canvas.checker({r.x + 1, r.y + 1, r.w - 2, r.h - 2}, colour::kCheckerLight,
                        colour::kCheckerDark);
    page.canvas.frame(r, colour::kWindowFrame);
    // The preview shows the RotSprite-style example at display zoom 5.
    const ExampleRun run(manual_layout::kNoteSpots[manual_layout::kNoteFlow],
                         page.palette.rgbQuads().data());
    if (const IndexedImage* image = run.result()) {
        const int zoom = 5;
        page.canvas.blit(*image, r.x + (r.w - image->width * zoom) / 2,
                         r.y + (r.h - image->height * zoom) / 2, zoom);
    }
    sketch::tag(page, r.x + 6, r.y + 6, "1  Preview");
}

void zoomStrip(Page& page, const Scale& s) {
    const Scale strip = s.inside(10, kClientHeight - 190);
    page.write(strip.x(5), sketch::centredBaseline(strip.rect(5, 0, 125, 15), sketch::kControlText),
               sketch::kControlText, "Display zoom: x5");
    sketch::trackbar(page, strip.rect(160, 0, 220, 24), 1, 16, 5, 1, "x1", "x16");
    const Rect track = strip.rect(160, 0, 220, 24);
    const int tagX = track.x + track.w / 2 + 12;
    sketch::tag(page, tagX, track.y - 26, "2  Preview zoom");
    page.canvas.vline(tagX + 4, track.y - 11, track.y - 1, colour::kCallout);
}

void propertyPanel(Page& page, const Scale& s) {
    const Rect r = s.rect(10, kClientHeight - 150, kClientWidth - 230, 140);
    page.canvas.frame(r, colour::kWindowFrame);
    const Scale panel = s.inside(11, kClientHeight - 149);
    page.write(panel.x(155),
               sketch::centredBaseline(panel.rect(155, 5, 130, 18), sketch::kControlText),
               sketch::kControlText, "Rotation angle: 30");
    sketch::trackbar(page, panel.rect(30, 23, 380, 24), 0, 360, 30, 45, "0", "360");
    sketch::checkBox(page, panel.rect(15, 50, 150, 35), "Wrap around", false);
    sketch::button(page, panel.rect(25, 105, 390, 24), "Help / About");
    sketch::tag(page, r.right() - 100, panel.y(58), "4  Properties");
}

void passManager(Page& page, const Scale& s) {
    const Scale panel = s.inside(kClientWidth - 210, 10);
    sketch::groupBox(page, panel.rect(0, 0, 200, 280), "Transformation passes");
    const Rect list = panel.rect(10, 20, 170, 200);
    sketch::listBox(page, list, {"Scale2x", "Scale2x", "Scale2x", "RotateUnzoom8x", "END"}, 4);
    sketch::comboBox(page, panel.rect(10, 220, 120, 21), "Zoom2x");
    sketch::button(page, panel.rect(130, 220, 40, 24), "Add");
    sketch::button(page, panel.rect(10, 250, 170, 24), "Remove", false);

    // The flow runs from the top of the list to the bottom.
    const int ax = list.right() + 6;
    page.canvas.vline(ax, list.y + 8, list.bottom() - 10, colour::kCallout);
    for (int i = 0; i < 4; ++i) {
        page.canvas.hline(ax - 3 + i, ax + 3 - i, list.bottom() - 10 + i, colour::kCallout);
    }
    sketch::tag(page, list.x + 14, list.y + 78, "3  Flow");
    page.write(list.x + 14, list.y + 108, {Weight::Regular, 10, colour::kCallout},
               "runs top to bottom");
}

// Draws the tab control with the given page and returns its page area.
Rect sourceTabs(Page& page, Rect r, int selected) {
    page.canvas.fill(r, colour::kWindowFace);
    const Rect display = sketch::tabControl(page, r, {"Single image", "Batch"}, selected);
    // The pages sit 15 window pixels inside the tab's display area.
    const int inset = 15 * 3 / 4;
    return {display.x + inset, display.y + inset, display.w - 2 * inset, display.h - 2 * inset};
}

void singleImagePage(Page& page, Rect p) {
    const Scale at{p.x, p.y};
    const int pw = p.w * 4 / 3;
    sketch::button(page, at.rect(0, 0, pw, 24), "Grab image");
    sketch::groupBox(page, at.rect(0, 24, pw, 135), "Export");
    sketch::checkBox(page, at.rect(5, 48, pw - 10, 20), "As new project", true);
    sketch::button(page, at.rect(5, 68, pw - 10, 24), "Send image");
}

void batchPage(Page& page, Rect p) {
    const Scale at{p.x, p.y};
    const int pw = p.w * 4 / 3;
    sketch::button(page, at.rect(0, 0, pw, 24), "Grab sample image");
    sketch::groupBox(page, at.rect(0, 24, pw, 135), "Process");
    sketch::checkBox(page, at.rect(5, 39, pw - 10, 20), "As new project", true);
    sketch::checkBox(page, at.rect(5, 59, pw - 10, 20), "All layers", true);
    sketch::checkBox(page, at.rect(5, 79, pw - 10, 20), "All frames", true);
    sketch::button(page, at.rect(5, 99, pw - 10, 24), "Launch process");
}

struct LegendEntry {
    const char* lead;
    const char* text;
};

}  // namespace

void drawWindowSection(Page& page) {
    const auto& b = band("window");
    const int top = drawHeading(page, b.top + 6, "The Marlune window");

    const int outerW = kClientWidth * 3 / 4 + 2 * kFrame;
    const int outerH = kClientHeight * 3 / 4 + kCaptionHeight + 2 * kFrame;
    const Rect outer{(kPageWidth - outerW) / 2, top + 2, outerW, outerH};
    page.canvas.fill({outer.x + 4, outer.y + 4, outer.w, outer.h}, colour::kShadow);
    page.canvas.fill(outer, colour::kCaption);
    page.canvas.frame(outer, colour::kWindowFrame);
    page.write(outer.x + 8, outer.y + 15, {Weight::Bold, 11, colour::kPaper}, "Marlune v0.2.1");
    const Scale client{outer.x + kFrame, outer.y + kFrame + kCaptionHeight};
    page.canvas.fill(client.rect(0, 0, kClientWidth, kClientHeight), colour::kWindowFace);

    previewPanel(page, client);
    zoomStrip(page, client);
    propertyPanel(page, client);
    passManager(page, client);
    const Rect tabs = client.rect(kClientWidth - 210, kClientHeight - 230, 200, 220);
    singleImagePage(page, sourceTabs(page, tabs, 0));
    sketch::tag(page, tabs.x, tabs.y - 20, "5  Import / export");

    // The Batch tab beside the legend, at the same scale.
    const int below = outer.bottom() + 16;
    const Rect batchTabs{kPageWidth - kMargin - tabs.w, below, tabs.w, tabs.h};
    batchPage(page, sourceTabs(page, batchTabs, 1));
    page.canvas.frame({batchTabs.x - 1, batchTabs.y - 1, batchTabs.w + 2, batchTabs.h + 2},
                      colour::kRule);

    constexpr LegendEntry kLegend[] = {
        {"1 Preview:", "the flow's result, zoomed; drag to pan."},
        {"2 Preview zoom:", "x1 to x16, on screen only."},
        {"3 Transformation flow:",
         "passes run from the top of the list to the bottom; Add "
         "inserts before the selected entry, END appends."},
        {"4 Transformation properties:",
         "the rotation angle and Wrap around, for every "
         "rotation pass; Help / About opens this page."},
        {"5 Import and export:",
         "Single image grabs and sends one frame; Batch (right) "
         "runs every frame and layer."},
    };

    const int legendWidth = batchTabs.x - kMargin - 16;
    int y = below;
    for (const LegendEntry& entry : kLegend) {
        const int rise = page.text.ascent(style::kBody);
        const int leadWidth = page.write(kMargin, y + rise, style::kBodyBold, entry.lead);
        y = page.text.drawParagraph(page.canvas, page.palette, kMargin, y, legendWidth,
                                    style::kBody, entry.text, 2, leadWidth + 4) +
            3;
    }
}
