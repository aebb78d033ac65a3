// The toolbar's pictures as SVG elements, written from the shapes the window
// paints, so that both faces show the same pictures.
#include "core/session/ToolbarIcons.h"

#include <emscripten/bind.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <sstream>
#include <string>

namespace {

using emscripten::val;
using namespace tessaldo;

std::string Hex(IconColour colour)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    return hex;
}

// An element as the page makes it: its tag, its attributes and the elements inside it.
val Element(const char *tag, const val &attributes, const val &children = val::array())
{
    val element = val::object();
    element.set("tag", tag);
    element.set("attributes", attributes);
    element.set("children", children);
    return element;
}

// The point at degrees on the ellipse in box, counted counter-clockwise from
// three o'clock as the window counts them.
IconPoint OnEllipse(IconBox box, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180;
    return {box.left + box.width / 2 * (1 + std::cos(radians)), box.top + box.height / 2 * (1 - std::sin(radians))};
}

void WriteArc(std::ostringstream &d, const IconStep &arc, bool first)
{
    const IconPoint from = OnEllipse(arc.box, arc.start);
    const IconPoint to = OnEllipse(arc.box, arc.start + arc.sweep);
    d << (first ? 'M' : 'L') << from.x << ' ' << from.y << 'A' << arc.box.width / 2 << ' ' << arc.box.height / 2
      << " 0 " << (std::abs(arc.sweep) > 180 ? 1 : 0) << ' ' << (arc.sweep < 0 ? 1 : 0) << ' ' << to.x << ' ' << to.y;
}

std::string PathData(const IconShape &shape)
{
    std::ostringstream d;
    for (const IconStep &step : shape.steps) {
        switch (step.kind) {
        case IconStep::Kind::Move:
            d << 'M' << step.to.x << ' ' << step.to.y;
            break;
        case IconStep::Kind::Line:
            d << 'L' << step.to.x << ' ' << step.to.y;
            break;
        case IconStep::Kind::Arc:
            WriteArc(d, step, d.tellp() == 0);
            break;
        case IconStep::Kind::Quad:
            d << 'Q' << step.control.x << ' ' << step.control.y << ' ' << step.to.x << ' ' << step.to.y;
            break;
        }
    }
    if (shape.closed)
        d << 'Z';
    return d.str();
}

std::string Corners(const IconShape &shape)
{
    std::ostringstream points;
    for (const IconPoint &corner : shape.corners)
        points << (points.tellp() == 0 ? "" : " ") << corner.x << ',' << corner.y;
    return points.str();
}

val Geometry(const IconShape &shape)
{
    val attributes = val::object();
    const IconBox &box = shape.box;
    switch (shape.kind) {
    case IconShape::Kind::Outline:
        attributes.set("d", PathData(shape));
        break;
    case IconShape::Kind::Polygon:
        attributes.set("points", Corners(shape));
        break;
    case IconShape::Kind::Rectangle:
        attributes.set("x", box.left);
        attributes.set("y", box.top);
        attributes.set("width", box.width);
        attributes.set("height", box.height);
        attributes.set("rx", shape.cornerRadius);
        break;
    case IconShape::Kind::Ellipse:
        attributes.set("cx", box.left + box.width / 2);
        attributes.set("cy", box.top + box.height / 2);
        attributes.set("rx", box.width / 2);
        attributes.set("ry", box.height / 2);
        break;
    }
    return attributes;
}

const char *Tag(IconShape::Kind kind)
{
    switch (kind) {
    case IconShape::Kind::Outline:
        return "path";
    case IconShape::Kind::Polygon:
        return "polygon";
    case IconShape::Kind::Rectangle:
        return "rect";
    case IconShape::Kind::Ellipse:
        break;
    }
    return "ellipse";
}

// The window's pens: square ends and bevelled corners unless rounded.
void SetPen(val &attributes, const IconPen &pen)
{
    if (pen.width == 0)
        return;
    attributes.set("stroke", Hex(pen.colour));
    attributes.set("stroke-width", pen.width);
    attributes.set("stroke-linecap", pen.rounded ? "round" : "square");
    attributes.set("stroke-linejoin", pen.rounded ? "round" : "bevel");
}

val Stop(double offset, IconColour colour)
{
    val attributes = val::object();
    attributes.set("offset", offset);
    attributes.set("stop-color", Hex(colour));
    return Element("stop", attributes);
}

val Glow(const IconFill &fill, const std::string &id)
{
    val attributes = val::object();
    attributes.set("id", id);
    attributes.set("gradientUnits", "userSpaceOnUse");
    attributes.set("cx", fill.glowCentre.x);
    attributes.set("cy", fill.glowCentre.y);
    attributes.set("r", fill.glowRadius);
    val stops = val::array();
    stops.call<void>("push", Stop(0, fill.colour));
    stops.call<void>("push", Stop(1, fill.glowEdge));
    return Element("radialGradient", attributes, stops);
}

// command's picture, as the SVG elements inside its svg element; a glow
// comes as a gradient before the shape it fills, named after command.
val ToolbarIconElements(const std::string &command)
{
    val elements = val::array();
    for (const IconShape &shape : ToolbarIconShapes(command)) {
        val attributes = Geometry(shape);
        switch (shape.fill.kind) {
        case IconFill::Kind::None:
            attributes.set("fill", "none");
            break;
        case IconFill::Kind::Solid:
            attributes.set("fill", Hex(shape.fill.colour));
            break;
        case IconFill::Kind::Glow: {
            const std::string id = "icon-" + command + "-glow";
            elements.call<void>("push", Glow(shape.fill, id));
            attributes.set("fill", "url(#" + id + ")");
            break;
        }
        }
        SetPen(attributes, shape.pen);
        elements.call<void>("push", Element(Tag(shape.kind), attributes));
    }
    return elements;
}

} // namespace

EMSCRIPTEN_BINDINGS(icons)
{
    emscripten::function("toolbarIcon", &ToolbarIconElements);
}
