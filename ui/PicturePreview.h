#pragma once

#include "DotGrid.h"

#include <QWidget>

// A picture shown exactly as the grid shows it, for dialogs that show what
// the grid would become; it takes no input.
class PicturePreview final : public QWidget {
    Q_OBJECT

public:
    explicit PicturePreview(QWidget *parent = nullptr);

    const tessaldo::DotGrid &Picture() const { return m_picture; }
    void SetPicture(const tessaldo::DotGrid &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    tessaldo::DotGrid m_picture;
};
