#include "PicturePreview.h"

#include "DotGridView.h"
#include "PicturePainter.h"

#include <QKeyEvent>
#include <QPainter>

PicturePreview::PicturePreview(QWidget *parent) : QWidget(parent)
{
    const int side = PicturePixels(DotGridView::kCellPixels, true);
    setFixedSize(side, side);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PicturePreview::SetPicture(const tessaldo::DotGrid &picture)
{
    m_picture = picture;
    update();
}

void PicturePreview::SetNudgeable(bool nudgeable)
{
    setFocusPolicy(nudgeable ? Qt::StrongFocus : Qt::NoFocus);
}

void PicturePreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PaintPicture(painter, m_picture, m_picture.nLCDType(), DotGridView::kCellPixels, true);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void PicturePreview::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        emit Nudged(-1, 0);
        break;
    case Qt::Key_Right:
        emit Nudged(1, 0);
        break;
    case Qt::Key_Up:
        emit Nudged(0, -1);
        break;
    case Qt::Key_Down:
        emit Nudged(0, 1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}
