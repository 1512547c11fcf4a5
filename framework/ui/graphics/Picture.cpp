#include "framework/ui/graphics/Picture.h"

#include "framework/ui/qt/PictureImpl.h"

#include <QColor>
#include <QString>

namespace fw {

Picture::Picture(int width, int height) : impl_(std::make_unique<Impl>()) {
    impl_->image = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    impl_->image.fill(Qt::white);
}

Picture::~Picture() = default;

std::unique_ptr<Picture> Picture::FromResource(int id) {
    QImage image(QStringLiteral(":/pictures/%1.png").arg(id));
    if (image.isNull())
        return nullptr;
    auto picture = std::make_unique<Picture>(image.width(), image.height());
    picture->impl_->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return picture;
}

int Picture::Width() const { return impl_->image.width(); }
int Picture::Height() const { return impl_->image.height(); }

Picture& Picture::Mask() {
    if (!mask_) {
        // A new mask shows the whole picture.
        mask_ = std::make_unique<Picture>(Width(), Height());
        mask_->impl_->image.fill(Qt::black);
    }
    return *mask_;
}

void Picture::DrawPicture(const Picture& source, int x, int y) {
    const QImage drawn = Impl::Drawable(source);
    // An image takes one painter at a time: while GetGraphics's surface is open, draw through it.
    if (QPainter* open = impl_->painter.get()) {
        open->save();
        open->drawImage(x, y, drawn);
        open->restore();
        return;
    }
    QPainter painter(&impl_->image);
    painter.drawImage(x, y, drawn);
}

QImage Picture::Impl::Drawable(const Picture& picture) {
    const QImage& own = picture.impl().image;
    const bool seeThrough = picture.Transparent() == 1;
    if (!seeThrough && !picture.HasMask())
        return own;
    QImage out = own.convertToFormat(QImage::Format_ARGB32);
    const QImage mask = picture.mask_ ? picture.mask_->impl().image : QImage();
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            QRgb& px = line[x];
            int alpha = qAlpha(px);
            if (seeThrough && (px & 0x00ffffffu) == 0x00ffffffu)
                alpha = 0;
            // Black in the mask shows, white hides, gray shows in part.
            if (x < mask.width() && y < mask.height())
                alpha = alpha * (255 - qGray(mask.pixel(x, y))) / 255;
            px = qRgba(qRed(px), qGreen(px), qBlue(px), alpha);
        }
    }
    return out;
}

} // namespace fw
