#pragma once

#include <QStyledItemDelegate>

// Draws one picture of the strip fitted to its row, crisp at any device pixel
// ratio, with its name and, in an animation, its delay. The whole name shows
// as a tooltip where the row cuts it short.
class PictureDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    // Each dot's side in logical pixels at 16 x 16, before rounding to whole device pixels.
    static constexpr int kDotPixels = 3;

    using QStyledItemDelegate::QStyledItemDelegate;

    // The narrowest row that shows a glyph's character beside its picture, a
    // name such as U+0020 for one that shows nothing whole.
    static int GlyphRowWidth(const QFontMetrics &metrics);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;
};
