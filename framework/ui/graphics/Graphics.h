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

    Color ForeColor() const { return foreColor_; }
    void SetForeColor(Color color);
    bool Bold() const { return bold_; }
    void SetBold(bool on);
    int TextSize() const { return textSize_; }
    void SetTextSize(int size);

    void FillRect(int x, int y, int width, int height);
    void DrawRect(int x, int y, int width, int height);
    // At its own size.
    void DrawPicture(const Picture& picture, int x, int y);
    // The source area (sx, sy, sw, sh) scaled into the rectangle (x, y, width, height).
    void DrawPicture(const Picture& picture, int x, int y, int width, int height, int sx, int sy, int sw, int sh);
    // With wrapWidth > 0 and condense, the text is shortened to fit on one line; with wrapWidth > 0 and
    // no condense it wraps; with 0 it is drawn as it is. y is the baseline of the first line.
    void DrawString(const std::string& text, int x, int y, int wrapWidth = 0, bool condense = false);
    int StringWidth(const std::string& text) const;
    int TextHeight() const;
    // From the top of a line to its baseline.
    int TextAscent() const;

    void* Painter() const { return painter_; }

private:
    void ApplyFont();
    void* painter_;
    int width_;
    int height_;
    Color foreColor_;
    bool bold_ = false;
    int textSize_ = 0;
};

} // namespace fw
