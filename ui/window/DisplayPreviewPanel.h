#pragma once

#include "core/model/Displays.h"
#include "core/session/EditSession.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <optional>

class QComboBox;
class QDockWidget;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;
class QScrollArea;

// How large the preview draws the display: its real size, twice or four
// times that, or whole as large as fits the panel's room, in the choices' order.
enum class PreviewScale { Real, Twice, FourTimes, Fit };

// The device pixels a dot's side takes at `scale`: a whole number, at least
// one, so that every dot is a square of whole device pixels; `realPixels` is
// a dot's real size in device pixels, `room` in device pixels too.
int PreviewDotPixels(PreviewScale scale, double realPixels, QSize dots, QSize room);
// `dots`, one a pixel, drawn `dotPixels` device pixels a dot, nearest
// neighbour, for a screen of `devicePixelRatio`: a one-dot line never blurs.
QPixmap EnlargedDots(const QImage &dots, int dotPixels, qreal devicePixelRatio);

// The picture as the chosen display shows it: read back from the bytes of
// the chosen array form, in the panel's colours, at the panel's real size on
// this screen or enlarged; a font's glyphs as a line of sample text the user edits. Docked beside the canvas in
// `window`, shown while the session says so and redrawn on each change it announces.
class DisplayPreviewPanel final : public QWidget {
    Q_OBJECT

public:
    DisplayPreviewPanel(tessaldo::EditSession &session, QMainWindow *window);

    // The display's dots, one a pixel, as last drawn.
    const QImage &Shown() const { return m_image; }
    QString Note() const;
    // Where the array form is another than the display takes, what the preview says of it; "" elsewhere.
    QString Advice() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ShowSession();
    void Redraw();

    tessaldo::EditSession &m_session;
    QDockWidget *m_dock;
    QComboBox *m_display = nullptr;
    QComboBox *m_colours = nullptr;
    QComboBox *m_scale = nullptr;
    QScrollArea *m_scroller = nullptr;
    QLabel *m_view = nullptr;
    QLabel *m_note = nullptr;
    QLineEdit *m_sample = nullptr;
    QWidget *m_sampleLabel = nullptr;
    std::optional<tessaldo::FontMetrics> m_sampleFont; // whose glyphs the sample was started from
    QLabel *m_advice = nullptr;
    QPushButton *m_useForm = nullptr;
    QImage m_image;
};
