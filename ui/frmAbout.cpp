#include "frmAbout.h"

#include "KoreanFont.h"
#include "Twips.h"

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString kUsageNote =
    QStringLiteral("Tessaldo는 시리얼 그래픽 LCD에 쓸 이미지를 만드는 시간을 줄여 줍니다. "
                   "사용하는 LCD 종류를 고르고 그림을 그린 뒤 \"Run\"을 누르면 C 소스가 만들어지며, "
                   "그대로 복사해서 쓸 수 있습니다.\n"
                   "\n"
                   "만들어지는 코드는 CCS C 컴파일러와 모듈 제조사의 LCD 모듈에 맞춘 것입니다. "
                   "앞으로 더 많은 기능이 추가될 예정입니다.\n"
                   "\n"
                   "버전 1.1에서 바뀐 점\n"
                   "- 버전 1.0은 HLCD112, HLCD114만 지원했으나, 버전 1.1은 HLCD154, HLCD168도 지원합니다.\n"
                   "- 저장한 파일 이름에 확장자 lcd가 두 번 붙던 오류를 고쳤습니다.\n"
                   "\n"
                   "이전 버전에서 만든 그림 파일도 그대로 열 수 있습니다.");

} // namespace

frmAbout::frmAbout(QWidget *mainWindow) : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setFixedSize(TwipsToPixels(5295), TwipsToPixels(7005));

    QLabel *title = AddLabel(QStringLiteral("Label1"), QStringLiteral("Tessaldo 1.1"), TwipsRect(1095, 105, 3210, 240),
                             QColor(128, 128, 255));
    title->setFont(KoreanFont(12, true));
    AddLabel(QStringLiteral("Label2"), QStringLiteral("by the Tessaldo developers"), TwipsRect(1290, 510, 2910, 180),
             palette().color(QPalette::WindowText));
    AddLabel(QStringLiteral("Label3"), QStringLiteral("help@example.org"), TwipsRect(1980, 825, 1410, 180),
             QColor(0, 0, 255));
    AddLabel(QStringLiteral("Label4"), QStringLiteral("www.example.org/tessaldo"), TwipsRect(1635, 1140, 2130, 180),
             QColor(0, 0, 255));

    Text1 = new QPlainTextEdit(kUsageNote, this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setFont(KoreanFont(9, false));
    Text1->setGeometry(TwipsRect(45, 1485, 5205, 4860));

    cmdClose = new QPushButton(QStringLiteral("닫기"), this);
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
