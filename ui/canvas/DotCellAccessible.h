#pragma once

#include <QAccessibleInterface>
#include <QPointer>

class DotGridView;

// One dot as screen readers see it: a check box named "Dot N", checked when set.
class DotCellAccessible final : public QAccessibleInterface {
public:
    DotCellAccessible(DotGridView *view, int dot);

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

    int Dot() const { return m_dot; }

private:
    QString Description() const;

    QPointer<DotGridView> m_view;
    int m_dot;
};
