#include "ToolbarIcons.h"

#include "PaintedIconEngine.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor kOutline(64, 64, 64);
const QColor kPaper(255, 255, 255);
const QColor kBlue(30, 100, 220);
const QColor kYellow(245, 200, 60);
const QColor kGrey(150, 150, 150);

QIcon Painted(PaintedIconEngine::Drawing drawing)
{
    return QIcon(new PaintedIconEngine(std::move(drawing)));
}

// A sheet of paper with a folded top-right corner.
void DrawSheet(QPainter &p)
{
    QPainterPath sheet;
    sheet.moveTo(7, 3);
    sheet.lineTo(20, 3);
    sheet.lineTo(26, 9);
    sheet.lineTo(26, 29);
    sheet.lineTo(7, 29);
    sheet.closeSubpath();
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.setBrush(QColor(220, 220, 220));
    p.drawPolygon(QPolygonF({QPointF(20, 3), QPointF(20, 9), QPointF(26, 9)}));
}

void DrawArrow(QPainter &p, QRectF box)
{
    const qreal midY = box.center().y();
    const qreal shaftHalf = box.height() / 5;
    const qreal headX = box.right() - box.height() / 2;
    QPainterPath arrow;
    arrow.moveTo(box.left(), midY - shaftHalf);
    arrow.lineTo(headX, midY - shaftHalf);
    arrow.lineTo(headX, box.top());
    arrow.lineTo(box.right(), midY);
    arrow.lineTo(headX, box.bottom());
    arrow.lineTo(headX, midY + shaftHalf);
    arrow.lineTo(box.left(), midY + shaftHalf);
    arrow.closeSubpath();
    p.setPen(QPen(kBlue.darker(150), 1));
    p.setBrush(kBlue);
    p.drawPath(arrow);
}

} // namespace

namespace ToolbarIcons {

QIcon BlankSheet()
{
    return Painted(DrawSheet);
}

QIcon SheetWithArrow()
{
    return Painted([](QPainter &p) {
        DrawSheet(p);
        DrawArrow(p, QRectF(2, 15, 18, 11));
    });
}

QIcon OpenBox()
{
    return Painted([](QPainter &p) {
        p.setPen(QPen(kOutline, 1.2));
        p.setBrush(kGrey);
        p.drawRect(QRectF(4, 15, 24, 13));
        p.setBrush(kYellow);
        // Two flaps folded open above the box.
        p.drawPolygon(QPolygonF({QPointF(4, 15), QPointF(1, 8), QPointF(13, 8), QPointF(16, 15)}));
        p.drawPolygon(QPolygonF({QPointF(16, 15), QPointF(19, 6), QPointF(31, 6), QPointF(28, 15)}));
        p.setBrush(kYellow.darker(115));
        p.drawRect(QRectF(4, 15, 24, 5));
    });
}

QIcon ArrowRight()
{
    return Painted([](QPainter &p) { DrawArrow(p, QRectF(3, 7, 26, 18)); });
}

QIcon GlowingMonitor()
{
    return Painted([](QPainter &p) {
        p.setPen(QPen(kOutline, 1.2));
        p.setBrush(QColor(200, 200, 200));
        p.drawRoundedRect(QRectF(2, 3, 28, 21), 2, 2);
        p.drawRect(QRectF(12, 24, 8, 3));
        p.drawRect(QRectF(7, 27, 18, 3));
        QRadialGradient glow(QPointF(16, 13.5), 12);
        glow.setColorAt(0, QColor(150, 255, 150));
        glow.setColorAt(1, QColor(0, 110, 30));
        p.setBrush(glow);
        p.drawRect(QRectF(5, 6, 22, 15));
    });
}

QIcon QuestionCard()
{
    return Painted([](QPainter &p) {
        p.setPen(QPen(kOutline, 1.2));
        p.setBrush(QColor(255, 250, 220));
        p.drawRoundedRect(QRectF(5, 2, 22, 28), 3, 3);
        // Drawn as strokes rather than text, so that no bold font is loaded for it.
        QPainterPath mark;
        const QRectF hook(11, 7, 10, 9);
        mark.arcMoveTo(hook, 160);
        mark.arcTo(hook, 160, -250);
        mark.quadTo(QPointF(16, 17.5), QPointF(16, 20.5));
        p.setPen(QPen(kBlue, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(mark);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QPointF(16, 25), 2, 2);
    });
}

} // namespace ToolbarIcons

QIcon ToolbarIcons::Application()
{
    return Painted([](QPainter &p) {
        // The SVG's 48 x 48 units on the 32 x 32 canvas.
        p.scale(32.0 / 48, 32.0 / 48);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2f, 0x3b, 0x45));
        p.drawRoundedRect(QRectF(1, 3, 46, 42), 4, 4);
        p.setBrush(QColor(0x9f, 0xd3, 0x6a));
        p.drawRoundedRect(QRectF(5, 7, 38, 34), 1.5, 1.5);
        constexpr unsigned short kSmiley[] = {0x07E0, 0x1818, 0x2004, 0x4002, 0x4662, 0x8661, 0x8001,
                                              0x8001, 0x9009, 0x4812, 0x47E2, 0x2004, 0x1818, 0x07E0};
        const QColor dot(0x1d, 0x2b, 0x12);
        for (int row = 0; row < int(std::size(kSmiley)); ++row) {
            for (int column = 0; column < 16; ++column) {
                if (kSmiley[row] & (0x8000 >> column))
                    p.fillRect(QRectF(8 + 2 * column, 10 + 2 * row, 2, 2), dot);
            }
        }
    });
}
