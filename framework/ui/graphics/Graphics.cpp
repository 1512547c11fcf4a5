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

Graphics::Graphics(void* painter, int width, int height) : painter_(painter), width_(width), height_(height) {}

Graphics::~Graphics() = default;

void Graphics::SetForeColor(Color color) { foreColor_ = color; }

void Graphics::SetBold(bool on) {
    QFont font = P(painter_).font();
    font.setBold(on);
    P(painter_).setFont(font);
}

void Graphics::FillRect(int x, int y, int width, int height) {
    P(painter_).fillRect(x, y, width, height, detail::Q(foreColor_));
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
