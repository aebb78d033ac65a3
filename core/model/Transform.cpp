#include "core/model/Transform.h"

namespace tessaldo {
namespace {

// The screen cell whose dot moves into `to`; it may lie outside the picture of `size`, the size before.
Cell SourceCell(Transform transform, Cell to, PictureSize size)
{
    const auto [c, r] = to;
    const int lastColumn = size.width - 1;
    const int lastRow = size.height - 1;
    switch (transform) {
    case Transform::ShiftUp:
        return {c, r + 1};
    case Transform::ShiftDown:
        return {c, r - 1};
    case Transform::ShiftLeft:
        return {c + 1, r};
    case Transform::ShiftRight:
        return {c - 1, r};
    case Transform::FlipHorizontally:
        return {lastColumn - c, r};
    case Transform::FlipVertically:
        return {c, lastRow - r};
    case Transform::RotateClockwise: // the top row becomes the right column
        return {r, lastRow - c};
    case Transform::RotateCounterclockwise: // the top row becomes the left column
        return {lastColumn - r, c};
    case Transform::Invert:
        break;
    }
    return to;
}

DotState Flipped(DotState state)
{
    return state == DotState::Set ? DotState::Clear : DotState::Set;
}

} // namespace

PictureSize TransformedSize(PictureSize size, Transform transform)
{
    const bool turns = transform == Transform::RotateClockwise || transform == Transform::RotateCounterclockwise;
    return turns ? PictureSize{size.height, size.width} : size;
}

void ApplyTransform(DotGrid &grid, Transform transform)
{
    const DotGrid::Dots &before = grid.AllDots();
    const PictureSize size = grid.Size();
    const PictureSize turned = TransformedSize(size, transform);
    DotGrid::Dots after(turned);
    const LcdType layout = grid.nLCDType();
    for (int dot = 0; dot < turned.DotCount(); ++dot) {
        const auto index = static_cast<std::size_t>(dot);
        if (transform == Transform::Invert) {
            after[index] = Flipped(before[index]);
            continue;
        }
        const Cell from = SourceCell(transform, CellOfDot(layout, dot, turned), size);
        after[index] =
            IsInside(from, size) ? before[static_cast<std::size_t>(DotAtCell(layout, from, size))] : DotState::Clear;
    }
    grid.SetAllDots(after);
}

namespace {

struct Named {
    Transform transform;
    std::string_view name;
};

constexpr Named kNames[] = {
    {Transform::Invert, "invert"},
    {Transform::ShiftUp, "shift-up"},
    {Transform::ShiftDown, "shift-down"},
    {Transform::ShiftLeft, "shift-left"},
    {Transform::ShiftRight, "shift-right"},
    {Transform::FlipHorizontally, "flip-h"},
    {Transform::FlipVertically, "flip-v"},
    {Transform::RotateClockwise, "rotate-cw"},
    {Transform::RotateCounterclockwise, "rotate-ccw"},
};

} // namespace

std::string_view TransformName(Transform transform)
{
    for (const Named &named : kNames) {
        if (named.transform == transform)
            return named.name;
    }
    return {};
}

std::optional<Transform> TransformFromName(std::string_view name)
{
    for (const Named &named : kNames) {
        if (named.name == name)
            return named.transform;
    }
    return std::nullopt;
}

} // namespace tessaldo
