#include "ui/set/PictureDelegate.h"

#include "image/PicturePainter.h"
#include "ui/set/PictureListModel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontInfo>
#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

using namespace tessaldo;

namespace {

constexpr int kPadding = 4;
const int kPictureSide = PicturePixels(PictureDelegate::kDotPixels, false);
const QColor kFrameColor(160, 160, 160);

// The picture fitted into the row's square, keeping its shape: whole device
// pixels for each dot where the square holds one or more a dot, so that no
// dot is blurred or left wider than its neighbours at 125 % or 150 %; a
// picture with more dots than the square has pixels is shrunk smoothly.
void PaintFitted(QPainter &painter, const Document &document, const Picture &picture, QPoint topLeft)
{
    const qreal ratio = painter.device()->devicePixelRatioF();
    const int box =
        PicturePixels(std::max(1, static_cast<int>(std::lround(PictureDelegate::kDotPixels * ratio))), false);
    const PictureSize size = picture.dots.Size();
    const int dotPixels = std::min(box / size.width, box / size.height);
    const double scale = dotPixels >= 1 ? dotPixels : std::min(double(box) / size.width, double(box) / size.height);
    const QSize shown(std::max(1, static_cast<int>(std::lround(size.width * scale))),
                      std::max(1, static_cast<int>(std::lround(size.height * scale))));
    DotGrid grid;
    grid.SetLCDType(document.type);
    grid.SetAllDots(picture.dots);
    painter.save();
    painter.scale(1 / ratio, 1 / ratio);
    painter.translate((QPointF(topLeft) * ratio).toPoint()
                      + QPoint((box - shown.width()) / 2, (box - shown.height()) / 2));
    painter.setPen(QPen(kFrameColor, 0)); // a white picture still shows where it ends
    painter.drawRect(-1, -1, shown.width() + 1, shown.height() + 1);
    if (dotPixels >= 1) {
        PaintPicture(painter, grid, document.type, dotPixels, false);
    } else {
        QImage image(size.width, size.height, QImage::Format_RGB32);
        QPainter onImage(&image);
        PaintPicture(onImage, grid, document.type, 1, false);
        onImage.end();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), shown), image);
    }
    painter.restore();
}

// Where the name and delay go: right of the picture.
QRect TextArea(const QStyleOptionViewItem &option)
{
    return option.rect.adjusted(kPadding + kPictureSide + kPadding + 1, kPadding, -kPadding, -kPadding);
}

// A glyph's character as large as the row lets it stand and as its width
// holds, that it reads at a glance; never smaller than the strip's own text.
QFont CharacterFont(const QFont &base, const QString &caption, QRect area)
{
    QFont font = base;
    font.setPixelSize(std::max(1, area.height() * 3 / 4));
    const int wide = QFontMetrics(font).horizontalAdvance(caption);
    if (wide > area.width())
        font.setPixelSize(std::max(QFontInfo(base).pixelSize(), font.pixelSize() * area.width() / wide));
    return font;
}

} // namespace

int PictureDelegate::GlyphRowWidth(const QFontMetrics &metrics)
{
    return kPadding + kPictureSide + kPadding + 1 + metrics.horizontalAdvance(QStringLiteral("U+00A0")) + kPadding;
}

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

    PaintFitted(*painter, document, picture, option.rect.topLeft() + QPoint(kPadding, kPadding));

    const bool selected = (option.state & QStyle::State_Selected) != 0;
    painter->save();
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect text = TextArea(option);
    const QFontMetrics metrics(option.font);
    const QString caption = index.data(Qt::DisplayRole).toString();
    if (picture.glyph) {
        painter->setFont(CharacterFont(option.font, caption, text));
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                          QFontMetrics(painter->font()).elidedText(caption, Qt::ElideRight, text.width()));
    } else {
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop,
                          metrics.elidedText(caption, Qt::ElideRight, text.width()));
    }
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

bool PictureDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                const QModelIndex &index)
{
    if (event == nullptr || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString name = index.data(Qt::ToolTipRole).toString();
    if (name == index.data(Qt::DisplayRole).toString()
        && QFontMetrics(option.font).horizontalAdvance(name) <= TextArea(option).width()) {
        QToolTip::hideText(); // the row shows the whole name already
        return true;
    }
    QToolTip::showText(event->globalPos(), name, view);
    return true;
}
