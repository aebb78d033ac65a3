#include "ui/window/DisplayPreviewPanel.h"

#include "core/session/Canvas.h"
#include "core/session/DisplayPreview.h"
#include "core/session/EditorCommands.h"
#include "core/session/GlyphSet.h"
#include "core/session/Texts.h"
#include "ui/common/Utf8.h"

#include <QColor>
#include <QComboBox>
#include <QDockWidget>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
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

QRgb Rgb(std::uint32_t colour)
{
    return qRgb(static_cast<int>((colour >> 16) & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>(colour & 0xFF));
}

// A device pixel for each block of `shrink` x `shrink` dots, between the
// clear and the set dot's colour by the block's ink, as the canvas draws it
// zoomed out: a one-dot line stays in sight.
QImage ShrunkDots(const Dots &dots, const PanelPalette &palette, int shrink)
{
    const PictureSize size = dots.Size();
    QImage image((size.width + shrink - 1) / shrink, (size.height + shrink - 1) / shrink, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const QColor clear = Rgb(DotColour(palette, y * shrink, false));
        const QColor set = Rgb(DotColour(palette, y * shrink, true));
        const auto mix = [](int from, int to, int ink) { return from + ((to - from) * ink / 255); };
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int ink = BlockInk(dots, x * shrink, y * shrink, shrink);
            line[x] = qRgb(mix(clear.red(), set.red(), ink), mix(clear.green(), set.green(), ink),
                           mix(clear.blue(), set.blue(), ink));
        }
    }
    return image;
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
    // The display takes the room the dock leaves under the choices, fitted to it or scrolled in it.
    m_scroller = new QScrollArea(this);
    m_scroller->setFrameShape(QFrame::NoFrame);
    m_scroller->setAlignment(Qt::AlignCenter);
    m_scroller->installEventFilter(this);
    m_view = new QLabel(m_scroller);
    m_view->setObjectName(QStringLiteral("previewView"));
    m_scroller->setWidget(m_view);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("previewNote"));
    m_note->setWordWrap(true);
    m_note->setFixedWidth(kNoteWidth);
    m_advice = new QLabel(this);
    m_advice->setObjectName(QStringLiteral("previewAdvice"));
    m_advice->setWordWrap(true);
    m_advice->setFixedWidth(kNoteWidth);
    m_useForm = new QPushButton(this);
    m_useForm->setObjectName(QStringLiteral("previewUseForm"));

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
    box->addWidget(m_scroller, 1);
    box->addWidget(m_note);
    box->addWidget(m_advice);
    box->addWidget(m_useForm, 0, Qt::AlignLeft);

    connect(m_display, &QComboBox::activated, this,
            [this](int index) { m_session.SetPreviewDisplay(static_cast<std::size_t>(index)); });
    connect(m_colours, &QComboBox::activated, this,
            [this](int index) { m_session.SetPreviewColours(kPanelColours[static_cast<std::size_t>(index)]); });
    connect(m_scale, &QComboBox::activated, this, [this] { Redraw(); });
    connect(m_sample, &QLineEdit::textEdited, this, [this] { Redraw(); });
    connect(m_useForm, &QPushButton::clicked, this, [this] { m_session.UseDisplaysForm(); });
    ShowSession();
    m_session.Subscribe([this] { ShowSession(); });
}

QString DisplayPreviewPanel::Note() const
{
    return m_note->text();
}

QString DisplayPreviewPanel::Advice() const
{
    return m_advice->text();
}

bool DisplayPreviewPanel::eventFilter(QObject *watched, QEvent *event)
{
    // Fit follows the room the dock gives, whenever the dock or the lines under the display change it.
    if (watched == m_scroller && event->type() == QEvent::Resize && isVisible()
        && static_cast<PreviewScale>(m_scale->currentIndex()) == PreviewScale::Fit)
        Redraw();
    return QWidget::eventFilter(watched, event);
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
    // Fit below a device pixel a dot averages blocks of dots, as the canvas does.
    const QScreen *on = screen();
    const qreal ratio = devicePixelRatioF();
    const double dpi = on != nullptr ? on->physicalDotsPerInch() : kUsualDpi * ratio;
    const auto scale = static_cast<PreviewScale>(m_scale->currentIndex());
    const QSize room = m_scroller->maximumViewportSize() * ratio;
    const int shrink = scale == PreviewScale::Fit ? FitZoom(size, room.width(), room.height()).dotsPerPixel : 1;
    QPixmap shown;
    if (shrink > 1) {
        shown = QPixmap::fromImage(ShrunkDots(preview.dots, palette, shrink));
        shown.setDevicePixelRatio(ratio);
    } else {
        shown = EnlargedDots(m_image, PreviewDotPixels(scale, display.pitchMm * dpi / kMmPerInch, m_image.size(), room),
                             ratio);
    }
    m_view->setPixmap(shown);
    m_view->adjustSize();
    m_note->setText(FromUtf8(preview.note));
    m_note->setVisible(!preview.note.empty());
    const std::string advice = m_session.FormAdvice();
    m_advice->setText(FromUtf8(advice));
    m_advice->setVisible(!advice.empty());
    m_useForm->setText(FromUtf8(m_session.FormSwitchCaption()));
    m_useForm->setVisible(!advice.empty());
}
