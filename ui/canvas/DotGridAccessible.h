#pragma once

#include <QAccessibleWidget>

#include <unordered_map>

class DotGridView;

// The dot grid as screen readers see it: a group of cells, one per dot, in
// dot order; a cell is made only when a screen reader asks for it, as a
// large picture has hundreds of thousands.
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
    mutable std::unordered_map<int, QAccessible::Id> m_cellIds;
};
