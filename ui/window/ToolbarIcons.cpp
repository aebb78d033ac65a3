#include "ui/window/ToolbarIcons.h"

#include "core/session/ToolbarIcons.h"
#include "ui/window/PaintedIconEngine.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

using namespace tessaldo;

QColor Colour(IconColour colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

QPointF Point(IconPoint point)
{
    return QPointF(point.x, point.y);
}

QRectF Box(IconBox box)
{
    return QRectF(box.left, box.top, box.width, box.height);
}

QPen Pen(const IconPen &pen)
{
    if (pen.width == 0)
        return Qt::NoPen;
    if (pen.rounded)
        return QPen(Colour(pen.colour), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    return QPen(Colour(pen.colour), pen.width);
}

QBrush Brush(const IconFill &fill)
{
    switch (fill.kind) {
    case IconFill::Kind::None:
        return Qt::NoBrush;
    case IconFill::Kind::Solid:
        return Colour(fill.colour);
    case IconFill::Kind::Glow:
        break;
    }
    QRadialGradient glow(Point(fill.glowCentre), fill.glowRadius);
    glow.setColorAt(0, Colour(fill.colour));
    glow.setColorAt(1, Colour(fill.glowEdge));
    return glow;
}

QPainterPath Path(const IconShape &shape)
{
    QPainterPath path;
    for (const IconStep &step : shape.steps) {
        switch (step.kind) {
        case IconStep::Kind::Move:
            path.moveTo(Point(step.to));
            break;
        case IconStep::Kind::Line:
            path.lineTo(Point(step.to));
            break;
        case IconStep::Kind::Arc:
            if (path.elementCount() == 0)
                path.arcMoveTo(Box(step.box), step.start);
            path.arcTo(Box(step.box), step.start, step.sweep);
            break;
        case IconStep::Kind::Quad:
            path.quadTo(Point(step.control), Point(step.to));
            break;
        }
    }
    if (shape.closed)
        path.closeSubpath();
    return path;
}

void DrawShape(QPainter &p, const IconShape &shape)
{
    p.setPen(Pen(shape.pen));
    p.setBrush(Brush(shape.fill));
    switch (shape.kind) {
    case IconShape::Kind::Outline:
        p.drawPath(Path(shape));
        break;
    case IconShape::Kind::Polygon: {
        QPolygonF polygon;
        for (const IconPoint &corner : shape.corners)
            polygon << Point(corner);
        p.drawPolygon(polygon);
        break;
    }
    case IconShape::Kind::Rectangle:
        if (shape.cornerRadius > 0)
            p.drawRoundedRect(Box(shape.box), shape.cornerRadius, shape.cornerRadius);
        else
            p.drawRect(Box(shape.box));
        break;
    case IconShape::Kind::Ellipse:
        p.drawEllipse(Box(shape.box));
        break;
    }
}

QIcon Painted(PaintedIconEngine::Drawing drawing)
{
    return QIcon(new PaintedIconEngine(std::move(drawing)));
}

// The picture the core describes for command.
QIcon Described(std::string_view command)
{
    return Painted([command](QPainter &p) {
        for (const IconShape &shape : ToolbarIconShapes(command))
            DrawShape(p, shape);
    });
}

} // namespace

namespace ToolbarIcons {

QIcon BlankSheet()
{
    return Described("new");
}

QIcon SheetWithArrow()
{
    return Described("open");
}

QIcon OpenBox()
{
    return Described("save");
}

QIcon ArrowRight()
{
    return Described("run");
}

QIcon GlowingMonitor()
{
    return Described("exit");
}

QIcon QuestionCard()
{
    return Described("about");
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
