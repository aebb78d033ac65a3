#include "PicturePreview.h"

#include "DotGridView.h"
#include "PicturePainter.h"

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

void PicturePreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PaintPicture(painter, m_picture, m_picture.nLCDType(), DotGridView::kCellPixels, true);
}
