// Inside the framework only: a picture's pixels, for the code that draws pictures.
#pragma once

#include "framework/ui/graphics/Graphics.h"
#include "framework/ui/graphics/Picture.h"

#include <QImage>
#include <QPainter>
#include <memory>

namespace fw {

struct Picture::Impl {
    // The picture's own pixels, without its transparency or mask applied.
    QImage image;
    // The surface handed out by GetGraphics; the graphics goes before the painter it draws with.
    std::unique_ptr<QPainter> painter;
    std::shared_ptr<Graphics> graphics;

    // What drawing `picture` puts down: its pixels with white made see-through when Transparent is 1, and
    // hidden where its mask is white. Code that draws a picture draws this, not `image`.
    static QImage Drawable(const Picture& picture);
};

} // namespace fw
