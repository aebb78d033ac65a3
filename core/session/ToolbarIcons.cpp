#include "core/session/ToolbarIcons.h"

#include <algorithm>

namespace tessaldo {

namespace {

constexpr IconColour kOutline{64, 64, 64};
constexpr IconColour kPaper{255, 255, 255};
constexpr IconColour kFold{220, 220, 220};
constexpr IconColour kBlue{30, 100, 220};
constexpr IconColour kDarkBlue{20, 67, 147};
constexpr IconColour kYellow{245, 200, 60};
constexpr IconColour kDarkYellow{213, 174, 52};
constexpr IconColour kGrey{150, 150, 150};
constexpr IconColour kCase{200, 200, 200};
constexpr IconColour kCard{255, 250, 220};
constexpr IconPen kThinPen{kOutline, 1.2, false};

IconFill Solid(IconColour colour)
{
    return {IconFill::Kind::Solid, colour, {}, {}, 0};
}

IconStep Move(double x, double y)
{
    return {IconStep::Kind::Move, {x, y}, {}, {}, 0, 0};
}

IconStep Line(double x, double y)
{
    return {IconStep::Kind::Line, {x, y}, {}, {}, 0, 0};
}

IconShape Outline(std::vector<IconStep> steps, bool closed, IconFill fill, IconPen pen)
{
    return {IconShape::Kind::Outline, std::move(steps), closed, {}, {}, 0, fill, pen};
}

IconShape Polygon(std::vector<IconPoint> corners, IconFill fill, IconPen pen)
{
    return {IconShape::Kind::Polygon, {}, false, std::move(corners), {}, 0, fill, pen};
}

IconShape Rectangle(IconBox box, IconFill fill, IconPen pen, double cornerRadius = 0)
{
    return {IconShape::Kind::Rectangle, {}, false, {}, box, cornerRadius, fill, pen};
}

// A sheet of paper with a folded top-right corner.
std::vector<IconShape> Sheet()
{
    return {Outline({Move(7, 3), Line(20, 3), Line(26, 9), Line(26, 29), Line(7, 29)}, true, Solid(kPaper), kThinPen),
            Polygon({{20, 3}, {20, 9}, {26, 9}}, Solid(kFold), kThinPen)};
}

// An arrow pointing right that fills box, its head as wide as box is high.
IconShape Arrow(IconBox box)
{
    const double right = box.left + box.width;
    const double midY = box.top + box.height / 2;
    const double shaftHalf = box.height / 5;
    const double headX = right - box.height / 2;
    return Outline({Move(box.left, midY - shaftHalf), Line(headX, midY - shaftHalf), Line(headX, box.top),
                    Line(right, midY), Line(headX, box.top + box.height), Line(headX, midY + shaftHalf),
                    Line(box.left, midY + shaftHalf)},
                   true, Solid(kBlue), {kDarkBlue, 1, false});
}

std::vector<IconShape> SheetWithArrow()
{
    std::vector<IconShape> shapes = Sheet();
    shapes.push_back(Arrow({2, 15, 18, 11}));
    return shapes;
}

std::vector<IconShape> OpenBox()
{
    return {Rectangle({4, 15, 24, 13}, Solid(kGrey), kThinPen),
            // Two flaps folded open above the box.
            Polygon({{4, 15}, {1, 8}, {13, 8}, {16, 15}}, Solid(kYellow), kThinPen),
            Polygon({{16, 15}, {19, 6}, {31, 6}, {28, 15}}, Solid(kYellow), kThinPen),
            Rectangle({4, 15, 24, 5}, Solid(kDarkYellow), kThinPen)};
}

std::vector<IconShape> GlowingMonitor()
{
    const IconFill glow{IconFill::Kind::Glow, {150, 255, 150}, {0, 110, 30}, {16, 13.5}, 12};
    return {Rectangle({2, 3, 28, 21}, Solid(kCase), kThinPen, 2), Rectangle({12, 24, 8, 3}, Solid(kCase), kThinPen),
            Rectangle({7, 27, 18, 3}, Solid(kCase), kThinPen), Rectangle({5, 6, 22, 15}, glow, kThinPen)};
}

// The question mark is strokes rather than text, so that no bold font is loaded for it.
std::vector<IconShape> QuestionCard()
{
    const IconStep hook{IconStep::Kind::Arc, {}, {}, {11, 7, 10, 9}, 160, -250};
    const IconStep stem{IconStep::Kind::Quad, {16, 20.5}, {16, 17.5}, {}, 0, 0};
    IconShape dot{IconShape::Kind::Ellipse, {}, false, {}, {14, 23, 4, 4}, 0, Solid(kBlue), {}};
    return {Rectangle({5, 2, 22, 28}, Solid(kCard), kThinPen, 3), Outline({hook, stem}, false, {}, {kBlue, 3.2, true}),
            std::move(dot)};
}

} // namespace

const std::vector<ToolbarIcon> &ToolbarIcons()
{
    static const std::vector<ToolbarIcon> kIcons{
        {"new", Sheet()},           {"open", SheetWithArrow()}, {"save", OpenBox()}, {"run", {Arrow({3, 7, 26, 18})}},
        {"exit", GlowingMonitor()}, {"about", QuestionCard()},
    };
    return kIcons;
}

const std::vector<IconShape> &ToolbarIconShapes(std::string_view command)
{
    static const std::vector<IconShape> kNone;
    const auto &icons = ToolbarIcons();
    const auto found = std::find_if(icons.begin(), icons.end(),
                                    [command](const ToolbarIcon &icon) { return icon.command == command; });
    return found == icons.end() ? kNone : found->shapes;
}

} // namespace tessaldo
