#pragma once

#include <string_view>
#include <vector>

namespace tessaldo {

// The toolbar's pictures, described once as shapes on a 32 x 32 grid, so that
// the window paints them and the page writes them as SVG alike.
struct IconColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

struct IconPoint {
    double x = 0;
    double y = 0;
};

struct IconBox {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// One step of an outline. An arc follows the ellipse in box from start
// degrees through sweep degrees (counter-clockwise when positive); one that
// begins an outline starts it where the arc starts.
struct IconStep {
    enum class Kind { Move, Line, Arc, Quad };
    Kind kind = Kind::Line;
    IconPoint to;
    IconPoint control; // a quadratic curve's
    IconBox box;       // an arc's
    double start = 0;
    double sweep = 0;
};

// None: the shape is not filled. Glow: lit from glowCentre, fading from
// colour to glowEdge at glowRadius.
struct IconFill {
    enum class Kind { None, Solid, Glow };
    Kind kind = Kind::None;
    IconColour colour;
    IconColour glowEdge;
    IconPoint glowCentre;
    double glowRadius = 0;
};

// width 0: no outline. A rounded pen ends and joins its lines in round caps,
// the others in square ends and bevelled corners.
struct IconPen {
    IconColour colour;
    double width = 0;
    bool rounded = false;
};

struct IconShape {
    enum class Kind { Outline, Polygon, Rectangle, Ellipse };
    Kind kind = Kind::Rectangle;
    std::vector<IconStep> steps; // an outline's; closed when closed is set
    bool closed = false;
    std::vector<IconPoint> corners; // a polygon's
    IconBox box;                    // a rectangle's or an ellipse's
    double cornerRadius = 0;        // a rectangle's
    IconFill fill;
    IconPen pen;
};

struct ToolbarIcon {
    std::string_view command; // the toolbar command the picture stands for
    std::vector<IconShape> shapes;
};

// New, Open, Save, Run, Exit, About, in the toolbar's order.
const std::vector<ToolbarIcon> &ToolbarIcons();
// The shapes of the picture for command; none for a command without one.
const std::vector<IconShape> &ToolbarIconShapes(std::string_view command);

} // namespace tessaldo
