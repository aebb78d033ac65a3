#pragma once

#include "core/session/EditSession.h"

#include <QWidget>

class DotGridView;

// The edited glyph's baseline and advance drawn over the canvas, a line
// each in colours of their own, while the set is a font's: where the text
// the glyph stands in sits, and where the next glyph starts. Passes every
// event on to the canvas beneath.
class GlyphGuides final : public QWidget {
    Q_OBJECT

public:
    GlyphGuides(tessaldo::EditSession &session, DotGridView *canvas);

    // Where the lines are drawn, in the canvas's pixels: the baseline's row
    // and the advance's column, or -1 for a picture that is no glyph.
    int BaselineY() const;
    int AdvanceX() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    const tessaldo::EditSession &m_session;
    DotGridView *m_canvas;
};
