#pragma once

#include <QWidget>

class QIcon;
class QToolButton;

// A row of equal buttons, each with a picture above its text and a key that
// names its command.
class Toolbar final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kButtonWidth = 40;

    explicit Toolbar(QWidget *parent = nullptr);

    void AddButton(const QString &text, const QString &key, const QIcon &image);
    QToolButton *Button(int index) const; // counted from 1, as the buttons are numbered

signals:
    void ButtonClick(const QString &key);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void LayOutButtons();

    QList<QToolButton *> m_buttons;
};
