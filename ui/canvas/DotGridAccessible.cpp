#include "ui/canvas/DotGridAccessible.h"

#include "ui/canvas/DotCellAccessible.h"
#include "ui/canvas/DotGridView.h"

DotGridAccessible::DotGridAccessible(DotGridView *view) : QAccessibleWidget(view, QAccessible::Grouping) {}

DotGridAccessible::~DotGridAccessible()
{
    for (const auto &[dot, id] : m_cellIds)
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface *DotGridAccessible::Create(const QString &className, QObject *object)
{
    if (className == QLatin1String(DotGridView::staticMetaObject.className()))
        return new DotGridAccessible(static_cast<DotGridView *>(object));
    return nullptr;
}

DotGridView *DotGridAccessible::View() const
{
    return static_cast<DotGridView *>(widget());
}

int DotGridAccessible::childCount() const
{
    return View()->Grid().Size().DotCount();
}

QAccessibleInterface *DotGridAccessible::child(int index) const
{
    if (!View()->Grid().HasDot(index))
        return nullptr;
    auto found = m_cellIds.find(index);
    if (found == m_cellIds.end())
        found = m_cellIds.emplace(index, QAccessible::registerAccessibleInterface(new DotCellAccessible(View(), index)))
                    .first;
    return QAccessible::accessibleInterface(found->second);
}

int DotGridAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *cell = dynamic_cast<const DotCellAccessible *>(child);
    return cell != nullptr ? cell->Dot() : -1;
}

QAccessibleInterface *DotGridAccessible::childAt(int x, int y) const
{
    return child(View()->DotAt(View()->mapFromGlobal(QPoint(x, y))));
}

QAccessibleInterface *DotGridAccessible::focusChild() const
{
    return View()->hasFocus() ? child(View()->FocusDot()) : nullptr;
}

QString DotGridAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Name ? QStringLiteral("Dots") : QAccessibleWidget::text(t);
}
