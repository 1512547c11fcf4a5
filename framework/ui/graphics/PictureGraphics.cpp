// Kept apart from Picture.cpp so that a picture can be loaded and drawn by code that never draws into one.
#include "framework/ui/graphics/Graphics.h"
#include "framework/ui/graphics/Picture.h"
#include "framework/ui/qt/PictureImpl.h"

namespace fw {

Graphics& Picture::GetGraphics() {
    impl_->graphics.reset();
    impl_->painter.reset();
    impl_->painter = std::make_unique<QPainter>(&impl_->image);
    impl_->graphics = std::make_shared<Graphics>(impl_->painter.get(), Width(), Height());
    return *impl_->graphics;
}

} // namespace fw
