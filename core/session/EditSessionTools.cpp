// The canvas's tools and selection, apart from the rest of the session.
#include "core/session/EditSession.h"

#include "core/code/CodeFormats.h"
#include "core/session/GlyphSet.h"
#include "core/session/Texts.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace tessaldo {

namespace {

// The dots, in ascending order, in which two pictures of one size differ.
std::vector<int> DifferingDots(const Dots &was, const Dots &is)
{
    std::vector<int> dots;
    for (std::size_t i = 0; i < was.size(); ++i)
        if (was[i] != is[i])
            dots.push_back(static_cast<int>(i));
    return dots;
}

// Where `cell` is in dots of `size` that run along rows, as a selection holds them.
std::size_t AlongRows(Cell cell, PictureSize size)
{
    return static_cast<std::size_t>(cell.row) * static_cast<std::size_t>(size.width)
           + static_cast<std::size_t>(cell.column);
}

DotState Opposite(DotState state)
{
    return state == DotState::Set ? DotState::Clear : DotState::Set;
}

// Every dot of `rect`, which lies inside the picture, made clear.
void ClearCells(DotGrid &grid, CellRect rect)
{
    for (int row = 0; row < rect.size.height; ++row)
        for (int column = 0; column < rect.size.width; ++column)
            grid.SetDot(grid.DotAt({rect.topLeft.column + column, rect.topLeft.row + row}), DotState::Clear);
}

} // namespace

void EditSession::SetTool(Tool tool)
{
    EndStroke();
    m_tool = tool;
    Announce();
}

void EditSession::SetFilledShapes(bool filled)
{
    m_filledShapes = filled;
    Announce();
}

void EditSession::SetToolColour(DotState colour)
{
    m_toolColour = colour;
    Announce();
}

void EditSession::SwapToolColour()
{
    SetToolColour(Opposite(m_toolColour));
}

void EditSession::BeginLiveChange(const std::string &caption, bool movesSelection)
{
    if (m_live && m_live->movesSelection != movesSelection)
        EndLiveChange(); // a selection's move broken into by a shape, or the other way round: two steps
    if (m_live)
        return;
    if (m_stroke)
        EndStroke();
    m_playing = false;
    m_live = LiveChange{caption, m_document.Edited().dots, movesSelection};
}

void EditSession::EndLiveChange()
{
    if (!m_live)
        return;
    const LiveChange live = *std::exchange(m_live, std::nullopt);
    const std::vector<int> flipped = DifferingDots(live.before, m_document.Edited().dots);
    if (flipped.empty())
        return;
    m_history.PushFlips(live.caption, m_document, flipped);
    Announce();
}

void EditSession::DragShape(Cell from, Cell to, bool constrained)
{
    const DotGrid grid = Grid();
    const PictureSize size = grid.Size();
    if (!IsInside(from, size))
        return;
    const bool filled = m_filledShapes;
    std::vector<Cell> cells;
    std::string caption;
    switch (m_tool) {
    case Tool::Line:
        caption = "Line";
        cells = LineCells(from, constrained ? StraightLineEnd(from, to) : to);
        break;
    case Tool::Rectangle:
        caption = "Rectangle";
        cells = RectangleCells(from, constrained ? SquareEnd(from, to) : to, filled);
        break;
    case Tool::Ellipse:
        caption = "Ellipse";
        cells = EllipseCells(from, constrained ? SquareEnd(from, to) : to, filled);
        break;
    default:
        return;
    }
    m_selection.reset();
    BeginLiveChange(caption, false);
    m_live->caption = caption;
    Dots &dots = m_document.Edited().dots;
    dots = m_live->before;
    for (const Cell cell : cells)
        if (IsInside(cell, size))
            dots[static_cast<std::size_t>(grid.DotAt(cell))] = m_toolColour;
    Announce();
}

void EditSession::CancelShape()
{
    if (!m_live || m_live->movesSelection)
        return;
    m_document.Edited().dots = std::exchange(m_live, std::nullopt)->before;
    Announce();
}

void EditSession::Fill(Cell at)
{
    EndStroke();
    m_playing = false;
    const std::vector<int> reached = FloodDots(Grid(), at);
    Dots &dots = m_document.Edited().dots;
    // Every dot a fill reaches has the state of the first, so it flips them all or changes nothing.
    if (reached.empty() || dots[static_cast<std::size_t>(reached.front())] == m_toolColour)
        return;
    for (const int dot : reached)
        dots[static_cast<std::size_t>(dot)] = m_toolColour;
    // Kept as the runs it flipped: an 800 x 480 fill is one run, not two copies of the document.
    m_history.PushFlips("Fill", m_document, reached);
    m_selection.reset();
    Announce();
}

void EditSession::SelectCells(Cell a, Cell b)
{
    EndStroke();
    const std::optional<CellRect> rect = ClippedRect(RectBetween(a, b), m_document.Size());
    if (!rect)
        m_selection.reset();
    else
        m_selection = Selected{*rect, std::nullopt, std::nullopt, rect->topLeft};
    Announce();
}

void EditSession::SelectAll()
{
    const PictureSize size = m_document.Size();
    SelectCells({0, 0}, {size.width - 1, size.height - 1});
}

void EditSession::SelectNone()
{
    EndStroke();
    if (!m_selection)
        return;
    m_selection.reset();
    Announce();
}

std::optional<CellRect> EditSession::Selection() const
{
    if (!m_selection)
        return std::nullopt;
    return ClippedRect(m_selection->rect, m_document.Size());
}

std::optional<Dots> EditSession::SelectedDots() const
{
    if (!m_selection)
        return std::nullopt;
    if (m_selection->held)
        return m_selection->held;
    const CellRect rect = m_selection->rect;
    const DotGrid grid = Grid();
    Dots held(rect.size);
    for (int row = 0; row < rect.size.height; ++row)
        for (int column = 0; column < rect.size.width; ++column)
            held[AlongRows({column, row}, rect.size)] =
                grid.State(grid.DotAt({rect.topLeft.column + column, rect.topLeft.row + row}));
    return held;
}

std::string EditSession::SelectionArrayText() const
{
    const std::optional<Dots> held = SelectedDots();
    if (!held)
        return {};
    // In the set's type, so that a 16 x 16 selection gives the module the bytes its picture would.
    DotGrid grid;
    grid.SetLCDType(m_document.type);
    const PictureSize size = held->Size();
    grid.SetAllDots(Dots(size));
    for (int row = 0; row < size.height; ++row)
        for (int column = 0; column < size.width; ++column)
            grid.SetDot(grid.DotAt({column, row}), (*held)[AlongRows({column, row}, size)]);
    const CodeFormat form = IsModuleSize(size) ? ArrayForm() : SizedArrayForm(ArrayForm());
    const Result<std::string> code = PictureCode({grid, m_document.Edited().name, "the Tessaldo window"}, form);
    if (!code)
        throw std::logic_error(code.message());
    return code.value();
}

void EditSession::PlaceSelection()
{
    const Selected &selection = *m_selection;
    DotGrid placed = Grid();
    placed.SetAllDots(*selection.under);
    const PictureSize size = placed.Size();
    const PictureSize held = selection.held->Size();
    for (int row = 0; row < held.height; ++row)
        for (int column = 0; column < held.width; ++column) {
            const Cell cell{selection.rect.topLeft.column + column, selection.rect.topLeft.row + row};
            if (IsInside(cell, size))
                placed.SetDot(placed.DotAt(cell), (*selection.held)[AlongRows({column, row}, held)]);
        }
    m_document.Edited().dots = placed.AllDots();
}

void EditSession::DragSelection(int dx, int dy)
{
    if (!m_selection)
        return;
    if (!m_live) {
        BeginLiveChange("Move Selection", true);
        if (!m_selection->held) {
            m_selection->held = SelectedDots();
            // The picture with the selection lifted out: what it leaves behind is clear.
            DotGrid under = Grid();
            ClearCells(under, m_selection->rect);
            m_selection->under = under.AllDots();
        }
        m_selection->dragFrom = m_selection->rect.topLeft;
    }
    m_selection->rect.topLeft = {m_selection->dragFrom.column + dx, m_selection->dragFrom.row + dy};
    PlaceSelection();
    Announce();
}

void EditSession::DeleteSelection()
{
    const std::optional<CellRect> rect = Selection();
    if (!rect)
        return;
    Change("Delete", [&rect](Document &document) {
        DotGrid grid = document.Grid();
        ClearCells(grid, *rect);
        document.Edited().dots = grid.AllDots();
    });
    m_selection = Selected{*rect, std::nullopt, std::nullopt, rect->topLeft};
    Announce();
}

std::string EditSession::PasteAt(const Dots &dots, Cell topLeft)
{
    const PictureSize size = m_document.Size();
    if (dots.Size().width > size.width || dots.Size().height > size.height)
        return FilledText(TextId::PasteTooLarge, {PictureSizeText(dots.Size()), PictureSizeText(size)});
    EndStroke();
    // Kept inside the picture, so that all that was pasted shows.
    topLeft.column = std::clamp(topLeft.column, 0, size.width - dots.Size().width);
    topLeft.row = std::clamp(topLeft.row, 0, size.height - dots.Size().height);
    m_selection = Selected{{topLeft, dots.Size()}, dots, m_document.Edited().dots, topLeft};
    BeginLiveChange("Paste", true);
    PlaceSelection();
    EndLiveChange();
    Announce();
    return {};
}

void EditSession::ApplyToSelection(Transform transform)
{
    EndStroke(); // a turn during a drag is a step of its own
    std::optional<Dots> held = SelectedDots();
    if (!held)
        return;
    // What a selection holds runs along rows, as any picture but the module's does; at 16 x 16 that is the row type.
    DotGrid grid;
    grid.SetLCDType(LcdType::Row);
    grid.SetAllDots(*std::move(held));
    ApplyTransform(grid, transform);
    if (!m_selection->held) {
        DragSelection(0, 0); // lifted first, so that a turn may reach past where it was
        m_live->caption = std::string(TransformName(transform));
    } else {
        BeginLiveChange(std::string(TransformName(transform)), true);
    }
    m_selection->held = grid.AllDots();
    m_selection->rect.size = grid.Size();
    PlaceSelection();
    EndLiveChange();
    Announce();
}

void EditSession::SetPreviewShown(bool shown)
{
    m_previewShown = shown;
    Announce();
}

bool EditSession::PreviewShown() const
{
    return m_previewShown.value_or(!IsModuleSize(m_document.Size()));
}

void EditSession::SetPreviewDisplay(std::size_t index)
{
    if (index >= Displays().size())
        return;
    m_previewDisplay = index;
    m_arrayForm = FormOfDisplay(Displays()[index]);
    m_previewColours.reset();
    Announce();
}

std::size_t EditSession::PreviewDisplay() const
{
    if (m_previewDisplay)
        return *m_previewDisplay;
    // A font's glyphs show as a line of its sample text, which a display of the glyph's size would cut.
    return HoldsFont() ? SampleDisplay(m_document) : DisplayHolding(m_document.Size());
}

void EditSession::SetPreviewColours(PanelColours colours)
{
    m_previewColours = colours;
    Announce();
}

PanelColours EditSession::PreviewColours() const
{
    return m_previewColours.value_or(Displays()[PreviewDisplay()].colours);
}

} // namespace tessaldo
