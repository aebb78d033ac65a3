#include "ui/set/PictureStrip.h"

#include "core/model/Document.h"
#include "ui/set/PictureDelegate.h"
#include "ui/set/PictureListModel.h"

#include <QDropEvent>
#include <QScrollBar>

using namespace tessaldo;

PictureStrip::PictureStrip(const Document &document, QWidget *parent)
    : QListView(parent),
      m_model(new PictureListModel(document, this))
{
    setAccessibleName(QStringLiteral("Pictures of the set"));
    setModel(m_model);
    setItemDelegate(new PictureDelegate(this));
    setUniformItemSizes(true); // a thousand pictures lay out as fast as one
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers); // F2 renames through the window's own dialog
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void PictureStrip::Refresh()
{
    m_refreshing = true;
    // A font's rows show each glyph's character beside it, which a strip as narrow as its pictures would cut.
    setMinimumWidth(m_model->Doc().font ? PictureDelegate::GlyphRowWidth(fontMetrics()) + frameWidth() * 2
                                              + verticalScrollBar()->sizeHint().width()
                                        : 0);
    m_model->Refresh();
    const QModelIndex edited = m_model->index(static_cast<int>(m_model->Doc().current));
    if (currentIndex() != edited)
        setCurrentIndex(edited);
    scrollTo(edited);
    m_refreshing = false;
}

void PictureStrip::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    if (!m_refreshing && current.isValid())
        emit PictureChosen(static_cast<std::size_t>(current.row()));
}

int PictureStrip::DropTarget(QPoint position, int from) const
{
    const QModelIndex at = indexAt(position);
    int before = m_model->rowCount(); // dropped below the last picture: it goes last
    if (at.isValid())
        before = dropIndicatorPosition() == QAbstractItemView::BelowItem ? at.row() + 1 : at.row();
    return before > from ? before - 1 : before;
}

void PictureStrip::dropEvent(QDropEvent *event)
{
    const int from = currentIndex().row();
    if (event->source() != this || from < 0) {
        event->ignore();
        return;
    }
    const int to = DropTarget(event->position().toPoint(), from);
    // The session moves the picture; the model removes no rows when the drag ends, as it takes none away.
    event->acceptProposedAction();
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    if (to != from)
        emit PictureMoved(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
}
