#pragma once

#include "core/model/Layout.h"

#include <QAccessibleWidget>

#include <array>

class DotGridView;

// The dot grid as screen readers see it: a group of 256 cells, one per dot,
// in dot order.
class DotGridAccessible final : public QAccessibleWidget {
public:
    explicit DotGridAccessible(DotGridView *view);
    ~DotGridAccessible() override;

    // For QAccessible::installFactory.
    static QAccessibleInterface *Create(const QString &className, QObject *object);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;
    // The name lives here rather than on the widget: setting it there would
    // start the accessibility bridge at start-up, screen reader or not.
    QString text(QAccessible::Text t) const override;

private:
    DotGridView *View() const;

    // Cell interfaces are made on first request and live as long as the grid's.
    mutable std::array<QAccessible::Id, tessaldo::kDotCount> m_cellIds{};
};
