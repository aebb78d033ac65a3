#include "ui/window/DisplayPreviewPanel.h"

#include "core/session/DisplayPreview.h"
#include "core/session/EditorCommands.h"
#include "core/session/GlyphSet.h"
#include "core/session/Texts.h"
#include "ui/common/Utf8.h"

#include <QComboBox>
#include <QDockWidget>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace tessaldo;

namespace {

constexpr double kMmPerInch = 25.4;
// The note wraps rather than widen the panel past its combos.
constexpr int kNoteWidth = 260;
// Where the screen tells nothing of its size.
constexpr double kUsualDpi = 96;

// Fit makes the display as wide as the panel, which its note keeps this wide; a larger one scrolls there.
constexpr int kFitSide = kNoteWidth;

QRgb Rgb(std::uint32_t colour)
{
    return qRgb(static_cast<int>((colour >> 16) & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>(colour & 0xFF));
}

} // namespace

int PreviewDotPixels(PreviewScale scale, double realPixels, QSize dots, QSize room)
{
    const int real = std::max(1, static_cast<int>(std::lround(realPixels)));
    switch (scale) {
    case PreviewScale::Real:
        return real;
    case PreviewScale::Twice:
        return 2 * real;
    case PreviewScale::FourTimes:
        return 4 * real;
    case PreviewScale::Fit:
        break;
    }
    return std::max(1, std::min(room.width() / dots.width(), room.height() / dots.height()));
}

QPixmap EnlargedDots(const QImage &dots, int dotPixels, qreal devicePixelRatio)
{
    QPixmap enlarged =
        QPixmap::fromImage(dots.scaled(dots.size() * dotPixels, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    enlarged.setDevicePixelRatio(devicePixelRatio);
    return enlarged;
}

DisplayPreviewPanel::DisplayPreviewPanel(EditSession &session, QMainWindow *window)
    : m_session(session),
      m_dock(new QDockWidget(FromUtf8(CommandWithId(CommandId::DisplayPreview).caption), window))
{
    // Beside the canvas, never over it; the View menu's command shows and hides it, as the session keeps it.
    m_dock->setObjectName(QStringLiteral("previewDock"));
    m_dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_dock->setWidget(this);
    m_dock->hide();
    window->addDockWidget(Qt::RightDockWidgetArea, m_dock);
    m_display = new QComboBox(this);
    m_display->setObjectName(QStringLiteral("previewDisplay"));
    for (const Display &display : Displays())
        m_display->addItem(FromUtf8(display.name));
    m_colours = new QComboBox(this);
    m_colours->setObjectName(QStringLiteral("previewColours"));
    for (const PanelColours colours : kPanelColours)
        m_colours->addItem(FromUtf8(PanelColoursName(colours)));
    m_scale = new QComboBox(this);
    m_scale->setObjectName(QStringLiteral("previewScale"));
    for (const char *percent : {"100", "200", "400"})
        m_scale->addItem(FromUtf8(FilledText(TextId::ZoomPercent, {percent})));
    m_scale->addItem(FromUtf8(CommandWithId(CommandId::ZoomToFit).caption));
    // A display larger than the panel scrolls in it rather than widen the dock over the canvas's room.
    m_scroller = new QScrollArea(this);
    m_scroller->setFrameShape(QFrame::NoFrame);
    m_view = new QLabel(m_scroller);
    m_view->setObjectName(QStringLiteral("previewView"));
    m_scroller->setWidget(m_view);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("previewNote"));
    m_note->setWordWrap(true);
    m_note->setFixedWidth(kNoteWidth);

    m_sample = new QLineEdit(this);
    m_sample->setObjectName(QStringLiteral("previewSample"));

    auto *form = new QFormLayout;
    form->addRow(FromUtf8(Text(TextId::SizePresetLabel)), m_display);
    form->addRow(FromUtf8(Text(TextId::PreviewColoursLabel)), m_colours);
    form->addRow(m_scale);
    form->addRow(FromUtf8(Text(TextId::SampleTextLabel)), m_sample);
    m_sampleLabel = form->labelForField(m_sample);
    auto *box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addWidget(m_scroller, 0, Qt::AlignHCenter);
    box->addWidget(m_note);
    box->addStretch();
    box->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_display, &QComboBox::activated, this,
            [this](int index) { m_session.SetPreviewDisplay(static_cast<std::size_t>(index)); });
    connect(m_colours, &QComboBox::activated, this,
            [this](int index) { m_session.SetPreviewColours(kPanelColours[static_cast<std::size_t>(index)]); });
    connect(m_scale, &QComboBox::activated, this, [this] { Redraw(); });
    connect(m_sample, &QLineEdit::textEdited, this, [this] { Redraw(); });
    ShowSession();
    m_session.Subscribe([this] { ShowSession(); });
}

QString DisplayPreviewPanel::Note() const
{
    return m_note->text();
}

void DisplayPreviewPanel::ShowSession()
{
    const bool shown = m_session.PreviewShown();
    m_dock->setVisible(shown);
    setVisible(shown);
    if (shown)
        Redraw();
}

void DisplayPreviewPanel::Redraw()
{
    const Display &display = Displays()[m_session.PreviewDisplay()];
    const PanelColours colours = m_session.PreviewColours();
    m_display->setCurrentIndex(static_cast<int>(m_session.PreviewDisplay()));
    m_colours->setCurrentIndex(
        static_cast<int>(std::find(kPanelColours.begin(), kPanelColours.end(), colours) - kPanelColours.begin()));

    // A font's glyphs show as the library draws a line of text in them, from the glyphs' own first characters on.
    const bool font = m_session.HoldsFont();
    m_sample->setVisible(font);
    m_sampleLabel->setVisible(font);
    if (font && m_sampleFont != m_session.Doc().font) {
        m_sampleFont = m_session.Doc().font;
        m_sample->setText(FromUtf8(SampleTextOf(m_session.Doc())));
    }
    DisplayPreview preview = PreviewOnDisplay(m_session.Grid(), m_session.ArrayForm(), display);
    if (font)
        preview = {SampleLine(m_session.Doc(), m_sample->text().toStdString(), display.size), {}};
    const PanelPalette palette = PaletteOf(colours);
    const PictureSize size = display.size;
    if (m_image.size() != QSize(size.width, size.height))
        m_image = QImage(size.width, size.height, QImage::Format_RGB32);
    for (int row = 0; row < size.height; ++row) {
        auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(row));
        const QRgb clear = Rgb(DotColour(palette, row, false));
        const QRgb set = Rgb(DotColour(palette, row, true));
        for (int column = 0; column < size.width; ++column)
            line[column] = preview.dots[(static_cast<std::size_t>(row) * static_cast<std::size_t>(size.width))
                                        + static_cast<std::size_t>(column)]
                                   == DotState::Set
                               ? set
                               : clear;
    }

    // The display's own size on this screen, its dots' pitch at the screen's
    // physical density, in whole device pixels a dot: smaller, a one-dot line would blur or go.
    const QScreen *on = screen();
    const qreal ratio = devicePixelRatioF();
    const double dpi = on != nullptr ? on->physicalDotsPerInch() : kUsualDpi * ratio;
    const int dotPixels =
        PreviewDotPixels(static_cast<PreviewScale>(m_scale->currentIndex()), display.pitchMm * dpi / kMmPerInch,
                         m_image.size(), QSize(kFitSide, kFitSide) * ratio);
    m_view->setPixmap(EnlargedDots(m_image, dotPixels, ratio));
    m_view->adjustSize();
    const QSize bars(m_scroller->verticalScrollBar()->sizeHint().width(),
                     m_scroller->horizontalScrollBar()->sizeHint().height());
    const QSize room(kFitSide, kFitSide);
    QSize shown = m_view->size();
    if (shown.width() > room.width())
        shown.rheight() += bars.height();
    if (shown.height() > room.height())
        shown.rwidth() += bars.width();
    m_scroller->setFixedSize(shown.boundedTo(room));
    m_note->setText(FromUtf8(preview.note));
    m_note->setVisible(!preview.note.empty());
}
