#pragma once

#include "DotGrid.h"

#include <QWidget>

// Shows the 256 dots of the picture in one of the two layouts and reports
// clicks on them. It only reads the picture; the main window changes it.
class DotGridView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCellPixels = 13;

    explicit DotGridView(const tessaldo::DotGrid &grid, QWidget *parent = nullptr);

    tessaldo::LcdType Layout() const { return m_layout; }
    void SetLayout(tessaldo::LcdType layout);

    // The cell of `dot` in this widget's coordinates, its left and top border included.
    QRect CellRect(int dot) const;
    // The dot under `point`, or -1 where there is none.
    int DotAt(QPoint point) const;

    QSize sizeHint() const override;

signals:
    // A press and a release on the same dot.
    void DotClicked(int dot);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const tessaldo::DotGrid &m_grid;
    tessaldo::LcdType m_layout = tessaldo::LcdType::Column;
    int m_pressedDot = -1;
};
