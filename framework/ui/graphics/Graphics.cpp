#include "framework/ui/graphics/Graphics.h"

#include "framework/ui/qt/Bridge.h"

#include <QFontMetrics>
#include "framework/ui/graphics/Picture.h"
#include "framework/ui/qt/PictureImpl.h"

#include <QPainter>
#include <QTextLayout>

namespace fw {
namespace {
QPainter& P(void* painter) { return *static_cast<QPainter*>(painter); }
} // namespace

Graphics::Graphics(void* painter, int width, int height) : painter_(painter), width_(width), height_(height) {
    textSize_ = P(painter_).font().pixelSize() > 0 ? P(painter_).font().pixelSize() : 0;
    bold_ = P(painter_).font().bold();
}

Graphics::~Graphics() = default;

void Graphics::SetForeColor(Color color) { foreColor_ = color; }

void Graphics::SetBold(bool on) {
    bold_ = on;
    ApplyFont();
}

void Graphics::SetTextSize(int size) {
    textSize_ = size;
    ApplyFont();
}

void Graphics::ApplyFont() {
    QFont font = P(painter_).font();
    font.setBold(bold_);
    // 0 keeps the system's size.
    if (textSize_ > 0)
        font.setPixelSize(textSize_);
    P(painter_).setFont(font);
}

void Graphics::FillRect(int x, int y, int width, int height) {
    P(painter_).fillRect(x, y, width, height, detail::Q(foreColor_));
}

void Graphics::DrawRect(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    QPainter& p = P(painter_);
    p.save();
    p.setPen(QPen(detail::Q(foreColor_), 1));
    p.setBrush(Qt::NoBrush);
    // The outline lies inside the rectangle, as the frame of a filled one would.
    p.drawRect(x, y, width - 1, height - 1);
    p.restore();
}

void Graphics::DrawString(const std::string& text, int x, int y, int wrapWidth, bool condense) {
    QPainter& p = P(painter_);
    p.save();
    p.setPen(detail::Q(foreColor_));
    const QFontMetrics metrics(p.font());
    const QString shown = detail::Displayed(text);
    if (wrapWidth <= 0) {
        int baseline = y;
        for (const QString& line : shown.split('\n')) {
            p.drawText(x, baseline, line);
            baseline += metrics.height();
        }
    } else if (condense) {
        p.drawText(x, y, metrics.elidedText(shown.section('\n', 0, 0), Qt::ElideRight, wrapWidth));
    } else {
        int baseline = y;
        for (const QString& paragraph : shown.split('\n')) {
            QTextLayout layout(paragraph, p.font());
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(wrapWidth);
                line.setPosition(QPointF(0, 0));
                p.drawText(x, baseline, paragraph.mid(line.textStart(), line.textLength()));
                baseline += metrics.height();
            }
            layout.endLayout();
        }
    }
    p.restore();
}

int Graphics::StringWidth(const std::string& text) const {
    return QFontMetrics(P(painter_).font()).horizontalAdvance(detail::Q(text));
}

int Graphics::TextHeight() const { return QFontMetrics(P(painter_).font()).height(); }
int Graphics::TextAscent() const { return QFontMetrics(P(painter_).font()).ascent(); }

void Graphics::DrawPicture(const Picture& picture, int x, int y) {
    P(painter_).drawImage(QPoint(x, y), Picture::Impl::Drawable(picture));
}

void Graphics::DrawPicture(const Picture& picture, int x, int y, int width, int height, int sx, int sy, int sw,
                           int sh) {
    P(painter_).drawImage(QRect(x, y, width, height), Picture::Impl::Drawable(picture), QRect(sx, sy, sw, sh));
}

} // namespace fw
