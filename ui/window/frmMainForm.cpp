// The form as designed, the main window's client area below its menu bar:
// the toolbar, the LCD type options, the dot grid's frame, the code box and the copy button.
#include "ui/window/frmMain.h"

#include "core/session/ProgramTexts.h"
#include "ui/canvas/CanvasTools.h"
#include "ui/canvas/DotGridView.h"
#include "ui/common/Twips.h"
#include "ui/common/Utf8.h"
#include "ui/window/CodeCopy.h"
#include "ui/window/CodeTextBox.h"
#include "ui/window/Toolbar.h"
#include "ui/window/ToolbarIcons.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

using namespace tessaldo;

void frmMain::BuildToolbar()
{
    tbarMain = new Toolbar(m_form);
    tbarMain->setObjectName(QStringLiteral("tbarMain"));
    tbarMain->setGeometry(TwipsRect(kToolbarBox));
    tbarMain->AddButton(QStringLiteral("New"), QStringLiteral("new"), ToolbarIcons::BlankSheet());
    tbarMain->AddButton(QStringLiteral("Open"), QStringLiteral("open"), ToolbarIcons::SheetWithArrow());
    tbarMain->AddButton(QStringLiteral("Save"), QStringLiteral("save"), ToolbarIcons::OpenBox());
    tbarMain->AddButton(QStringLiteral("Run"), QStringLiteral("run"), ToolbarIcons::ArrowRight());
    tbarMain->AddButton(QStringLiteral("Exit"), QStringLiteral("exit"), ToolbarIcons::GlowingMonitor());
    tbarMain->AddButton(QStringLiteral("About"), QStringLiteral("about"), ToolbarIcons::QuestionCard());
    connect(tbarMain, &Toolbar::ButtonClick, this, &frmMain::tbarMain_ButtonClick);
}

void frmMain::BuildTypeOptions()
{
    Frame2 = new QGroupBox(QStringLiteral("LCD Type"), m_form);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(TwipsRect(kTypeFrameBox));
    for (int index = 0; index < kLcdTypeCount; ++index) {
        const auto caption = LcdTypeCaption(static_cast<LcdType>(index));
        auto *option = new QRadioButton(QString::fromLatin1(caption.data(), qsizetype(caption.size())), Frame2);
        option->setObjectName(QStringLiteral("optType_%1").arg(index));
        option->setGeometry(TwipsRect(kTypeOptionBoxes[static_cast<std::size_t>(index)]));
        connect(option, &QRadioButton::clicked, this, [this, index] { optType_Click(index); });
        optType[static_cast<std::size_t>(index)] = option;
    }
    optType[0]->setChecked(true);
}

void frmMain::BuildDotPanel()
{
    Frame1 = new QGroupBox(QStringLiteral("LCD Pannel"), m_form);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(TwipsRect(kDotFrameBox));
    lbDot = new DotGridView(m_grid, Frame1);
    lbDot->setObjectName(QStringLiteral("lbDot"));
    lbDot->move(TwipsToPixels(kGridLeftTwips), TwipsToPixels(kGridTopTwips));
    m_canvas = std::make_unique<CanvasTools>(m_session, *m_clipboard, lbDot);
    connect(lbDot, &DotGridView::DotClicked, this, &frmMain::lbDot_Click);
    connect(lbDot, &DotGridView::DotPainted, this, &frmMain::lbDot_Paint);
    connect(lbDot, &DotGridView::StrokeFinished, this, &frmMain::CommitStroke);
}

void frmMain::BuildCodeBox()
{
    txtData = new CodeTextBox(m_form);
    txtData->setObjectName(QStringLiteral("txtData"));
    txtData->setGeometry(TwipsRect(kCodeBoxBox));
    cmdCopy = new QPushButton(FromUtf8(kCopyCaption), m_form);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    cmdCopy->setGeometry(TwipsRect(kCopyButtonBox));
    // The key its caption names, anywhere in the window; the code box leaves
    // it to the window unless text is selected there.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_C), this), &QShortcut::activated, this, &frmMain::CopyByKey);
    connect(cmdCopy, &QPushButton::clicked, this, &frmMain::cmdCopy_Click);
    // What the user types is no longer the code of any picture.
    connect(txtData, &CodeTextBox::Edited, this, [this] { m_session.ForgetCode(); });
    m_copy = std::make_unique<CodeCopy>(m_session, *m_clipboard, txtData, cmdCopy, this);
}
