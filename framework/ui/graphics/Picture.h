// A picture: loaded from the program's resources by id, or made blank to draw into.
#pragma once

#include <memory>

namespace fw {

class Graphics;

class Picture {
public:
    Picture(int width, int height);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // The picture resource `id`, or nullptr when the program has none.
    static std::unique_ptr<Picture> FromResource(int id);

    int Width() const;
    int Height() const;
    // 1: white pixels are see-through when the picture is drawn.
    int Transparent() const { return transparent_; }
    void SetTransparent(int value) { transparent_ = value; }
    // The mask (same size; black shows, white hides), made on first use.
    Picture& Mask();
    bool HasMask() const { return mask_ != nullptr; }
    // A drawing surface onto this picture; valid until the next call.
    Graphics& GetGraphics();
    // Draws `source` onto this picture at (x, y), at its own size, as a Graphics would.
    void DrawPicture(const Picture& source, int x, int y);

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
    std::unique_ptr<Picture> mask_;
    int transparent_ = 0;
};

} // namespace fw
