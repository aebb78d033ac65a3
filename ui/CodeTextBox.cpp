#include "CodeTextBox.h"

#include <QFont>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kLf = QStringLiteral("\n");

QFont CodeFont()
{
    // Gulim where Windows has it; elsewhere a Hangul font of the same kind.
    QFont font;
    font.setFamilies({QStringLiteral("Gulim"), QStringLiteral("굴림"), QStringLiteral("NanumGothic"),
                      QStringLiteral("Noto Sans CJK KR")});
    font.setPointSizeF(8.25);
    return font;
}

} // namespace

CodeTextBox::CodeTextBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setFont(CodeFont());
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
