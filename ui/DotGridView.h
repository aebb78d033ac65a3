#pragma once

#include "core/model/DotGrid.h"
#include "core/session/GridGesture.h"

#include <QWidget>

#include <optional>
#include <span>

// Shows the 256 dots of the picture in one of the two layouts and turns
// mouse and keyboard input into requests on the dots. It only reads the
// picture; the main window changes it.
class DotGridView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCellPixels = 13;

    explicit DotGridView(const tessaldo::DotGrid &grid, QWidget *parent = nullptr);

    const tessaldo::DotGrid &Grid() const { return m_grid; }
    tessaldo::LcdType Layout() const { return m_layout; }
    void SetLayout(tessaldo::LcdType layout);

    // The cell of `dot` in this widget's coordinates, its left and top border included.
    QRect CellRect(int dot) const;
    // The dot under `point`, or -1 where there is none.
    int DotAt(QPoint point) const;
    // The dot under the keyboard's focus cell.
    int FocusDot() const;

    // Shows a change of these dots of the picture: a few cells are drawn
    // again alone, many as the whole grid, which is quicker than a region of
    // a hundred cells.
    void RefreshDots(std::span<const int> dots);
    // Dots of another picture shown faintly under the clear cells, or none.
    void SetOnionDots(const std::optional<tessaldo::DotGrid::Dots> &dots);

    QSize sizeHint() const override;

signals:
    // A press and a release on the same dot, or Space on the focus cell.
    void DotClicked(int dot);
    // A drag asks for `dot` to take `state`.
    void DotPainted(int dot, tessaldo::DotState state);
    // The drag that painted ended: its dots form one change.
    void StrokeFinished();
    // The right button, the Menu key or Shift+F10; the place is on the screen.
    void ContextMenuRequested(QPoint globalPos);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    static tessaldo::PointF PointOf(const QMouseEvent *event);
    void PaintFocusRing(QPainter &painter) const;
    void PaintOnionSkin(QPainter &painter) const;
    void MoveFocusCell(int columns, int rows);
    void MoveFocusCellTo(tessaldo::Cell cell);
    void RequestMenuAtFocusCell();
    void NotifyAccessibleFocus();
    void NotifyAccessibleState(int dot);

    const tessaldo::DotGrid &m_grid;
    tessaldo::LcdType m_layout = tessaldo::LcdType::Column;
    std::optional<tessaldo::DotGrid::Dots> m_onionDots;
    tessaldo::Cell m_focusCell; // in screen cells, so arrows follow the screen in both layouts

    tessaldo::GridGesture m_gesture;
};
