#include "ui/set/PictureListModel.h"

#include "core/session/GlyphSet.h"
#include "ui/common/Utf8.h"

using namespace tessaldo;

PictureListModel::PictureListModel(const Document &document, QObject *parent)
    : QAbstractListModel(parent),
      m_document(document),
      m_rows(static_cast<int>(document.pictures.size()))
{
}

void PictureListModel::Refresh()
{
    const int rows = static_cast<int>(m_document.pictures.size());
    if (rows != m_rows) {
        beginResetModel();
        m_rows = rows;
        endResetModel();
        return;
    }
    emit dataChanged(index(0), index(m_rows - 1));
}

int PictureListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant PictureListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(m_document.pictures.size()))
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return FromUtf8(StripCaption(m_document.pictures[row]));
    case Qt::ToolTipRole: // the whole name, where the strip cuts it short or shows a glyph's character
        return FromUtf8(m_document.pictures[row].name);
    case Qt::AccessibleTextRole:
        return FromUtf8(PictureAccessibleName(m_document, row));
    case Qt::AccessibleDescriptionRole:
        return FromUtf8(PictureAccessibleDescription(m_document, row));
    default:
        return {};
    }
}

Qt::ItemFlags PictureListModel::flags(const QModelIndex &index) const
{
    // Pictures are dragged and dropped between one another, never onto one.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

Qt::DropActions PictureListModel::supportedDropActions() const
{
    return Qt::MoveAction;
}
