#pragma once
// Where the preview draws: pure arithmetic on the image size, the display zoom,
// the panel's client size and the scroll offsets, kept apart from GDI so the
// rules can be checked without a window.

struct PreviewRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const PreviewRect&, const PreviewRect&) = default;
};

// The offset after moving by `delta` against the mouse (offset - delta), kept
// within 0 .. (imageSize + 1) * zoom - clientSize - 2.
int clampScroll(int offset, int delta, int imageSize, int zoom, int clientSize);

struct PreviewLayout {
    // The copy: `source` in image pixels (top-down), stretched onto `target`.
    PreviewRect source;
    PreviewRect target;
    // The strips of the client area the copy does not cover (left, right,
    // top, bottom), filled with the checkerboard.
    PreviewRect fills[4];
    int fillCount = 0;
};

// The layout of one paint. `scrollX`/`scrollY` must already be clamped.
PreviewLayout layoutPreview(int imageWidth, int imageHeight, int zoom, int clientWidth,
                            int clientHeight, int scrollX, int scrollY);
