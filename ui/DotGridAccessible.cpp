#include "DotGridAccessible.h"

#include "DotCellAccessible.h"
#include "DotGridView.h"

using tessaldo::kDotCount;

DotGridAccessible::DotGridAccessible(DotGridView *view) : QAccessibleWidget(view, QAccessible::Grouping) {}

DotGridAccessible::~DotGridAccessible()
{
    for (const QAccessible::Id id : m_cellIds) {
        if (id != 0)
            QAccessible::deleteAccessibleInterface(id);
    }
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
    return kDotCount;
}

QAccessibleInterface *DotGridAccessible::child(int index) const
{
    if (index < 0 || index >= kDotCount)
        return nullptr;
    QAccessible::Id &id = m_cellIds[static_cast<std::size_t>(index)];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(new DotCellAccessible(View(), index));
    return QAccessible::accessibleInterface(id);
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
