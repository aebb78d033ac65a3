#include "ui/canvas/DotGridView.h"

#include "core/code/CodeGenerator.h"
#include "core/session/Canvas.h"
#include "core/session/Texts.h"
#include "ui/canvas/DotGridAccessible.h"
#include "ui/common/Utf8.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QGestureEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPinchGesture>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

using namespace tessaldo;

namespace {

const int kGridPixels = CanvasPixels(kGridSide, DotGridView::kCellPixels);
const QColor kFocusColor(30, 110, 255);
// Far lighter than a set dot, yet plainly not white.
const QColor kOnionColor(200, 200, 200);
const QColor kClearColor(255, 255, 255);
const QColor kSetColor(0, 0, 0);
const QColor kLineColor(128, 128, 128);
// A pinch this much wider or narrower than where it last zoomed takes a zoom step.
constexpr double kPinchStep = 1.25;

} // namespace

DotGridView::DotGridView(const DotGrid &grid, QWidget *parent)
    : QWidget(parent),
      m_grid(grid),
      m_columns(new QScrollBar(Qt::Horizontal, this)),
      m_rows(new QScrollBar(Qt::Vertical, this)),
      m_gesture(static_cast<double>(kCellPixels))
{
    // Before anything below can make the toolkit build a plain interface for this widget.
    static const bool kAccessibleInstalled = [] {
        QAccessible::installFactory(&DotGridAccessible::Create);
        return true;
    }();
    Q_UNUSED(kAccessibleInstalled);
    resize(kGridPixels, kGridPixels);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    grabGesture(Qt::PinchGesture);
    for (QScrollBar *bar : {m_columns, m_rows}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            m_viewport.ScrollTo({m_columns->value(), m_rows->value()});
            update();
        });
    }
    RefreshSize();
}

void DotGridView::RefreshDots(std::span<const int> dots)
{
    constexpr std::size_t kMostCellsAlone = 16;
    if (dots.size() > kMostCellsAlone)
        update();
    // Past the module's count a screen reader hears of the change as a whole, not dot by dot.
    const bool eachDot = dots.size() <= static_cast<std::size_t>(kDotCount);
    for (const int dot : dots) {
        PaintImageDot(dot);
        if (dots.size() <= kMostCellsAlone)
            update(CellRect(dot));
        if (eachDot)
            NotifyAccessibleState(dot);
    }
    if (!eachDot) {
        QAccessibleEvent changed(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&changed);
    }
}

void DotGridView::RefreshSize()
{
    const PictureSize size = m_grid.Size();
    m_image = QImage(size.width, size.height, QImage::Format_RGB32);
    RepaintImage();
    m_focusCell = {std::min(m_focusCell.column, size.width - 1), std::min(m_focusCell.row, size.height - 1)};
    m_viewport.Fit();
    PlaceScrollBars();
    update();
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
    RepaintImage();
    update();
}

void DotGridView::SetLayout(LcdType layout)
{
    m_layout = layout;
    RepaintImage();
    update();
}

void DotGridView::SetTool(Tool tool)
{
    if (tool != m_tool)
        m_keyFrom.reset();
    m_tool = tool;
}

void DotGridView::SetSelection(const std::optional<tessaldo::CellRect> &selection)
{
    if (selection == m_selection)
        return;
    m_selection = selection;
    update();
}

void DotGridView::PaintImageDot(int dot)
{
    if (!m_grid.HasDot(dot) || m_image.isNull())
        return;
    const Cell cell = CellOfDot(m_layout, dot, m_grid.Size());
    const bool onion = m_onionDots && m_onionDots->size() == m_grid.AllDots().size()
                       && (*m_onionDots)[static_cast<std::size_t>(dot)] == DotState::Set;
    const QColor &colour = m_grid.IsSet(dot) ? kSetColor : onion ? kOnionColor : kClearColor;
    reinterpret_cast<QRgb *>(m_image.scanLine(cell.row))[cell.column] = colour.rgb();
}

void DotGridView::RepaintImage()
{
    for (int dot = 0; dot < m_grid.Size().DotCount(); ++dot)
        PaintImageDot(dot);
}

QRect DotGridView::CellRect(int dot) const
{
    return m_viewport.CellRect(CellOfDot(m_layout, dot, m_grid.Size()));
}

Cell DotGridView::CellAt(QPoint point) const
{
    return m_viewport.CellAt(point);
}

int DotGridView::DotAt(QPoint point) const
{
    const Cell cell = CellAt(point);
    return IsInside(cell, m_grid.Size()) ? DotAtCell(m_layout, cell, m_grid.Size()) : -1;
}

int DotGridView::FocusDot() const
{
    return DotAtCell(m_layout, m_focusCell, m_grid.Size());
}

QSize DotGridView::sizeHint() const
{
    return {kGridPixels, kGridPixels};
}

void DotGridView::ZoomIn()
{
    ZoomAbout(ZoomedIn(CurrentZoom()), QRectF(rect()).center());
}

void DotGridView::ZoomOut()
{
    ZoomAbout(ZoomedOut(CurrentZoom()), QRectF(rect()).center());
}

void DotGridView::SetRoomRight(int columns)
{
    if (columns == m_viewport.RoomRight())
        return;
    m_viewport.SetRoomRight(columns);
    PlaceScrollBars();
    update();
}

void DotGridView::ZoomToFit()
{
    m_viewport.Fit();
    PlaceScrollBars();
    update();
}

void DotGridView::ZoomAbout(tessaldo::Zoom zoom, QPointF about)
{
    m_viewport.ZoomTo(zoom, about);
    PlaceScrollBars();
    update();
}

void DotGridView::PlaceScrollBars()
{
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    m_viewport.Show(m_grid.Size(), size());
    const QSize canvas = m_viewport.Canvas();
    bool columns = canvas.width() > width();
    const bool rows = canvas.height() > height() || (columns && canvas.height() > height() - extent);
    columns = columns || (rows && canvas.width() > width() - extent);
    const QSize area(width() - (rows ? extent : 0), height() - (columns ? extent : 0));
    m_viewport.Show(m_grid.Size(), area);
    m_columns->setGeometry(0, area.height(), area.width(), extent);
    m_rows->setGeometry(area.width(), 0, extent, area.height());
    m_columns->setVisible(columns);
    m_rows->setVisible(rows);
    const QSize over = m_viewport.Overflow();
    for (auto [bar, range, page] :
         {std::tuple{m_columns, over.width(), area.width()}, std::tuple{m_rows, over.height(), area.height()}}) {
        const QSignalBlocker quiet(bar);
        bar->setRange(0, range);
        bar->setPageStep(page);
        bar->setSingleStep(std::max(CellPixels(), page / 20));
    }
    ShowScroll();
    if (!m_gesture.IsPressed())
        m_gesture = GridGesture(m_viewport.DotPixels());
    emit Zoomed();
}

void DotGridView::ShowScroll()
{
    const QSignalBlocker quietColumns(m_columns);
    const QSignalBlocker quietRows(m_rows);
    m_columns->setValue(m_viewport.Scroll().x());
    m_rows->setValue(m_viewport.Scroll().y());
}

bool DotGridView::CanPan() const
{
    return !m_viewport.Overflow().isNull();
}

void DotGridView::PanBy(QPoint pixels)
{
    m_viewport.ScrollTo(m_viewport.Scroll() + pixels);
    ShowScroll();
    update();
}

void DotGridView::resizeEvent(QResizeEvent *)
{
    PlaceScrollBars();
}

bool DotGridView::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ToolTip: {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int dot = DotAt(help->pos());
        // Where a dot's bit lands is the module's code alone.
        if (dot < 0 || !IsModuleSize(m_grid.Size()))
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), QString::fromStdString(DescribeDotBit(dot)), this, CellRect(dot));
        return true;
    }
    case QEvent::Leave:
        ShowPointer({-1, -1});
        break;
    case QEvent::ShortcutOverride: {
        // While Space's shape is open, Escape gives it up and Shift with an arrow moves its end, not the picture.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (m_keyFrom && (key == Qt::Key_Escape || !ArrowStep(key).isNull())) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::Gesture: {
        auto *pinch = static_cast<QPinchGesture *>(static_cast<QGestureEvent *>(event)->gesture(Qt::PinchGesture));
        if (pinch == nullptr)
            break;
        const QPointF at = mapFromGlobal(pinch->centerPoint());
        PanBy((pinch->lastCenterPoint() - pinch->centerPoint()).toPoint());
        if (pinch->totalScaleFactor() >= kPinchStep || pinch->totalScaleFactor() <= 1 / kPinchStep) {
            ZoomAbout(pinch->totalScaleFactor() > 1 ? ZoomedIn(CurrentZoom()) : ZoomedOut(CurrentZoom()), at);
            pinch->setTotalScaleFactor(1);
        }
        return true;
    }
    default:
        break;
    }
    return QWidget::event(event);
}

void DotGridView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect picture(m_viewport.Origin(), m_viewport.Canvas());
    if (!picture.contains(event->rect()))
        painter.fillRect(event->rect(), palette().color(QPalette::Window));
    // Only the cells the repaint reaches, so that a large picture costs what shows of it.
    const QRect shown = event->rect() & picture;
    if (CurrentZoom().dotsPerPixel > 1) {
        PaintBlocks(painter, shown.translated(-picture.topLeft()));
    } else {
        const int side = CellPixels();
        const QPoint from = shown.topLeft() - picture.topLeft();
        const QPoint to = shown.bottomRight() - picture.topLeft();
        const PictureSize size = m_grid.Size();
        const QRect cells(QPoint(from.x() / side, from.y() / side),
                          QPoint(std::min(to.x() / side, size.width - 1), std::min(to.y() / side, size.height - 1)));
        if (!shown.isEmpty() && cells.isValid()) {
            painter.drawImage(QRect(picture.topLeft() + cells.topLeft() * side, cells.size() * side), m_image, cells);
            if (ShowsGridLines(side))
                PaintGridLines(painter, cells);
        }
    }
    PaintSelection(painter);
    if (hasFocus())
        PaintFocusRing(painter);
}

void DotGridView::PaintBlocks(QPainter &painter, QRect pixels) const
{
    // A pixel a block of dots, as grey as the share of its dots set, and never
    // as light as a clear dot where one is: a one-dot line stays in sight.
    if (pixels.isEmpty())
        return;
    const int shrink = CurrentZoom().dotsPerPixel;
    QImage blocks(pixels.size(), QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(blocks.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const int light =
                kClearColor.value()
                - BlockInk(m_grid.AllDots(), (pixels.left() + x) * shrink, (pixels.top() + y) * shrink, shrink);
            line[x] = qRgb(light, light, light);
        }
    }
    painter.drawImage(pixels.topLeft() + m_viewport.Origin(), blocks);
}

void DotGridView::PaintGridLines(QPainter &painter, QRect cells) const
{
    // Drawn over the cells, so that neighbouring set dots still read as separate cells.
    const int side = CellPixels();
    const QPoint origin = m_viewport.Origin();
    const int top = origin.y() + cells.top() * side;
    const int bottom = origin.y() + (cells.bottom() + 1) * side;
    const int left = origin.x() + cells.left() * side;
    const int right = origin.x() + (cells.right() + 1) * side;
    painter.setPen(QPen(kLineColor, 0));
    for (int column = cells.left(); column <= cells.right() + 1; ++column)
        painter.drawLine(origin.x() + column * side, top, origin.x() + column * side, bottom);
    for (int row = cells.top(); row <= cells.bottom() + 1; ++row)
        painter.drawLine(left, origin.y() + row * side, right, origin.y() + row * side);
}

void DotGridView::PaintSelection(QPainter &painter) const
{
    if (!m_selection)
        return;
    const Cell last{m_selection->topLeft.column + m_selection->size.width - 1,
                    m_selection->topLeft.row + m_selection->size.height - 1};
    const QRect around = m_viewport.CellRect(m_selection->topLeft).united(m_viewport.CellRect(last));
    // Dashes over a solid line read on white and on black alike.
    painter.setPen(QPen(Qt::white, 0));
    painter.drawRect(around);
    painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
    painter.drawRect(around);
}

void DotGridView::PaintFocusRing(QPainter &painter) const
{
    const QRect cell = CellRect(FocusDot());
    constexpr int kRing = 2;
    if (cell.width() < 3 * kRing) { // too small to ring inside: an outline around it
        painter.setPen(QPen(kFocusColor, 0));
        painter.drawRect(cell.adjusted(-1, -1, 0, 0));
        return;
    }
    // A two-pixel ring just inside the grid lines, visible on white and on black.
    const QRect inside = cell.adjusted(1, 1, 0, 0);
    painter.fillRect(inside.left(), inside.top(), inside.width(), kRing, kFocusColor);
    painter.fillRect(inside.left(), inside.bottom() - kRing + 1, inside.width(), kRing, kFocusColor);
    painter.fillRect(inside.left(), inside.top(), kRing, inside.height(), kFocusColor);
    painter.fillRect(inside.right() - kRing + 1, inside.top(), kRing, inside.height(), kFocusColor);
}
