#pragma once

#include <QIconEngine>

#include <functional>

// An icon drawn by code on a 32 x 32 canvas and scaled to whatever size and
// screen scale it is shown at, so it stays sharp everywhere.
class PaintedIconEngine final : public QIconEngine {
public:
    using Drawing = std::function<void(QPainter &)>;

    explicit PaintedIconEngine(Drawing drawing);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QIconEngine *clone() const override;

private:
    Drawing m_drawing;
};
