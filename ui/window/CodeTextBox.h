#pragma once

#include <QPlainTextEdit>

// The code box. Its text keeps CR LF line ends both ways, so what goes to the
// clipboard is byte for byte what the generator wrote. Stale code, made from
// dots the picture no longer has, is drawn grey.
class CodeTextBox final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CodeTextBox(QWidget *parent = nullptr);

    QString Text() const;
    void SetText(const QString &text);
    void ShowStale(bool stale);
    bool IsStale() const { return m_stale; }

signals:
    // The user typed: the text is now theirs, no picture's.
    void Edited();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void UseCodeFont();

    bool m_replacing = false;
    bool m_stale = false;
    bool m_codeFont = false; // the coding font is set: after the first frame, or with the first text
};
