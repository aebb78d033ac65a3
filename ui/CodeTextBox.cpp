#include "CodeTextBox.h"

#include "KoreanFont.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kLf = QStringLiteral("\n");

} // namespace

CodeTextBox::CodeTextBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setFont(KoreanFont(8.25));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab moves on to the next control, as in every other box of the window.
    setTabChangesFocus(true);
}

QString CodeTextBox::Text() const
{
    return toPlainText().replace(kLf, kCrLf);
}

void CodeTextBox::SetText(const QString &text)
{
    setPlainText(QString(text).replace(kCrLf, kLf));
}
