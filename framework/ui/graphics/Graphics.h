// A drawing surface: a control's cell or canvas, a picture, or a printed page.
#pragma once

#include "framework/ui/graphics/Color.h"

#include <memory>
#include <string>

namespace fw {

class Picture;

class Graphics {
public:
    // `painter` is a QPainter owned by the caller (untyped so that this header stays free of Qt).
    Graphics(void* painter, int width, int height);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }

    void SetForeColor(Color color);
    void SetBold(bool on);

    void FillRect(int x, int y, int width, int height);
    // At its own size.
    void DrawPicture(const Picture& picture, int x, int y);
    // The source area (sx, sy, sw, sh) scaled into the rectangle (x, y, width, height).
    void DrawPicture(const Picture& picture, int x, int y, int width, int height, int sx, int sy, int sw, int sh);
    // With wrapWidth > 0 and condense, the text is shortened to fit on one line; with wrapWidth > 0 and
    // no condense it wraps; with 0 it is drawn as it is. y is the baseline of the first line.
    void DrawString(const std::string& text, int x, int y, int wrapWidth = 0, bool condense = false);
    int TextHeight() const;
    // From the top of a line to its baseline.
    int TextAscent() const;

private:
    void* painter_;
    int width_;
    int height_;
    Color foreColor_;
};

} // namespace fw
