#include "DotGridView.h"

#include "DotGridAccessible.h"
#include "PicturePainter.h"
#include "core/code/CodeGenerator.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

using namespace tessaldo;

namespace {

const int kGridPixels = PicturePixels(DotGridView::kCellPixels, true);
const QColor kFocusColor(30, 110, 255);
// Far lighter than a set dot, yet plainly not white.
const QColor kOnionColor(200, 200, 200);

} // namespace

DotGridView::DotGridView(const DotGrid &grid, QWidget *parent) : QWidget(parent), m_grid(grid), m_gesture(kCellPixels)
{
    // Before anything below can make the toolkit build a plain interface for this widget.
    static const bool kAccessibleInstalled = [] {
        QAccessible::installFactory(&DotGridAccessible::Create);
        return true;
    }();
    Q_UNUSED(kAccessibleInstalled);
    setFixedSize(kGridPixels, kGridPixels);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void DotGridView::RefreshDots(std::span<const int> dots)
{
    constexpr std::size_t kMostCellsAlone = 16;
    if (dots.size() > kMostCellsAlone)
        update();
    for (const int dot : dots) {
        if (dots.size() <= kMostCellsAlone)
            update(CellRect(dot));
        NotifyAccessibleState(dot);
    }
}

void DotGridView::NotifyAccessibleState(int dot)
{
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    event.setChild(dot);
    QAccessible::updateAccessibility(&event);
}

void DotGridView::SetOnionDots(const std::optional<DotGrid::Dots> &dots)
{
    if (dots == m_onionDots)
        return;
    m_onionDots = dots;
    update();
}

void DotGridView::SetLayout(LcdType layout)
{
    m_layout = layout;
    update();
}

QRect DotGridView::CellRect(int dot) const
{
    const Cell cell = CellOfDot(m_layout, dot);
    return {cell.column * kCellPixels, cell.row * kCellPixels, kCellPixels, kCellPixels};
}

int DotGridView::DotAt(QPoint point) const
{
    if (point.x() < 0 || point.y() < 0)
        return -1;
    const Cell cell{point.x() / kCellPixels, point.y() / kCellPixels};
    return IsInsideGrid(cell) ? DotAtCell(m_layout, cell) : -1;
}

int DotGridView::FocusDot() const
{
    return DotAtCell(m_layout, m_focusCell);
}

QSize DotGridView::sizeHint() const
{
    return {kGridPixels, kGridPixels};
}

bool DotGridView::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int dot = DotAt(help->pos());
        if (dot < 0)
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), QString::fromStdString(DescribeDotBit(dot)), this, CellRect(dot));
        return true;
    }
    return QWidget::event(event);
}

void DotGridView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PaintPicture(painter, m_grid, m_layout, kCellPixels, true);
    PaintOnionSkin(painter);
    if (hasFocus())
        PaintFocusRing(painter);
}

void DotGridView::PaintOnionSkin(QPainter &painter) const
{
    if (!m_onionDots)
        return;
    for (int dot = 0; dot < kDotCount; ++dot) {
        if (m_grid.IsClear(dot) && (*m_onionDots)[static_cast<std::size_t>(dot)] == DotState::Set)
            painter.fillRect(CellRect(dot).adjusted(1, 1, 0, 0), kOnionColor); // inside the grid lines
    }
}

void DotGridView::PaintFocusRing(QPainter &painter) const
{
    // A two-pixel ring just inside the grid lines, visible on white and on black.
    constexpr int kRing = 2;
    const QRect inside = CellRect(FocusDot()).adjusted(1, 1, 0, 0);
    painter.fillRect(inside.left(), inside.top(), inside.width(), kRing, kFocusColor);
    painter.fillRect(inside.left(), inside.bottom() - kRing + 1, inside.width(), kRing, kFocusColor);
    painter.fillRect(inside.left(), inside.top(), kRing, inside.height(), kFocusColor);
    painter.fillRect(inside.right() - kRing + 1, inside.top(), kRing, inside.height(), kFocusColor);
}

void DotGridView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int pressed = DotAt(event->position().toPoint());
    m_gesture.Press(pressed, PointOf(event), m_layout);
    // The keyboard carries on from where the mouse last pressed.
    if (pressed >= 0)
        MoveFocusCellTo(CellOfDot(m_layout, pressed));
}

void DotGridView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const auto painted = m_gesture.Move(DotAt(event->position().toPoint()), PointOf(event), m_grid);
    for (const int dot : painted)
        emit DotPainted(dot, m_gesture.PaintState());
}

void DotGridView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
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

PointF DotGridView::PointOf(const QMouseEvent *event)
{
    return {event->position().x(), event->position().y()};
}

void DotGridView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        MoveFocusCell(-1, 0);
        break;
    case Qt::Key_Right:
        MoveFocusCell(1, 0);
        break;
    case Qt::Key_Up:
        MoveFocusCell(0, -1);
        break;
    case Qt::Key_Down:
        MoveFocusCell(0, 1);
        break;
    case Qt::Key_Space:
        emit DotClicked(FocusDot());
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

void DotGridView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Keyboard)
        RequestMenuAtFocusCell();
    else
        emit ContextMenuRequested(event->globalPos());
}

void DotGridView::RequestMenuAtFocusCell()
{
    emit ContextMenuRequested(mapToGlobal(CellRect(FocusDot()).center()));
}

void DotGridView::MoveFocusCell(int columns, int rows)
{
    MoveFocusCellTo({std::clamp(m_focusCell.column + columns, 0, kGridSide - 1),
                     std::clamp(m_focusCell.row + rows, 0, kGridSide - 1)});
}

void DotGridView::MoveFocusCellTo(Cell cell)
{
    if (cell == m_focusCell)
        return;
    update(CellRect(FocusDot()));
    m_focusCell = cell;
    update(CellRect(FocusDot()));
    NotifyAccessibleFocus();
}

void DotGridView::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update(CellRect(FocusDot()));
    NotifyAccessibleFocus();
}

void DotGridView::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update(CellRect(FocusDot()));
}

void DotGridView::NotifyAccessibleFocus()
{
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(FocusDot());
    QAccessible::updateAccessibility(&focus);
}
