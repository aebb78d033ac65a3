#include "ui/files/FontWorkflow.h"

#include "core/code/CodeFormats.h"
#include "core/platform/FileIo.h"
#include "core/session/GlyphSet.h"
#include "core/session/Texts.h"
#include "fontraster/FontRaster.h"
#include "ui/common/Utf8.h"
#include "ui/files/NativePath.h"
#include "ui/window/WindowNotices.h"

#include <QInputDialog>

#include <array>
#include <utility>

using namespace tessaldo;

namespace {

// The formats in the order of the save dialog's filters, from the first.
constexpr std::array kSavedFormats{FontFormat::Bdf, FontFormat::U8g2, FontFormat::Gfx};
// The pixel size a TrueType font is first offered at: a line of text on the smaller displays.
constexpr int kUsualPixelSize = 16;

QString SaveFilter()
{
    return QStringLiteral("%1 (*.bdf)|*.bdf|%2 (*.c)|*.c|%3 (*.h)|*.h|")
        .arg(FromUtf8(Text(TextId::BdfFontFilter)), FromUtf8(Text(TextId::U8g2FontFilter)),
             FromUtf8(Text(TextId::GfxFontFilter)));
}

// The first character of a line typed, or none.
std::optional<char32_t> FirstCharacter(const QString &typed)
{
    const std::string text = typed.toStdString();
    std::size_t at = 0;
    return text.empty() ? std::nullopt : DecodeUtf8(text, at);
}

} // namespace

FontWorkflow::FontWorkflow(EditSession &session, CommonDialog &dlgBox, std::function<bool()> nothingUnsavedIsLost,
                           QWidget *window)
    : m_session(session),
      m_dlgBox(dlgBox),
      m_nothingUnsavedIsLost(std::move(nothingUnsavedIsLost)),
      m_window(window)
{
}

bool FontWorkflow::IsFont(const QString &path)
{
    return FontKindOfFile(NativePath(path)) != FontKind::None;
}

void FontWorkflow::OpenFont(const QString &path)
{
    if (FontKindOfFile(NativePath(path)) != FontKind::TrueType) {
        OpenFontAt(path, 0);
        return;
    }
    bool chosen = false;
    const int size = QInputDialog::getInt(
        m_window, FromUtf8(Text(TextId::FontPixelSize)),
        FromUtf8(FilledText(TextId::FontPixelSizeQuestion, {DisplayPath(NativePath(path).filename())})),
        kUsualPixelSize, 1, kMaxFontPixelSize, 1, &chosen);
    if (chosen)
        OpenFontAt(path, size);
}

bool FontWorkflow::OpenFontAt(const QString &path, int pixelSize)
{
    m_session.EndStroke();
    const std::filesystem::path file = NativePath(path);
    const std::string shown = DisplayPath(file);
    const FontKind kind = FontKindOfFile(file);
    const Result<std::string> bytes = ReadFontBytes(file);
    Result<BdfReading> reading = Result<BdfReading>::Failed(bytes ? std::string() : bytes.message());
    if (bytes && kind == FontKind::TrueType) {
        const Result<BitmapFont> drawn = RasteriseFont(bytes.value(), pixelSize, {}, shown);
        reading =
            drawn ? ReadFont(drawn.value(), shown, m_session.Doc().type) : Result<BdfReading>::Failed(drawn.message());
    } else if (bytes) {
        reading = ReadFont(bytes.value(), kind, shown, m_session.Doc().type);
    }
    if (reading && reading.value().glyphs.empty())
        reading = Result<BdfReading>::Failed(FilledText(TextId::CannotImport, {shown, Text(TextId::FontNoPictures)}));
    if (!reading) {
        Warn(m_window, FromUtf8(reading.message()));
        return false;
    }
    // Asked only now that there is a font to take the unsaved work's place.
    if (!m_nothingUnsavedIsLost())
        return false;
    m_session.OpenSet(GlyphSetOf(reading.value(), m_session.Doc().type));
    emit FontOpened();
    SayIfAny(m_window, FontReadingNotes(shown, reading.value()));
    return true;
}

void FontWorkflow::AddGlyph()
{
    m_session.EndStroke();
    bool chosen = false;
    const QString typed =
        QInputDialog::getText(m_window, FromUtf8(Text(TextId::AddGlyph)), FromUtf8(Text(TextId::AddGlyphQuestion)),
                              QLineEdit::Normal, QString(), &chosen);
    const std::optional<char32_t> character = FirstCharacter(typed);
    if (!chosen || !character)
        return;
    if (const std::string refused = m_session.AddGlyph(*character); !refused.empty())
        Warn(m_window, FromUtf8(refused));
}

void FontWorkflow::GlyphsFromText()
{
    m_session.EndStroke();
    bool chosen = false;
    const QString text =
        QInputDialog::getText(m_window, FromUtf8(Text(TextId::GlyphsFromText)),
                              FromUtf8(Text(TextId::GlyphsFromTextQuestion)), QLineEdit::Normal, QString(), &chosen);
    if (chosen && !text.isEmpty())
        SayIfAny(m_window, m_session.KeepGlyphsForText(text.toStdString()));
}

bool FontWorkflow::SaveFontAs()
{
    m_session.EndStroke();
    m_dlgBox.DialogTitle = FromUtf8(CommandWithId(CommandId::SaveFontAs).caption).remove(QChar(0x2026));
    m_dlgBox.Filter = SaveFilter();
    m_dlgBox.FileName = QString();
    m_dlgBox.FilterIndex = 2;
    m_dlgBox.addsExtension = true;
    m_dlgBox.ShowSave();
    if (m_dlgBox.FileName.isEmpty())
        return false;
    const std::string name = NameToSaveAs(m_dlgBox.FileName.toStdString(), m_dlgBox.ChosenExtension().toStdString());
    if (name.empty())
        return false;
    // A name's own ending decides over the filter, as the command line's OUT does.
    const bool ended = !NativePath(FromUtf8(name)).extension().empty();
    const std::size_t filter = static_cast<std::size_t>(std::max(1, m_dlgBox.FilterIndex)) - 1;
    const FontFormat format = ended ? FontFormatOfFile(NativePath(FromUtf8(name)))
                                    : kSavedFormats.at(std::min(filter, kSavedFormats.size() - 1));
    U8g2Mode mode = U8g2Mode::Proportional;
    if (format == FontFormat::U8g2) {
        const QStringList modes{FromUtf8(Text(TextId::U8g2Proportional)), FromUtf8(Text(TextId::U8g2CommonHeight)),
                                FromUtf8(Text(TextId::U8g2Monospace))};
        bool chosen = false;
        const QString picked = QInputDialog::getItem(m_window, FromUtf8(Text(TextId::U8g2FontFilter)),
                                                     FromUtf8(Text(TextId::U8g2ModeLabel)), modes, 0, false, &chosen);
        if (!chosen)
            return false;
        mode = static_cast<U8g2Mode>(modes.indexOf(picked));
    }
    return SaveFontAs(FromUtf8(name), format, mode);
}

bool FontWorkflow::SaveFontAs(const QString &path, FontFormat format, U8g2Mode mode)
{
    const std::filesystem::path file = NativePath(path);
    const Result<std::string> text = FontFileText(m_session.Doc(), format, mode, NameFromFileName(file));
    const FileStatus saved = text ? WriteFileAtomically(file, text.value()) : FileStatus::Failed(text.message());
    if (!saved) {
        Warn(m_window, FromUtf8(saved.message()));
        return false;
    }
    m_session.SetSaved();
    return true;
}
