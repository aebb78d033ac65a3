#pragma once

#include "core/model/DotGrid.h"

#include <QWidget>

// A picture shown exactly as the grid shows it at 16 x 16, for dialogs that
// show what the grid would become; a picture of another size takes the
// largest whole cell at which it fits the room a dialog leaves it. Given the focus, it turns arrow keys into nudges of
// whatever the dialog lays on the picture.
class PicturePreview final : public QWidget {
    Q_OBJECT

public:
    explicit PicturePreview(QWidget *parent = nullptr);

    const tessaldo::DotGrid &Picture() const { return m_picture; }
    void SetPicture(const tessaldo::DotGrid &picture);
    // Takes the focus and sends arrow keys on as Nudged.
    void SetNudgeable(bool nudgeable);

signals:
    // One dot right (dx 1), left (-1), down (dy 1) or up (-1).
    void Nudged(int dx, int dy);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    tessaldo::DotGrid m_picture;
    int m_cellPixels;
};
