#pragma once

#include "core/model/DotGrid.h"
#include "core/model/Shapes.h"
#include "core/session/GridGesture.h"
#include "ui/canvas/CanvasViewport.h"

#include <QImage>
#include <QWidget>

#include <optional>
#include <span>

class QScrollBar;

// Shows the picture, a dot a cell of whole pixels or, zoomed out, a block of
// dots a grey pixel, and turns mouse and keyboard input into requests on its
// dots. At 16 x 16 in the window as
// designed it is the module's grid of 13-pixel cells; a larger widget or
// picture zooms, and a picture larger than the widget pans by scroll bars,
// the wheel, a middle drag or Space and a drag. It only reads the picture;
// the main window changes it.
class DotGridView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCellPixels = 13;

    explicit DotGridView(const tessaldo::DotGrid &grid, QWidget *parent = nullptr);

    const tessaldo::DotGrid &Grid() const { return m_grid; }
    tessaldo::LcdType Layout() const { return m_layout; }
    void SetLayout(tessaldo::LcdType layout);
    int CellPixels() const { return m_viewport.CellPixels(); }
    tessaldo::Zoom CurrentZoom() const { return m_viewport.CurrentZoom(); }

    // The cell of `dot` in this widget's coordinates, its left and top border included.
    QRect CellRect(int dot) const;
    // The dot under `point`, or -1 where there is none.
    int DotAt(QPoint point) const;
    // The cell under `point`, inside the picture or not.
    tessaldo::Cell CellAt(QPoint point) const;
    // The dot under the keyboard's focus cell.
    int FocusDot() const;
    // The cell the last menu was asked for at: under the pointer, or the focus cell's.
    tessaldo::Cell MenuCell() const { return m_menuCell; }

    // Shows a change of these dots of the picture: a few cells are drawn
    // again alone, many as the whole grid, which is quicker than a region of
    // a hundred cells.
    void RefreshDots(std::span<const int> dots);
    // The picture took another size: shown whole again, at the cell that fits.
    void RefreshSize();
    // Blank columns kept in view right of the picture (CanvasViewport::SetRoomRight).
    void SetRoomRight(int columns);
    // Dots of another picture shown faintly under the clear cells, or none.
    void SetOnionDots(const std::optional<tessaldo::DotGrid::Dots> &dots);
    // What a press and a drag do; the rectangle the selection tool marked, drawn around.
    void SetTool(tessaldo::Tool tool);
    void SetSelection(const std::optional<tessaldo::CellRect> &selection);

    void ZoomIn();
    void ZoomOut();
    void ZoomToFit();

    QSize sizeHint() const override;

signals:
    // A press and a release on the same dot, or Space on the focus cell.
    void DotClicked(int dot);
    // A drag asks for `dot` to take `state`.
    void DotPainted(int dot, tessaldo::DotState state);
    // The drag that painted, drew a shape or moved the selection ended: its dots form one change.
    void StrokeFinished();
    // The tools other than the pencil: a shape dragged, Shift held or not, a
    // fill clicked, a selection marked, the selection dragged by whole cells.
    void ShapeDragged(tessaldo::Cell from, tessaldo::Cell to, bool constrained);
    void FillClicked(tessaldo::Cell at);
    void CellsSelected(tessaldo::Cell from, tessaldo::Cell to);
    void SelectionDragged(int columns, int rows);
    // Escape gave up the shape or the selection Space began at the focus cell.
    void ToolCancelled();
    // The right button, the Menu key or Shift+F10; the place is on the screen.
    void ContextMenuRequested(QPoint globalPos);
    // The zoom was set again: stepped, fitted, or the view resized.
    void Zoomed();
    // The cell under the pointer, as the user reads it, or "" where the pointer left the picture.
    void PointerMoved(const QString &where);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // A drag of one of the tools other than the pencil: where it began.
    struct ToolDrag {
        tessaldo::Cell from;
        bool movesSelection = false;
    };

    tessaldo::PointF PointOf(const QMouseEvent *event) const;
    void PaintGridLines(QPainter &painter, QRect cells) const;
    // Below a pixel a dot: the blocks of dots under `pixels`, in the picture's own pixels.
    void PaintBlocks(QPainter &painter, QRect pixels) const;
    void PaintSelection(QPainter &painter) const;
    void PaintFocusRing(QPainter &painter) const;
    void PaintImageDot(int dot);
    void RepaintImage();
    // The scroll bars shown where the picture overflows, and the viewport told what is left.
    void PlaceScrollBars();
    void ShowScroll();
    void ZoomAbout(tessaldo::Zoom zoom, QPointF about);
    bool CanPan() const;
    void PanBy(QPoint pixels);
    void PressTool(QMouseEvent *event);
    void MoveTool(QMouseEvent *event);
    void ShowPointer(QPoint point);
    // The cells an arrow key steps by, or none for any other key.
    static QPoint ArrowStep(int key);
    bool MoveFocusByKey(const QKeyEvent *event);
    // Space at the focus cell: the pencil's toggle, the fill, or a shape's or selection's start or end.
    void SpaceAtFocus(bool constrained);
    // Enter, Escape, and the arrows moving a lifted selection; false for a key the tool leaves alone.
    bool UseToolByKey(const QKeyEvent *event);
    // The shape or selection Space began, drawn again to the focus cell.
    void FollowKeyGesture(bool constrained);
    void MoveFocusCell(int columns, int rows);
    void MoveFocusCellTo(tessaldo::Cell cell);
    void ScrollToFocusCell();
    void RequestMenuAtFocusCell();
    void NotifyAccessibleFocus();
    void NotifyAccessibleState(int dot);

    const tessaldo::DotGrid &m_grid;
    tessaldo::LcdType m_layout = tessaldo::LcdType::Column;
    std::optional<tessaldo::DotGrid::Dots> m_onionDots;
    // The picture a pixel a dot, in the colours of its cells, drawn scaled without smoothing.
    QImage m_image;
    tessaldo::Cell m_focusCell; // in screen cells, so arrows follow the screen in both layouts
    tessaldo::Cell m_menuCell;
    CanvasViewport m_viewport;
    QScrollBar *m_columns = nullptr;
    QScrollBar *m_rows = nullptr;

    tessaldo::Tool m_tool = tessaldo::Tool::Pencil;
    std::optional<tessaldo::CellRect> m_selection;
    std::optional<ToolDrag> m_toolDrag;
    std::optional<tessaldo::Cell> m_keyFrom; // where Space began a shape or a selection
    std::optional<QPoint> m_panFrom;
    bool m_spaceHeld = false;
    bool m_spacePanned = false;
    QString m_pointer;

    tessaldo::GridGesture m_gesture;
};
