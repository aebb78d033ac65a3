// The canvas's mouse, wheel and keys: the pencil's gesture, the other tools'
// drags, panning, zooming and the keyboard's cell.
#include "ui/canvas/DotGridView.h"

#include "core/session/Canvas.h"
#include "core/session/Texts.h"
#include "ui/common/Utf8.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

using namespace tessaldo;

void DotGridView::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && m_spaceHeld && CanPan())) {
        m_panFrom = at;
        m_spacePanned = m_spaceHeld;
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const int pressed = DotAt(at);
    if (m_tool == Tool::Pencil)
        m_gesture.Press(pressed, PointOf(event), m_layout);
    else
        PressTool(event);
    // The keyboard carries on from where the mouse last pressed.
    if (pressed >= 0)
        MoveFocusCellTo(CellOfDot(m_layout, pressed, m_grid.Size()));
}

void DotGridView::PressTool(QMouseEvent *event)
{
    const Cell cell = CellAt(event->position().toPoint());
    if (!IsInside(cell, m_grid.Size()))
        return;
    switch (m_tool) {
    case Tool::Fill:
        emit FillClicked(cell);
        return;
    case Tool::Select: {
        const bool inside = m_selection && cell.column >= m_selection->topLeft.column
                            && cell.row >= m_selection->topLeft.row
                            && cell.column < m_selection->topLeft.column + m_selection->size.width
                            && cell.row < m_selection->topLeft.row + m_selection->size.height;
        m_toolDrag = ToolDrag{cell, inside};
        if (!inside)
            emit CellsSelected(cell, cell);
        return;
    }
    default:
        m_toolDrag = ToolDrag{cell};
        emit ShapeDragged(cell, cell, event->modifiers().testFlag(Qt::ShiftModifier));
    }
}

void DotGridView::MoveTool(QMouseEvent *event)
{
    const Cell cell = CellAt(event->position().toPoint());
    const Cell from = m_toolDrag->from;
    if (m_tool != Tool::Select) {
        emit ShapeDragged(from, cell, event->modifiers().testFlag(Qt::ShiftModifier));
    } else if (m_toolDrag->movesSelection) {
        emit SelectionDragged(cell.column - from.column, cell.row - from.row);
    } else {
        const PictureSize size = m_grid.Size();
        emit CellsSelected(from,
                           {std::clamp(cell.column, 0, size.width - 1), std::clamp(cell.row, 0, size.height - 1)});
    }
}

void DotGridView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    ShowPointer(at);
    if (m_panFrom) {
        PanBy(*m_panFrom - at);
        m_panFrom = at;
        return;
    }
    if (!(event->buttons() & Qt::LeftButton))
        return;
    if (m_toolDrag) {
        MoveTool(event);
        return;
    }
    const auto painted = m_gesture.Move(DotAt(at), PointOf(event), m_grid);
    for (const int dot : painted)
        emit DotPainted(dot, m_gesture.PaintState());
}

void DotGridView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_panFrom && (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        m_panFrom.reset();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (m_toolDrag) {
        const bool changes = m_tool != Tool::Select || m_toolDrag->movesSelection;
        m_toolDrag.reset();
        if (changes)
            emit StrokeFinished();
        return;
    }
    switch (m_gesture.Release(DotAt(event->position().toPoint()))) {
    case GridGesture::End::Stroke:
        emit StrokeFinished();
        break;
    case GridGesture::End::Click:
        emit DotClicked(m_gesture.ClickedDot());
        break;
    case GridGesture::End::Nothing:
        break;
    }
}

PointF DotGridView::PointOf(const QMouseEvent *event) const
{
    // In the picture's own pixels, so that a scroll never reads as a stroke.
    const QPointF inPicture = event->position() - m_viewport.Origin();
    return {inPicture.x(), inPicture.y()};
}

void DotGridView::ShowPointer(QPoint point)
{
    const Cell cell = CellAt(point);
    const QString where =
        rect().contains(point) && IsInside(cell, m_grid.Size())
            ? FromUtf8(FilledText(TextId::PointerCell, {std::to_string(cell.column), std::to_string(cell.row)}))
            : QString();
    if (where == m_pointer)
        return;
    m_pointer = where;
    emit PointerMoved(where);
}

void DotGridView::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        const int notches = event->angleDelta().y();
        if (notches != 0)
            ZoomAbout(notches > 0 ? ZoomedIn(CurrentZoom()) : ZoomedOut(CurrentZoom()), event->position());
        return;
    }
    if (!CanPan()) {
        event->ignore();
        return;
    }
    // A notch of the wheel moves half as far as a scroll bar's arrows would ten times.
    QPoint delta = event->pixelDelta().isNull() ? event->angleDelta() / 2 : event->pixelDelta();
    if (event->modifiers().testFlag(Qt::ShiftModifier) && delta.x() == 0)
        delta = {delta.y(), 0};
    PanBy(-delta);
}

QPoint DotGridView::ArrowStep(int key)
{
    switch (key) {
    case Qt::Key_Left:
        return {-1, 0};
    case Qt::Key_Right:
        return {1, 0};
    case Qt::Key_Up:
        return {0, -1};
    case Qt::Key_Down:
        return {0, 1};
    default:
        return {};
    }
}

bool DotGridView::MoveFocusByKey(const QKeyEvent *event)
{
    const PictureSize size = m_grid.Size();
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    const Cell first = CellAt({0, 0});
    const Cell past =
        CellAt({m_rows->isVisible() ? m_rows->x() : width(), m_columns->isVisible() ? m_columns->y() : height()});
    const QSize screen(std::max(1, past.column - first.column), std::max(1, past.row - first.row));
    if (const QPoint step = ArrowStep(event->key()); !step.isNull()) {
        MoveFocusCell(step.x(), step.y());
        return true;
    }
    switch (event->key()) {
    case Qt::Key_Home:
        if (alt)
            MoveFocusCell(-screen.width(), 0);
        else
            MoveFocusCellTo({0, ctrl ? 0 : m_focusCell.row});
        return true;
    case Qt::Key_End:
        if (alt)
            MoveFocusCell(screen.width(), 0);
        else
            MoveFocusCellTo({size.width - 1, ctrl ? size.height - 1 : m_focusCell.row});
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // Without Alt these keys walk the set, as their commands say.
        if (!alt)
            return false;
        MoveFocusCell(0, event->key() == Qt::Key_PageUp ? -screen.height() : screen.height());
        return true;
    default:
        return false;
    }
}

void DotGridView::SpaceAtFocus(bool constrained)
{
    switch (m_tool) {
    case Tool::Pencil:
        emit DotClicked(FocusDot());
        return;
    case Tool::Fill:
        emit FillClicked(m_focusCell);
        return;
    default:
        break;
    }
    if (!m_keyFrom) {
        m_keyFrom = m_focusCell;
        FollowKeyGesture(constrained);
        return;
    }
    // The shape ends as it was last shown, as a mouse's release leaves it;
    // Shift on the ending Space still keeps it square, round or straight.
    if (constrained)
        FollowKeyGesture(true);
    m_keyFrom.reset();
    if (m_tool != Tool::Select)
        emit StrokeFinished();
}

void DotGridView::FollowKeyGesture(bool constrained)
{
    if (!m_keyFrom)
        return;
    if (m_tool == Tool::Select)
        emit CellsSelected(*m_keyFrom, m_focusCell);
    else
        emit ShapeDragged(*m_keyFrom, m_focusCell, constrained);
}

bool DotGridView::UseToolByKey(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        if (!m_keyFrom)
            return false; // the selection's own key lets it go
        m_keyFrom.reset();
        emit ToolCancelled();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_tool != Tool::Fill)
            return false;
        emit FillClicked(m_focusCell);
        return true;
    default:
        break;
    }
    const QPoint step = ArrowStep(event->key());
    if (step.isNull() || m_tool != Tool::Select || !m_selection || m_keyFrom)
        return false;
    emit SelectionDragged(step.x(), step.y());
    emit StrokeFinished();
    return true;
}

void DotGridView::keyPressEvent(QKeyEvent *event)
{
    if (UseToolByKey(event))
        return;
    if (MoveFocusByKey(event)) {
        FollowKeyGesture(event->modifiers().testFlag(Qt::ShiftModifier));
        return;
    }
    switch (event->key()) {
    case Qt::Key_Space:
        // Where the picture pans, Space held with a drag pans it; alone it still acts, once, as it comes up.
        if (!CanPan())
            SpaceAtFocus(event->modifiers().testFlag(Qt::ShiftModifier));
        else if (!event->isAutoRepeat())
            m_spaceHeld = true;
        break;
    case Qt::Key_F10:
        // The Menu key reaches contextMenuEvent by itself; Shift+F10 is its stand-in on keyboards without one.
        if (event->modifiers() == Qt::ShiftModifier)
            RequestMenuAtFocusCell();
        else
            QWidget::keyPressEvent(event);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void DotGridView::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space || event->isAutoRepeat() || !m_spaceHeld) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    m_spaceHeld = false;
    if (!std::exchange(m_spacePanned, false))
        SpaceAtFocus(event->modifiers().testFlag(Qt::ShiftModifier));
}

void DotGridView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) {
        RequestMenuAtFocusCell();
        return;
    }
    m_menuCell = CellAt(event->pos());
    emit ContextMenuRequested(event->globalPos());
}

void DotGridView::RequestMenuAtFocusCell()
{
    m_menuCell = m_focusCell;
    emit ContextMenuRequested(mapToGlobal(CellRect(FocusDot()).center()));
}

void DotGridView::MoveFocusCell(int columns, int rows)
{
    const PictureSize size = m_grid.Size();
    MoveFocusCellTo({std::clamp(m_focusCell.column + columns, 0, size.width - 1),
                     std::clamp(m_focusCell.row + rows, 0, size.height - 1)});
}

void DotGridView::MoveFocusCellTo(Cell cell)
{
    if (cell == m_focusCell)
        return;
    update(CellRect(FocusDot()).adjusted(-1, -1, 1, 1));
    m_focusCell = cell;
    ScrollToFocusCell();
    update(CellRect(FocusDot()).adjusted(-1, -1, 1, 1));
    NotifyAccessibleFocus();
}

void DotGridView::ScrollToFocusCell()
{
    if (!CanPan())
        return;
    const QRect cell = CellRect(FocusDot()).translated(-m_viewport.Origin());
    const QSize area(m_rows->isVisible() ? m_rows->x() : width(), m_columns->isVisible() ? m_columns->y() : height());
    QPoint scroll = m_viewport.Scroll();
    // The cell and its closing line in sight, its top-left first where the area is smaller.
    scroll.setX(std::min(std::max(scroll.x(), cell.right() + 2 - area.width()), cell.left()));
    scroll.setY(std::min(std::max(scroll.y(), cell.bottom() + 2 - area.height()), cell.top()));
    if (scroll != m_viewport.Scroll())
        PanBy(scroll - m_viewport.Scroll());
}

void DotGridView::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update(CellRect(FocusDot()).adjusted(-1, -1, 1, 1));
    NotifyAccessibleFocus();
}

void DotGridView::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    m_spaceHeld = false;
    update(CellRect(FocusDot()).adjusted(-1, -1, 1, 1));
}

void DotGridView::NotifyAccessibleFocus()
{
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(FocusDot());
    QAccessible::updateAccessibility(&focus);
}
