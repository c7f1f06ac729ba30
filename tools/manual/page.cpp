#include "page.h"

#include <stdexcept>
#include <string>

const manual_layout::Band& band(std::string_view name) {
    for (const auto& b : manual_layout::kBands) {
        if (b.name == name) return b;
    }
    throw std::invalid_argument("no page band " + std::string(name));
}

int drawHeading(Page& page, int top, std::string_view title) {
    using manual_layout::kMargin;
    using manual_layout::kPageWidth;
    const int baseline = top + page.text.ascent(style::kHeading);
    page.write(kMargin, baseline, style::kHeading, title);
    const int ruleY = baseline + 7;
    page.canvas.hline(kMargin, kPageWidth - kMargin - 1, ruleY, colour::kRule);
    page.canvas.hline(kMargin, kMargin + 47, ruleY, colour::kAccent);
    page.canvas.hline(kMargin, kMargin + 47, ruleY + 1, colour::kAccent);
    return ruleY + 12;
}

int drawBullet(Page& page, int x, int top, int width, std::string_view lead,
               std::string_view utf8) {
    const int rise = page.text.ascent(style::kBody);
    page.canvas.fill({x, top + rise - 6, 4, 4}, colour::kAccent);
    const int textX = x + 12;
    const int leadWidth = page.write(textX, top + rise, style::kBodyBold, lead);
    return page.paragraph(textX, top, width - 12, style::kBody, utf8, leadWidth + 4);
}
