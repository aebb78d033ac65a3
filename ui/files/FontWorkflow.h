#pragma once

#include "core/formats/FontFiles.h"
#include "core/session/EditSession.h"
#include "ui/dialogs/CommonDialog.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

// A font opened as a set of its glyphs, and saved as one: BDF, u8g2's C
// source or a GFXfont header, with the glyph commands that ask the user for
// a character or a text. Each dialog is asked apart from the work, which is
// given what the dialog would give.
class FontWorkflow final : public QObject {
    Q_OBJECT

public:
    // `nothingUnsavedIsLost` asks about unsaved work before a font takes its place.
    FontWorkflow(tessaldo::EditSession &session, CommonDialog &dlgBox, std::function<bool()> nothingUnsavedIsLost,
                 QWidget *window);

    // Whether Open takes `path` as a font: BDF, TrueType or OpenType, or a C
    // source that holds a u8g2 font or a GFXfont.
    static bool IsFont(const QString &path);
    // Opens the font, asking first the pixel size a TrueType or OpenType font is drawn at.
    void OpenFont(const QString &path);
    // The same without the question: `pixelSize` for a TrueType or OpenType
    // font, unused for the rest. False where it is refused, with the reason shown.
    bool OpenFontAt(const QString &path, int pixelSize);

    // Picture ▸ Add Glyph… and Glyphs from Text…: each asks, then is one step.
    void AddGlyph();
    void GlyphsFromText();
    // File ▸ Save Font As…: the format by the filter chosen or the name's
    // ending, a u8g2 font's build mode asked. False when cancelled or refused.
    bool SaveFontAs();
    // The work without the dialogs; a refusal is shown. The C name is the file's.
    bool SaveFontAs(const QString &path, tessaldo::FontFormat format, tessaldo::U8g2Mode mode);

signals:
    // A font took the place of the work: it is no drawing file's or set file's any more.
    void FontOpened();

private:
    tessaldo::EditSession &m_session;
    CommonDialog &m_dlgBox;
    std::function<bool()> m_nothingUnsavedIsLost;
    QWidget *m_window;
};
