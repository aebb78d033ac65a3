#pragma once

#include <QStyledItemDelegate>

// Draws one picture of the strip at its real dots, crisp at any device pixel
// ratio, with its name and, in an animation, its delay.
class PictureDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    // Each dot's side in logical pixels, before rounding to whole device pixels.
    static constexpr int kDotPixels = 3;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
