#include "ui/canvas/DotCellAccessible.h"

#include "core/code/CodeGenerator.h"
#include "core/session/Texts.h"
#include "ui/canvas/DotGridView.h"
#include "ui/common/Utf8.h"

#include <QWidget>

DotCellAccessible::DotCellAccessible(DotGridView *view, int dot) : m_view(view), m_dot(dot) {}

bool DotCellAccessible::isValid() const
{
    return !m_view.isNull() && m_view->Grid().HasDot(m_dot);
}

QObject *DotCellAccessible::object() const
{
    return nullptr;
}

QWindow *DotCellAccessible::window() const
{
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface *DotCellAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(m_view.data());
}

QAccessibleInterface *DotCellAccessible::child(int) const
{
    return nullptr;
}

int DotCellAccessible::childCount() const
{
    return 0;
}

int DotCellAccessible::indexOfChild(const QAccessibleInterface *) const
{
    return -1;
}

QAccessibleInterface *DotCellAccessible::childAt(int, int) const
{
    return nullptr;
}

QString DotCellAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return QStringLiteral("Dot %1").arg(m_dot);
    case QAccessible::Value:
        return isValid() && m_view->Grid().IsSet(m_dot) ? QStringLiteral("set") : QStringLiteral("clear");
    case QAccessible::Description:
        return m_view ? Description() : QString();
    default:
        return {};
    }
}

QString DotCellAccessible::Description() const
{
    // Where the bit lands in the module's code, or at any other size where the dot stands.
    const tessaldo::DotGrid &grid = m_view->Grid();
    if (tessaldo::IsModuleSize(grid.Size()))
        return QString::fromStdString(tessaldo::DescribeDotBit(m_dot));
    const tessaldo::Cell cell = grid.CellOf(m_dot);
    return FromUtf8(
        tessaldo::FilledText(tessaldo::TextId::PointerCell, {std::to_string(cell.column), std::to_string(cell.row)}));
}

void DotCellAccessible::setText(QAccessible::Text, const QString &) {}

QRect DotCellAccessible::rect() const
{
    if (!m_view)
        return {};
    const QRect cell = m_view->CellRect(m_dot);
    return {m_view->mapToGlobal(cell.topLeft()), cell.size()};
}

QAccessible::Role DotCellAccessible::role() const
{
    return QAccessible::CheckBox;
}

QAccessible::State DotCellAccessible::state() const
{
    QAccessible::State state;
    state.checkable = true;
    state.focusable = true;
    if (!m_view) {
        state.invalid = true;
        return state;
    }
    state.checked = m_view->Grid().HasDot(m_dot) && m_view->Grid().IsSet(m_dot);
    state.focused = m_view->hasFocus() && m_view->FocusDot() == m_dot;
    return state;
}
