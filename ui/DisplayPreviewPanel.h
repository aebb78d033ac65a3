#pragma once

#include "core/model/Displays.h"
#include "core/session/EditSession.h"

#include <QImage>
#include <QWidget>

#include <optional>

class QComboBox;
class QDockWidget;
class QLabel;
class QLineEdit;
class QMainWindow;

// The picture as the chosen display shows it: read back from the bytes of
// the chosen array form, in the panel's colours, at the panel's real size on
// this screen; a font's glyphs as a line of sample text the user edits. Docked beside the canvas in `window`, shown
// while the session says so and redrawn on each change it announces.
class DisplayPreviewPanel final : public QWidget {
    Q_OBJECT

public:
    DisplayPreviewPanel(tessaldo::EditSession &session, QMainWindow *window);

    // The display's dots, one a pixel, as last drawn.
    const QImage &Shown() const { return m_image; }
    QString Note() const;

private:
    void ShowSession();
    void Redraw();

    tessaldo::EditSession &m_session;
    QDockWidget *m_dock;
    QComboBox *m_display = nullptr;
    QComboBox *m_colours = nullptr;
    QLabel *m_view = nullptr;
    QLabel *m_note = nullptr;
    QLineEdit *m_sample = nullptr;
    QWidget *m_sampleLabel = nullptr;
    std::optional<tessaldo::FontMetrics> m_sampleFont; // whose glyphs the sample was started from
    QImage m_image;
};
