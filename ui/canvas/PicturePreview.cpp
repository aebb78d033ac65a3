#include "ui/canvas/PicturePreview.h"

#include "core/session/Canvas.h"
#include "image/PicturePainter.h"
#include "ui/canvas/DotGridView.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace {

// The most a picture of another size than 16 x 16 takes each way, so that the dialog stays on the screen.
constexpr int kLargestRoom = 512;

} // namespace

PicturePreview::PicturePreview(QWidget *parent) : QWidget(parent), m_cellPixels(DotGridView::kCellPixels)
{
    const int side = PicturePixels(m_cellPixels, true);
    setFixedSize(side, side);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PicturePreview::SetPicture(const tessaldo::DotGrid &picture)
{
    m_picture = picture;
    const tessaldo::PictureSize size = picture.Size();
    m_cellPixels = IsModuleSize(size)
                       ? DotGridView::kCellPixels
                       : std::min(DotGridView::kCellPixels, tessaldo::FitCellPixels(size, kLargestRoom, kLargestRoom));
    setFixedSize(tessaldo::CanvasPixels(size.width, m_cellPixels), tessaldo::CanvasPixels(size.height, m_cellPixels));
    update();
}

void PicturePreview::SetNudgeable(bool nudgeable)
{
    setFocusPolicy(nudgeable ? Qt::StrongFocus : Qt::NoFocus);
}

void PicturePreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PaintPicture(painter, m_picture, m_picture.nLCDType(), m_cellPixels, tessaldo::ShowsGridLines(m_cellPixels));
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
