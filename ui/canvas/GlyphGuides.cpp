#include "ui/canvas/GlyphGuides.h"

#include "core/session/GlyphSet.h"
#include "ui/canvas/DotGridView.h"

#include <QEvent>
#include <QPainter>

using namespace tessaldo;

namespace {

// Colours apart from the dots' black and white and the grid's grey: the baseline blue, the advance red.
const QColor kBaselineColour(0x1E, 0x64, 0xDC);
const QColor kAdvanceColour(0xDC, 0x32, 0x1E);
constexpr int kLineWidth = 2;

} // namespace

GlyphGuides::GlyphGuides(EditSession &session, DotGridView *canvas)
    : QWidget(canvas),
      m_session(session),
      m_canvas(canvas)
{
    setObjectName(QStringLiteral("glyphGuides"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(canvas->rect());
    canvas->installEventFilter(this);
    // An advance past the glyph's cell widens the canvas to show where the next glyph starts.
    session.Subscribe([this] {
        m_canvas->SetRoomRight(AdvanceBeyondCell(m_session.Doc().Edited()));
        update();
    });
}

bool GlyphGuides::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_canvas && event->type() == QEvent::Resize)
        setGeometry(m_canvas->rect());
    return QWidget::eventFilter(watched, event);
}

int GlyphGuides::BaselineY() const
{
    const std::optional<GlyphMetrics> &glyph = m_session.Doc().Edited().glyph;
    return glyph ? m_canvas->CellRect(0).top() + glyph->baseline * m_canvas->CellPixels() : -1;
}

int GlyphGuides::AdvanceX() const
{
    const std::optional<GlyphMetrics> &glyph = m_session.Doc().Edited().glyph;
    return glyph ? m_canvas->CellRect(0).left() + (glyph->originColumn + glyph->advance) * m_canvas->CellPixels() : -1;
}

void GlyphGuides::paintEvent(QPaintEvent * /*event*/)
{
    if (!m_session.Doc().Edited().glyph)
        return;
    QPainter painter(this);
    painter.setPen(QPen(kBaselineColour, kLineWidth));
    painter.drawLine(0, BaselineY(), width(), BaselineY());
    painter.setPen(QPen(kAdvanceColour, kLineWidth));
    painter.drawLine(AdvanceX(), 0, AdvanceX(), height());
}
