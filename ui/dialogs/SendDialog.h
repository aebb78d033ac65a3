#pragma once

#include <QByteArray>
#include <QDialog>

class QComboBox;
class QLabel;

// "Send to Module": choose a serial port and a rate, send the picture's
// bytes, see what happened, and try again as often as needed.
class SendDialog final : public QDialog {
    Q_OBJECT

public:
    SendDialog(QByteArray bytes, const QString &port, int baud, QWidget *parent = nullptr);

    QString Port() const;
    int Baud() const;

public slots:
    void Send();

private:
    QByteArray m_bytes;
    QComboBox *m_port = nullptr;
    QComboBox *m_baud = nullptr;
    QLabel *m_result = nullptr;
};
