#include "ui/window/CodeTextBox.h"
#include "core/session/Texts.h"
#include "ui/common/Utf8.h"

#include "ui/common/KoreanFont.h"

#include <QKeyEvent>
#include <QTimer>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kLf = QStringLiteral("\n");
constexpr int kCodePixels = 10;
constexpr int kCodeMargin = 2;

} // namespace

CodeTextBox::CodeTextBox(QWidget *parent) : QPlainTextEdit(parent)
{
    document()->setDocumentMargin(kCodeMargin);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab moves on to the next control, as in every other box of the window.
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_replacing)
            emit Edited();
    });
}

QString CodeTextBox::Text() const
{
    return toPlainText().replace(kLf, kCrLf);
}

void CodeTextBox::SetText(const QString &text)
{
    UseCodeFont();
    m_replacing = true;
    setPlainText(QString(text).replace(kCrLf, kLf));
    m_replacing = false;
}

void CodeTextBox::paintEvent(QPaintEvent *event)
{
    QPlainTextEdit::paintEvent(event);
    // The box starts empty, so its font shows in no frame until text comes:
    // loaded after the first one, it no longer holds up the window's appearance.
    if (!m_codeFont)
        QTimer::singleShot(0, this, &CodeTextBox::UseCodeFont);
}

void CodeTextBox::UseCodeFont()
{
    if (m_codeFont)
        return;
    m_codeFont = true;
    // The densest picture's code (every dot set) wraps into six lines of this
    // monospaced font with Hangul, which the box shows whole: the box has no
    // scroll bars, so nothing Copy takes may be hidden. Pixels rather than
    // points, because the box is laid out in pixels.
    QFont font = KoreanFont(8.25);
    font.setFamilies(QStringList{QStringLiteral("NanumGothicCoding")} + font.families());
    font.setPixelSize(kCodePixels);
    setFont(font);
}

bool CodeTextBox::event(QEvent *event)
{
    // A text box claims the copy key even with nothing selected; with nothing
    // of its own to copy, the key is left to the window, whose copy button
    // takes the whole code.
    if (event->type() == QEvent::ShortcutOverride && !textCursor().hasSelection()
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
        event->ignore();
        return false;
    }
    return QPlainTextEdit::event(event);
}

void CodeTextBox::ShowStale(bool stale)
{
    if (stale == m_stale)
        return;
    m_stale = stale;
    QPalette colours; // nothing set: the widget's usual colours
    if (stale)
        colours.setColor(QPalette::Text, QColor(128, 128, 128));
    setPalette(colours);
    setToolTip(stale ? FromUtf8(tessaldo::Text(tessaldo::TextId::CodeStale)) : QString());
}
