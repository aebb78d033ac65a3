#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The about window: name, version, authors and a short usage note. It has no
// title bar and closes only through its own button.
class frmAbout final : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget *mainWindow);

public slots:
    void cmdClose_Click();
    // Escape and the system's close request leave the window open.
    void reject() override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QLabel *AddLabel(const QString &name, const QString &text, const QRect &place, const QColor &colour);

    QPlainTextEdit *Text1 = nullptr;
    QPushButton *cmdClose = nullptr;
};
