#include "ui/dialogs/frmAbout.h"

#include "core/session/ProgramTexts.h"
#include "core/session/Texts.h"
#include "ui/common/Utf8.h"

#include "ui/common/KoreanFont.h"
#include "ui/common/Twips.h"

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

frmAbout::frmAbout(QWidget *mainWindow) : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setFixedSize(TwipsToPixels(5295), TwipsToPixels(7005));

    QLabel *title = AddLabel(QStringLiteral("Label1"), FromUtf8(tessaldo::kProgramTitle),
                             TwipsRect(1095, 105, 3210, 240), QColor(128, 128, 255));
    title->setFont(KoreanFont(12, true));
    AddLabel(QStringLiteral("Label2"), FromUtf8(tessaldo::kAuthorLine), TwipsRect(1290, 510, 2910, 180),
             palette().color(QPalette::WindowText));
    AddLabel(QStringLiteral("Label3"), FromUtf8(tessaldo::kLicenceLine), TwipsRect(1980, 825, 1410, 180),
             QColor(0, 0, 255));
    AddLabel(QStringLiteral("Label4"), FromUtf8(tessaldo::kManualLine), TwipsRect(1635, 1140, 2130, 180),
             QColor(0, 0, 255));

    // The designed note speaks of the module's 16 x 16; what the other sizes are for follows it.
    Text1 = new QPlainTextEdit(FromUtf8(tessaldo::kUsageNote) + QStringLiteral("\n\n")
                                   + FromUtf8(tessaldo::Text(tessaldo::TextId::AboutEverySize)),
                               this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setFont(KoreanFont(9, false));
    Text1->setGeometry(TwipsRect(45, 1485, 5205, 4860));

    cmdClose = new QPushButton(FromUtf8(tessaldo::kCloseCaption), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(TwipsRect(4170, 6450, 1035, 480));
    cmdClose->setDefault(true);
    connect(cmdClose, &QPushButton::clicked, this, &frmAbout::cmdClose_Click);

    setTabOrder(cmdClose, Text1);
}

QLabel *frmAbout::AddLabel(const QString &name, const QString &text, const QRect &place, const QColor &colour)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(name);
    label->setGeometry(place);
    // The designed label heights fit a small font, as the original system font was.
    label->setFont(KoreanFont(8, false));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
    return label;
}

void frmAbout::cmdClose_Click()
{
    accept();
}

void frmAbout::reject() {}

void frmAbout::paintEvent(QPaintEvent *)
{
    // Without a title bar the window manager draws no frame: draw the single-line border here.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 0));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void frmAbout::showEvent(QShowEvent *event)
{
    if (const QWidget *owner = parentWidget()) {
        QRect place(QPoint(0, 0), size());
        place.moveCenter(owner->frameGeometry().center());
        move(place.topLeft());
    }
    QDialog::showEvent(event);
}
