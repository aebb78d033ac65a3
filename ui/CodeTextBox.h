#pragma once

#include <QPlainTextEdit>

// The code box. Its text keeps CR LF line ends both ways, so what goes to the
// clipboard is byte for byte what the generator wrote.
class CodeTextBox final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CodeTextBox(QWidget *parent = nullptr);

    QString Text() const;
    void SetText(const QString &text);
};
