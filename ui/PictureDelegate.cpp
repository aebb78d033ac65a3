#include "PictureDelegate.h"

#include "PictureListModel.h"
#include "PicturePainter.h"

#include <QApplication>
#include <QPainter>

#include <cmath>

using namespace tessaldo;

namespace {

constexpr int kPadding = 4;
const int kPictureSide = PicturePixels(PictureDelegate::kDotPixels, false);
const QColor kFrameColor(160, 160, 160);

// Paints the picture with whole device pixels for each dot, so that no dot
// is blurred or left wider than its neighbours at 125 % or 150 %.
void PaintCrisp(QPainter &painter, const Document &document, const Picture &picture, QPoint topLeft)
{
    const qreal ratio = painter.device()->devicePixelRatioF();
    const int dotPixels = std::max(1, static_cast<int>(std::lround(PictureDelegate::kDotPixels * ratio)));
    DotGrid grid;
    grid.SetLCDType(document.type);
    grid.SetAllDots(picture.dots);
    painter.save();
    painter.scale(1 / ratio, 1 / ratio);
    painter.translate((QPointF(topLeft) * ratio).toPoint());
    painter.setPen(QPen(kFrameColor, 0)); // a white picture still shows where it ends
    const int side = PicturePixels(dotPixels, false);
    painter.drawRect(-1, -1, side + 1, side + 1);
    PaintPicture(painter, grid, document.type, dotPixels, false);
    painter.restore();
}

} // namespace

void PictureDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const PictureListModel *>(index.model());
    if (model == nullptr || index.row() >= static_cast<int>(model->Doc().pictures.size()))
        return;
    const Document &document = model->Doc();
    const Picture &picture = document.pictures[static_cast<std::size_t>(index.row())];

    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, widget);

    const QRect area = option.rect.adjusted(kPadding, kPadding, -kPadding, -kPadding);
    PaintCrisp(*painter, document, picture, area.topLeft());

    const bool selected = (option.state & QStyle::State_Selected) != 0;
    painter->save();
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect text = area.adjusted(kPictureSide + kPadding + 1, 0, 0, 0);
    const QFontMetrics metrics(option.font);
    const QString name = metrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, text.width());
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop, name);
    const QString delay = index.data(Qt::AccessibleDescriptionRole).toString();
    if (!delay.isEmpty())
        painter->drawText(text.adjusted(0, metrics.lineSpacing(), 0, 0), Qt::AlignLeft | Qt::AlignTop, delay);
    painter->restore();
}

QSize PictureDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    // The same for every picture, so that the list lays out a thousand of them at once.
    const int textLines = 2 * QFontMetrics(option.font).lineSpacing();
    return {kPictureSide + 2 * kPadding + 1, std::max(kPictureSide, textLines) + 2 * kPadding + 1};
}
