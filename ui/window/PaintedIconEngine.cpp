#include "ui/window/PaintedIconEngine.h"

#include <QPainter>
#include <QPixmap>

namespace {
constexpr qreal kCanvas = 32;
}

PaintedIconEngine::PaintedIconEngine(Drawing drawing) : m_drawing(std::move(drawing)) {}

void PaintedIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / kCanvas, rect.height() / kCanvas);
    if (mode == QIcon::Disabled)
        painter->setOpacity(0.4);
    m_drawing(*painter);
    painter->restore();
}

QPixmap PaintedIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return scaledPixmap(size, mode, state, 1.0);
}

QPixmap PaintedIconEngine::scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    QPixmap pixmap(size * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return pixmap;
}

QIconEngine *PaintedIconEngine::clone() const
{
    return new PaintedIconEngine(m_drawing);
}
