#include "ui/dialogs/SendDialog.h"
#include "core/session/Texts.h"
#include "ui/common/Utf8.h"

#include "serial/ModuleLink.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

using namespace tessaldo;

SendDialog::SendDialog(QByteArray bytes, const QString &port, int baud, QWidget *parent)
    : QDialog(parent),
      m_bytes(std::move(bytes))
{
    setWindowTitle(FromUtf8(Text(TextId::SendToModule)));

    m_port = new QComboBox(this);
    m_port->setObjectName(QStringLiteral("port"));
    m_port->setEditable(true); // for a device the system does not list
    m_port->setMinimumContentsLength(20);
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString description = info.description().isEmpty() ? info.portName() : info.description();
        m_port->addItem(info.systemLocation(), description);
    }
#ifdef Q_OS_WIN
    m_port->lineEdit()->setPlaceholderText(QStringLiteral("COM3"));
#else
    m_port->lineEdit()->setPlaceholderText(QStringLiteral("/dev/ttyUSB0"));
#endif
    m_port->setCurrentText(port.isEmpty() && m_port->count() > 0 ? m_port->itemText(0) : port);

    m_baud = new QComboBox(this);
    m_baud->setObjectName(QStringLiteral("baud"));
    for (const int rate : kStandardBauds)
        m_baud->addItem(QString::number(rate), rate);
    m_baud->setCurrentIndex(m_baud->findData(IsStandardBaud(baud) ? baud : kDefaultBaud));

    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("result"));
    m_result->setWordWrap(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *send = buttons->addButton(QStringLiteral("Send"), QDialogButtonBox::ActionRole);
    send->setObjectName(QStringLiteral("send"));
    send->setDefault(true);
    connect(send, &QPushButton::clicked, this, &SendDialog::Send);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(FromUtf8(Text(TextId::PortLabel)), m_port);
    form->addRow(FromUtf8(Text(TextId::BaudLabel)), m_baud);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(FromUtf8(FilledText(TextId::PictureGoesOut, {std::to_string(m_bytes.size())})), this));
    layout->addLayout(form);
    layout->addWidget(m_result);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

QString SendDialog::Port() const
{
    return m_port->currentText().trimmed();
}

int SendDialog::Baud() const
{
    return m_baud->currentData().toInt();
}

void SendDialog::Send()
{
    if (Port().isEmpty()) {
        m_result->setText(QStringLiteral("Choose or type the port the module is on."));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor); // at most the two seconds the bytes may take to leave
    const QString problem = SendToModule(Port(), Baud(), m_bytes);
    QApplication::restoreOverrideCursor();
    m_result->setText(problem.isEmpty()
                          ? FromUtf8(FilledText(TextId::SentBytes, {std::to_string(m_bytes.size()),
                                                                    Port().toStdString(), std::to_string(Baud())}))
                          : FromUtf8(CannotSendTo(Port().toStdString(), problem.toStdString())));
}
