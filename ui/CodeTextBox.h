#pragma once

#include "DotGrid.h"

#include <QPlainTextEdit>

#include <optional>

// The code box. Its text keeps CR LF line ends both ways, so what goes to the
// clipboard is byte for byte what the generator wrote. Code made from a
// picture is drawn grey while the picture differs from that one, until the
// user types into the box.
class CodeTextBox final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CodeTextBox(QWidget *parent = nullptr);

    QString Text() const;
    // Text that belongs to no picture.
    void SetText(const QString &text);
    // The code made from these dots.
    void SetCode(const QString &code, const tessaldo::DotGrid::Dots &madeFrom);
    // Shows whether the code still says what the picture is.
    void FollowPicture(const tessaldo::DotGrid::Dots &picture);
    bool IsStale() const { return m_stale; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void UseCodeFont();
    void Replace(const QString &text);
    void ShowStale(bool stale);

    std::optional<tessaldo::DotGrid::Dots> m_madeFrom;
    bool m_replacing = false;
    bool m_stale = false;
    bool m_codeFont = false; // the coding font is set: after the first frame, or with the first text
};
