#include "ui/window/frmMain.h"
#include "../RandomPicture.h"
#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"
#include "core/formats/DrawingFile.h"
#include "core/session/EditorCommands.h"
#include "core/session/ProgramTexts.h"
#include "ui/canvas/DotGridView.h"
#include "ui/dialogs/FileDialog.h"
#include "ui/dialogs/ImportImageDialog.h"
#include "ui/dialogs/LayoutChoiceDialog.h"
#include "ui/window/CodeTextBox.h"

#include "UiDoubles.h"
#include "ui/dialogs/SendDialog.h"
#include "ui/dialogs/frmAbout.h"
#include "ui/window/Toolbar.h"
#include <QDir>
#include <QElapsedTimer>
#include <QSlider>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QToolButton>
#include <QToolTip>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

using namespace tessaldo;

namespace {

constexpr int kTwipsPerPixel = 15;

QRect Twips(int left, int top, int width, int height)
{
    return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel};
}

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

} // namespace

class frmMainTest : public QObject, WindowUnderTest {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsSitAtTheirDesignedPlaces();
    void opensCentredOnTheScreen();
    void titleNamesTheFileAndMarksUnsavedWork();
    void dotsSitAtTheirPlacesInBothLayouts();
    void startsWithTypeZeroAClearPictureAndAnEmptyCodeBox();
    void tabOrderFollowsTheDesign();
    void clickTogglesTheDotUnderThePointerInEitherLayout();
    void pressOnOneDotAndReleaseOnAnotherTogglesNothing();
    void clickOnTheClosingGridLineTogglesNothing();
    void typeSwitchMovesDotsAndKeepsTheirStates();
    void runShowsTheGeneratedCode();
    void densestCodeShowsWholeInTheBoxInACodingFontWithHangul();
    void codeIsGreyWhileThePictureDiffersFromTheOneItWasMadeFrom();
    void copyMovesTheCodeToTheClipboardWithItsCrLf();
    void copyKeepsTheCodeAndSaysSoWhenTheClipboardHasNoText();
    void copyOfAnEmptyBoxLeavesTheClipboardAloneAndSaysSo();
    void newClearsPictureAndCodeButKeepsTheType();
    void unknownToolbarKeyDoesNothing();
    void openAndSaveSetUpTheDialogTheSameWay();
    void cancelledDialogsChangeNothingAndWriteNothing();
    void saveAddsTheChosenFiltersExtensionOffTheModulesSizeInTheFolderLastUsed();
    void openOfARowFileSelectsItsOptionAndLayout();
    void openDoesNotTouchTheCodeBox();
    void refusedOpenWarnsAndChangesNothing();
    void failedSaveWarnsWithTheReason();
    void aboutIsModalAndClosesOnlyThroughItsButton();
    void exitClosesTheWindow();
    void closingAsksOnlyWhileThePictureDiffersFromTheLastOpenedOrSaved();
    void theAnswerSavesDiscardsOrKeepsTheWindowOpen();
    void theQuestionIsAMessageBoxWithSaveDiscardAndCancel();
    void ctrlCPressesCopyAnywhereButOnASelectionInTheCodeBox();
    void ctrlCRunsStaleCodeFirstAndLeavesTheClipboardAloneWithAnEmptyBox();

    void everyKindOfStepUndoesAndRedoesOnItsOwn();
    void refusedOpenRunCopyAndSaveAreNoSteps();
    void historyKeepsAThousandSteps();
    void undoKeysAnswerEverywhereButInTheCodeBox();
    void gridKeysTransformAndPlainArrowsStillMoveTheFocusCell();
    void contextMenuListsTheItemsInOrderWithTheirKeys();
    void contextMenuOpensFromTheKeyboardAtTheFocusCell();
    void menuBarHoldsEachCommandOnceAndThePlatformsKeysAnswerAnywhere();

    void importPreviewFollowsEveryOptionAndOkIsOneStep();
    void importCancelledOrRefusedChangesNothing();
    void importOfA16By16BitmapIsDotForDotWithTheOptionsDisabled();
    void pasteAndDropBringImagesAndDrawingsIn();
    void pasteOfCodeMakesThePictureItSaysAsOneStep();
    void pasteOfValuesThatDoNotSayTheirLayoutAsksWhichPictureTheyAre();
    void animationPlaysSavesItsFramesAndPlaysOnTheModule();
    void copyAsCArrayLeavesTheCodeBoxAlone();
    void copyAsCArrayCopiesTheChosenFormNextTimeToo();
    void insertTextPutsTheFontsOwnBitmapOnTheGrid();
    void insertTextGoesOntoThePictureMovedByArrowsAndSaysWhenItIsCut();
    void insertTextTakesTypingAtOnceAndRefusesNoText();
    void sendDialogSendsTheBytesSaysWhyNotAndRemembersThePort();

private:
    QPoint CellCentre(int dot) const { return view()->CellRect(dot).center(); }
    DotGridView *view() const { return window->findChild<DotGridView *>(QStringLiteral("lbDot")); }
    QRadioButton *option(int index) const
    {
        return window->findChild<QRadioButton *>(QStringLiteral("optType_%1").arg(index));
    }
    CodeTextBox *codeBox() const { return window->findChild<CodeTextBox *>(QStringLiteral("txtData")); }
    QRect geometryOf(const QString &name) const { return window->findChild<QWidget *>(name)->geometry(); }
    QString Temp(const QString &name) const { return tempDir->filePath(name); }
    void Press(const QString &key) { window->tbarMain_ButtonClick(key); }
    void Activate()
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    const History &history() const { return window->Session().Steps(); }
    QAction *menuAction(const QString &text) const
    {
        for (QAction *action : window->GridMenu()->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }
    void ClickToolbarButton(int index)
    {
        QTest::mouseClick(window->findChild<Toolbar *>()->Button(index), Qt::LeftButton);
    }
};

void frmMainTest::init()
{
    Open();
}

void frmMainTest::cleanup()
{
    Close();
}

void frmMainTest::controlsSitAtTheirDesignedPlaces()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Tessaldo " TESSALDO_VERSION));
    // The form as designed is the client area, right below the menu bar.
    QCOMPARE(window->centralWidget()->geometry(), QRect(0, window->menuBar()->height(), 3645 / 15, 7695 / 15));
    QCOMPARE(window->minimumSize(), window->size()); // larger, the canvas takes the room
    QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));

    QCOMPARE(geometryOf("tbarMain"), Twips(0, 0, 3645, 855));
    QCOMPARE(geometryOf("Frame2"), Twips(60, 885, 3540, 900));
    QCOMPARE(option(0)->geometry(), Twips(150, 285, 2325, 210));
    QCOMPARE(option(1)->geometry(), Twips(150, 570, 2325, 210));
    QCOMPARE(option(0)->parentWidget()->objectName(), QStringLiteral("Frame2"));
    QCOMPARE(geometryOf("Frame1"), Twips(45, 1860, 3570, 3675));
    QCOMPARE(geometryOf("txtData"), Twips(30, 5580, 3555, 1185));
    QCOMPARE(geometryOf("cmdCopy"), Twips(45, 6825, 3510, 450));

    QCOMPARE(window->findChild<QGroupBox *>("Frame1")->title(), QStringLiteral("LCD Pannel"));
    QCOMPARE(window->findChild<QGroupBox *>("Frame2")->title(), QStringLiteral("LCD Type"));
    QCOMPARE(option(0)->text(), QStringLiteral("HLCD112, HLCD114"));
    QCOMPARE(option(1)->text(), QStringLiteral("HLCD154, HLCD168"));
    QCOMPARE(window->findChild<QPushButton *>("cmdCopy")->text(), QStringLiteral("클립보드로 복사 (Ctl+C)"));

    const QStringList texts = {"New", "Open", "Save", "Run", "Exit", "About"};
    const QStringList keys = {"new", "open", "save", "run", "exit", "about"};
    const auto *toolbar = window->findChild<Toolbar *>();
    for (int k = 1; k <= 6; ++k) {
        const QToolButton *button = toolbar->Button(k);
        QCOMPARE(button->text(), texts[k - 1]);
        QCOMPARE(button->objectName(), "tbarMain_" + keys[k - 1]);
        QCOMPARE(button->geometry(), QRect(40 * (k - 1), 0, 40, 855 / 15));
        QCOMPARE(button->iconSize(), QSize(32, 32));
        QVERIFY(!button->icon().isNull());
    }
    QCOMPARE(toolbar->Button(7), nullptr);
}

void frmMainTest::titleNamesTheFileAndMarksUnsavedWork()
{
    const QString program = QStringLiteral("Tessaldo " TESSALDO_VERSION);
    QVERIFY(window->SaveFile(Temp(QStringLiteral("bell.Lcd"))));
    QCOMPARE(window->windowTitle(), QStringLiteral("bell.Lcd[*] - ") + program);
    QVERIFY(!window->isWindowModified());
    window->lbDot_Click(5);
    QVERIFY(window->isWindowModified());
    window->Undo();
    QVERIFY(!window->isWindowModified());
    window->tbarMain_ButtonClick(QStringLiteral("new"));
    window->lbDot_Click(5);
    QCOMPARE(window->windowTitle(), program + QStringLiteral("[*]"));
    window->OpenFile(Temp(QStringLiteral("bell.Lcd")));
    QCOMPARE(window->windowTitle(), QStringLiteral("bell.Lcd[*] - ") + program);
    QVERIFY(!window->isWindowModified());
}

void frmMainTest::opensCentredOnTheScreen()
{
    const QRect available = window->screen()->availableGeometry();
    // Off by no more than the window frame, whose size is known only once it is shown.
    const QPoint offCentre = window->geometry().center() - available.center();
    QVERIFY2(offCentre.manhattanLength() <= 8,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void frmMainTest::dotsSitAtTheirPlacesInBothLayouts()
{
    const QWidget *frame = window->findChild<QWidget *>("Frame1");
    const auto placeInFrame = [&](int dot) {
        return QRect(view()->mapTo(frame, view()->CellRect(dot).topLeft()), view()->CellRect(dot).size());
    };
    // Twips 200 + 195q: 13.33 px rounds to 13, and every step is 13 px.
    QCOMPARE(placeInFrame(0), QRect(13, 20, 13, 13));
    QCOMPARE(placeInFrame(16), QRect(13 + 13, 20, 13, 13));
    QCOMPARE(placeInFrame(255), QRect(13 + 15 * 13, 20 + 15 * 13, 13, 13));
    QVERIFY(frame->rect().contains(placeInFrame(255)));

    QTest::mouseClick(option(1), Qt::LeftButton);
    QCOMPARE(placeInFrame(0), QRect(13, 20, 13, 13));
    QCOMPARE(placeInFrame(16), QRect(13, 20 + 13, 13, 13));
    QCOMPARE(placeInFrame(1), QRect(13 + 13, 20, 13, 13));
    QCOMPARE(placeInFrame(255), QRect(13 + 15 * 13, 20 + 15 * 13, 13, 13));
}

void frmMainTest::startsWithTypeZeroAClearPictureAndAnEmptyCodeBox()
{
    QVERIFY(option(0)->isChecked());
    QVERIFY(!option(1)->isChecked());
    QCOMPARE(window->Grid(), DotGrid{});
    QCOMPARE(view()->Layout(), LcdType::Column);
    QCOMPARE(codeBox()->Text(), QString());
    const QImage shown = view()->grab().toImage();
    QCOMPARE(shown.pixelColor(view()->CellRect(37).center()), QColor(Qt::white));
}

void frmMainTest::tabOrderFollowsTheDesign()
{
    window->activateWindow();
    codeBox()->setFocus();
    QTest::keyClick(codeBox(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), window->findChild<QWidget *>("cmdCopy"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), option(0));
    QCOMPARE(codeBox()->Text(), QString()); // Tab moved on instead of typing into the box
}

void frmMainTest::clickTogglesTheDotUnderThePointerInEitherLayout()
{
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(16));
    QVERIFY(window->Grid().IsSet(16));
    QCOMPARE(view()->DotAt(QPoint(13 + 6, 6)), 16); // second column, first row
    QCOMPARE(view()->grab().toImage().pixelColor(QPoint(13 + 6, 6)), QColor(Qt::black));

    QTest::mouseClick(option(1), Qt::LeftButton);
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(13 + 6, 6)); // now dot 1
    QVERIFY(window->Grid().IsSet(1));
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(16));
    QVERIFY(window->Grid().IsClear(16));

    int set = 0;
    for (int dot = 0; dot < kDotCount; ++dot)
        set += window->Grid().IsSet(dot);
    QCOMPARE(set, 1);
}

void frmMainTest::pressOnOneDotAndReleaseOnAnotherTogglesNothing()
{
    QTest::mousePress(view(), Qt::LeftButton, {}, CellCentre(5));
    QTest::mouseRelease(view(), Qt::LeftButton, {}, CellCentre(200));
    QCOMPARE(window->Grid(), DotGrid{});
    QTest::mouseClick(view(), Qt::RightButton, {}, CellCentre(5));
    QCOMPARE(window->Grid(), DotGrid{});
}

void frmMainTest::clickOnTheClosingGridLineTogglesNothing()
{
    const int edge = 16 * DotGridView::kCellPixels;
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(edge, 5));
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(5, edge));
    QCOMPARE(window->Grid(), DotGrid{});
}

void frmMainTest::typeSwitchMovesDotsAndKeepsTheirStates()
{
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(16));
    QTest::mouseClick(option(1), Qt::LeftButton);
    QCOMPARE(window->Grid().nLCDType(), LcdType::Row);
    QVERIFY(option(1)->isChecked() && !option(0)->isChecked());
    QVERIFY(window->Grid().IsSet(16));
    QCOMPARE(view()->grab().toImage().pixelColor(QPoint(6, 13 + 6)), QColor(Qt::black));

    QTest::mouseClick(option(1), Qt::LeftButton); // the type already current
    QCOMPARE(window->Grid().nLCDType(), LcdType::Row);
    QTest::mouseClick(option(0), Qt::LeftButton);
    QCOMPARE(view()->Layout(), LcdType::Column);
    QCOMPARE(view()->DotAt(QPoint(13 + 6, 6)), 16);
    QVERIFY(window->Grid().IsSet(16));
}

void frmMainTest::runShowsTheGeneratedCode()
{
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(0));
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(255));
    ClickToolbarButton(4);
    QCOMPARE(codeBox()->Text(), QString::fromStdString(LCDtoCODE(window->Grid())));
    QVERIFY(codeBox()->Text().startsWith(R"(printf("%c%c%c%c%c%c%c%c%c%c%c%c%c%c%c",0xA4,0x1,)"));
}

void frmMainTest::densestCodeShowsWholeInTheBoxInACodingFontWithHangul()
{
    window->ApplyTransform(Transform::Invert); // every dot set: the longest code there is
    Press("run");
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    CodeTextBox *box = codeBox();
    int lines = 0;
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next())
        lines += block.layout()->lineCount();
    const QFontMetricsF metrics(box->font());
    const qreal needed = lines * metrics.lineSpacing() + 2 * box->document()->documentMargin();
    QVERIFY2(
        needed <= box->viewport()->height(),
        qPrintable(QStringLiteral("%1 lines need %2 px of %3").arg(lines).arg(needed).arg(box->viewport()->height())));
    QCOMPARE(QFontInfo(box->font()).family(), QStringLiteral("NanumGothicCoding"));
    QVERIFY(QRawFont::fromFont(box->font()).supportsCharacter(U'한'));
}

void frmMainTest::codeIsGreyWhileThePictureDiffersFromTheOneItWasMadeFrom()
{
    CodeTextBox *box = codeBox();
    window->lbDot_Click(3);
    Press("run");
    const QString code = box->Text();
    QVERIFY(!box->IsStale());
    window->lbDot_Click(4);
    QVERIFY(box->IsStale());
    QCOMPARE(box->toolTip(), QStringLiteral("The picture has changed since Run"));
    QCOMPARE(box->palette().color(QPalette::Text), QColor(128, 128, 128));
    QCOMPARE(box->Text(), code); // still what Copy copies
    window->optType_Click(1);    // the code does not depend on the layout
    QVERIFY(box->IsStale());
    window->Undo();
    QVERIFY(box->IsStale());
    window->Undo(); // back to the picture the code was made from
    QVERIFY(!box->IsStale());
    QCOMPARE(box->toolTip(), QString());
    window->Redo();
    QVERIFY(box->IsStale());
    QTest::keyClicks(box, "x"); // the user's own text belongs to no picture
    QVERIFY(!box->IsStale());
    window->lbDot_Click(5);
    QVERIFY(!box->IsStale());
    Press("run");
    window->lbDot_Click(5);
    Press("new");
    QVERIFY(!box->IsStale());
}

void frmMainTest::copyMovesTheCodeToTheClipboardWithItsCrLf()
{
    Press("run");
    QTest::mouseClick(window->findChild<QPushButton *>("cmdCopy"), Qt::LeftButton);
    QCOMPARE(clipboard->clears, 1);
    QCOMPARE(clipboard->text, QString::fromStdString(LCDtoCODE(DotGrid{})));
    QCOMPARE(clipboard->text.count(QStringLiteral("\r\n")), 1);
    QCOMPARE(codeBox()->Text(), QString());
}

void frmMainTest::copyKeepsTheCodeAndSaysSoWhenTheClipboardHasNoText()
{
    clipboard->refusesText = true;
    Press("run");
    QString title;
    QString text;
    OnNextModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box != nullptr);
        title = box->windowTitle();
        text = box->text();
        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
        box->button(QMessageBox::Ok)->click();
    });
    window->cmdCopy_Click();
    QCOMPARE(title, QStringLiteral("Tessaldo " TESSALDO_VERSION));
    QCOMPARE(text, QStringLiteral("클립보드에 텍스트가 없습니다."));
    QCOMPARE(codeBox()->Text(), QString::fromStdString(LCDtoCODE(DotGrid{})));
}

void frmMainTest::copyOfAnEmptyBoxLeavesTheClipboardAloneAndSaysSo()
{
    Press("run");
    auto *copy = window->findChild<QPushButton *>("cmdCopy");
    QTest::mouseClick(copy, Qt::LeftButton);
    QString said;
    OnNextModal([&](QWidget *modal) {
        said = qobject_cast<QMessageBox *>(modal)->text();
        modal->close();
    });
    QTest::mouseClick(copy, Qt::LeftButton); // the second press: the box is empty now
    QCOMPARE(said.toStdString(), std::string(kEmptyCodeBoxNote));
    QCOMPARE(clipboard->clears, 1);
    QCOMPARE(clipboard->text, QString::fromStdString(LCDtoCODE(DotGrid{})));
}

void frmMainTest::newClearsPictureAndCodeButKeepsTheType()
{
    QTest::mouseClick(option(1), Qt::LeftButton);
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(77));
    Press("run");
    ClickToolbarButton(1);
    QCOMPARE(codeBox()->Text(), QString());
    for (int dot = 0; dot < kDotCount; ++dot)
        QVERIFY(window->Grid().IsClear(dot));
    QCOMPARE(window->Grid().nLCDType(), LcdType::Row);
    QCOMPARE(view()->Layout(), LcdType::Row);
    QVERIFY(option(1)->isChecked());
}

void frmMainTest::unknownToolbarKeyDoesNothing()
{
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(3));
    const DotGrid before = window->Grid();
    Press("Run"); // keys match exactly, with case
    Press("");
    QCOMPARE(codeBox()->Text(), QString());
    QCOMPARE(window->Grid(), before);
    QVERIFY(dialog->shown.isEmpty());
}

void frmMainTest::openAndSaveSetUpTheDialogTheSameWay()
{
    dialog->FileName = QStringLiteral("left over");
    ClickToolbarButton(2);
    ClickToolbarButton(3);
    QCOMPARE(dialog->shown.size(), 2);
    const QString filter = QStringLiteral("All Files (*.*)|*.*|LCD File (*.Lcd)|*.Lcd|");
    QCOMPARE(dialog->shown[0].save, false);
    QCOMPARE(dialog->shown[0].title, QStringLiteral("Open Graphic LCD File"));
    QCOMPARE(dialog->shown[1].save, true);
    QCOMPARE(dialog->shown[1].title, QStringLiteral("Save Graphic LCD File"));
    for (const auto &shown : dialog->shown) {
        QCOMPARE(shown.filter, filter);
        QCOMPARE(shown.fileName, QString());
        QCOMPARE(shown.filterIndex, 2);
    }
    QCOMPARE(FileDialog::NameFilters(filter), QStringList({"All Files (*)", "LCD File (*.Lcd)"}));
}

void frmMainTest::cancelledDialogsChangeNothingAndWriteNothing()
{
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(9));
    Press("run");
    const DotGrid before = window->Grid();
    const QString code = codeBox()->Text();
    dialog->answers = {"", ""};
    Press("open");
    Press("save");
    QCOMPARE(window->Grid(), before);
    QCOMPARE(codeBox()->Text(), code);
    QVERIFY(QDir(tempDir->path()).isEmpty());
}

void frmMainTest::saveAddsTheChosenFiltersExtensionOffTheModulesSizeInTheFolderLastUsed()
{
    // At 16 x 16 the name goes to the file exactly as typed.
    QTest::mouseClick(option(1), Qt::LeftButton);
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(255));
    dialog->answers = {Temp(QStringLiteral("그림"))};
    dialog->filterChoices = {2};
    Press("save");
    QCOMPARE(QDir(tempDir->path()).entryList(QDir::Files), QStringList({"그림"}));
    QCOMPARE(ReadBytes(Temp(QStringLiteral("그림"))), QByteArray::fromStdString(FormatDrawing(window->Grid())));

    // At any other size the chosen filter's extension completes it.
    DotGrid wide;
    wide.SetAllDots(DotGrid::Dots({12, 7}));
    QVERIFY(SavePicture(wide, Temp(QStringLiteral("wide.pbm")).toStdU16String()).ok());
    window->OpenFile(Temp(QStringLiteral("wide.pbm")));
    const struct {
        QString typed;
        int filter;
        QString written;
    } cases[] = {
        {"넓은", 1, "넓은.pbm"}, // every picture: the first kind's
        {"넓은", 3, "넓은.xbm"},
        {"넓은2.pbm", 4, "넓은2.pbm"}, // all files: exactly as typed
    };
    for (const auto &c : cases) {
        dialog->answers = {Temp(c.typed)};
        dialog->filterChoices = {c.filter};
        Press("save");
        QVERIFY2(QFileInfo::exists(Temp(c.written)), qPrintable(c.written));
        QCOMPARE(dialog->shown.constLast().initDir, tempDir->path());
    }

    // The next start's dialogs open where this one's last chose a file.
    const QString folder = tempDir->path();
    Close();
    OpenKeepingChoices();
    dialog->answers = {""};
    Press("open");
    QCOMPARE(dialog->shown.constLast().initDir, folder);
}

void frmMainTest::openOfARowFileSelectsItsOptionAndLayout()
{
    DotGrid saved;
    saved.SetLCDType(LcdType::Row);
    saved.SetDot(1, DotState::Set);
    const QString path = Temp(QStringLiteral("row.Lcd"));
    WriteBytes(path, QByteArray::fromStdString(FormatDrawing(saved)));
    dialog->answers = {path};
    Press("open");
    QCOMPARE(window->Grid(), saved);
    QVERIFY(option(1)->isChecked() && !option(0)->isChecked());
    QCOMPARE(view()->Layout(), LcdType::Row);
    QCOMPARE(view()->grab().toImage().pixelColor(QPoint(13 + 6, 6)), QColor(Qt::black));
}

void frmMainTest::openDoesNotTouchTheCodeBox()
{
    Press("run");
    const QString code = codeBox()->Text();
    const QString path = Temp(QStringLiteral("legacy.Lcd"));
    WriteBytes(path, QByteArray(255, '0'));
    window->OpenFile(path);
    QVERIFY(window->Grid().IsSet(254));
    QCOMPARE(codeBox()->Text(), code);
}

void frmMainTest::refusedOpenWarnsAndChangesNothing()
{
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(42));
    const DotGrid before = window->Grid();
    const QString path = Temp(QStringLiteral("bad.Lcd"));
    WriteBytes(path, " 4\r\n111");
    QString title;
    QString text;
    OnNextModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box != nullptr);
        QCOMPARE(box->icon(), QMessageBox::Warning);
        title = box->windowTitle();
        text = box->text();
        box->accept();
    });
    dialog->answers = {path};
    Press("open");
    QCOMPARE(title, QStringLiteral("Tessaldo " TESSALDO_VERSION));
    QCOMPARE(text,
             QStringLiteral("Cannot open \"%1\": its type line gives 4, but the LCD type must be 0 or 1.").arg(path));
    QCOMPARE(window->Grid(), before);
    QVERIFY(option(0)->isChecked());
    QCOMPARE(view()->Layout(), LcdType::Column);
}

void frmMainTest::failedSaveWarnsWithTheReason()
{
    const QString path = Temp(QStringLiteral("missing/picture.Lcd"));
    QString text;
    OnNextModal([&](QWidget *modal) {
        text = qobject_cast<QMessageBox *>(modal)->text();
        modal->close();
    });
    window->SaveFile(path);
    QCOMPARE(text, QStringLiteral("Cannot save \"%1\": No such file or directory.").arg(path));
    QVERIFY(!QFile::exists(path));
}

void frmMainTest::aboutIsModalAndClosesOnlyThroughItsButton()
{
    bool closedByEscape = true;
    bool seen = false;
    OnNextModal([&](QWidget *modal) {
        auto *about = qobject_cast<frmAbout *>(modal);
        QVERIFY(about != nullptr);
        seen = true;
        QVERIFY(about->isModal());
        QVERIFY(about->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(about->size(), QSize(5295 / 15, 7005 / 15));
        QCOMPARE(about->findChild<QLabel *>("Label1")->text(), QStringLiteral("Tessaldo " TESSALDO_VERSION));
        QCOMPARE(about->findChild<QLabel *>("Label1")->geometry(), Twips(1095, 105, 3210, 240));
        QCOMPARE(about->findChild<QWidget *>("Text1")->geometry(), Twips(45, 1485, 5205, 4860));
        QVERIFY(about->findChild<QPlainTextEdit *>("Text1")->isReadOnly());
        // What is true of every copy, where addresses that reach nobody stood.
        QCOMPARE(about->findChild<QLabel *>("Label3")->text(), QStringLiteral("MIT License"));
        QCOMPARE(about->findChild<QLabel *>("Label3")->geometry(), Twips(1980, 825, 1410, 180));
        QVERIFY(about->findChild<QLabel *>("Label4")->text().contains(QStringLiteral("man tessaldo")));
        QVERIFY(about->findChild<QPlainTextEdit *>("Text1")->toPlainText().contains("HLCD154"));
        QVERIFY(about->findChild<QPlainTextEdit *>("Text1")->toPlainText().contains("1024 x 1024"));
        auto *close = about->findChild<QPushButton *>("cmdClose");
        QCOMPARE(close->text(), QStringLiteral("닫기"));
        QCOMPARE(close->geometry(), Twips(4170, 6450, 1035, 480));
        QTest::keyClick(about, Qt::Key_Escape);
        closedByEscape = !about->isVisible();
        QTest::mouseClick(close, Qt::LeftButton);
    });
    Press("about");
    QVERIFY(seen);
    QVERIFY(!closedByEscape);
    QCOMPARE(window->findChild<frmAbout *>(), nullptr); // destroyed when closed
}

void frmMainTest::exitClosesTheWindow()
{
    ClickToolbarButton(5);
    QVERIFY(!window->isVisible());
}

void frmMainTest::closingAsksOnlyWhileThePictureDiffersFromTheLastOpenedOrSaved()
{
    window->lbDot_Click(3);
    QVERIFY(!window->close()); // the script answers Cancel
    QVERIFY(window->isVisible() && window->Grid().IsSet(3));
    window->Undo(); // back to the picture it started with
    QVERIFY(window->close());

    const QString path = Temp(QStringLiteral("clean.Lcd"));
    window->show();
    QTest::mouseClick(option(1), Qt::LeftButton); // the type alone makes a difference
    QVERIFY(!window->close());
    dialog->answers = {path};
    Press("save");
    QVERIFY(window->close());
    window->show();
    window->lbDot_Click(4);
    window->OpenFile(path);
    QVERIFY(window->close());
    QCOMPARE(question->asked, 2);
}

void frmMainTest::theAnswerSavesDiscardsOrKeepsTheWindowOpen()
{
    using Answer = SaveChangesQuestion::Answer;
    window->lbDot_Click(9);
    // Save, but the save dialog cancelled or the file not written: the window stays.
    question->answers = {Answer::Save, Answer::Save, Answer::Save};
    dialog->answers = {"", Temp(QStringLiteral("missing/picture.Lcd")), Temp(QStringLiteral("saved.Lcd"))};
    QVERIFY(!window->close());
    OnNextModal([](QWidget *modal) { modal->close(); });
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    ClickToolbarButton(5); // Exit
    QVERIFY(!window->isVisible());
    QCOMPARE(ReadBytes(Temp(QStringLiteral("saved.Lcd"))), QByteArray::fromStdString(FormatDrawing(window->Grid())));

    window->show();
    window->lbDot_Click(10);
    question->answers = {Answer::Discard};
    ClickToolbarButton(5);
    QVERIFY(!window->isVisible());
    QCOMPARE(question->asked, 4);
    QCOMPARE(dialog->shown.size(), 3);
}

void frmMainTest::theQuestionIsAMessageBoxWithSaveDiscardAndCancel()
{
    frmMain plain(std::make_unique<ScriptedDialog>(), std::make_unique<FakeClipboard>());
    plain.show();
    plain.lbDot_Click(0);
    QString seen;
    QMessageBox::StandardButtons buttons;
    OnNextModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        seen = box->windowTitle() + u'|' + box->text();
        buttons = box->standardButtons();
        const bool savesByDefault = box->defaultButton() == box->button(QMessageBox::Save);
        box->button(savesByDefault ? QMessageBox::Cancel : QMessageBox::Discard)->click();
    });
    QVERIFY(!plain.close()); // Cancel, after finding Save the default
    QCOMPARE(seen, QStringLiteral("Tessaldo " TESSALDO_VERSION "|Save changes to the picture?"));
    QCOMPARE(buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
}

void frmMainTest::ctrlCPressesCopyAnywhereButOnASelectionInTheCodeBox()
{
    const QString code = QString::fromStdString(LCDtoCODE(DotGrid{}));
    Activate();
    for (QWidget *focus : {static_cast<QWidget *>(option(1)), static_cast<QWidget *>(codeBox())}) {
        Press("run");
        clipboard->text.clear();
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier);
        QTRY_COMPARE(clipboard->text, code); // the button is pressed, and lets go a moment later
        QCOMPARE(codeBox()->Text(), QString());
    }
    QCOMPARE(clipboard->clears, 2);

    // A selection in the code box is copied as in any text box; the code stays.
    Press("run");
    QTextCursor selection(codeBox()->document());
    selection.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
    codeBox()->setTextCursor(selection);
    QTest::keyClick(codeBox(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("printf"));
    QTest::qWait(200);
    QCOMPARE(clipboard->clears, 2);
    QCOMPARE(codeBox()->Text(), code);
}

void frmMainTest::ctrlCRunsStaleCodeFirstAndLeavesTheClipboardAloneWithAnEmptyBox()
{
    Activate();
    Press("run");
    window->lbDot_Click(9);
    QTest::keyClick(option(0), Qt::Key_C, Qt::ControlModifier);
    DotGrid drawn;
    drawn.SetDot(9, DotState::Set);
    QCOMPARE(clipboard->text, QString::fromStdString(LCDtoCODE(drawn)));
    QVERIFY2(QToolTip::text().contains(QStringLiteral("run first")), qPrintable(QToolTip::text()));
    QCOMPARE(codeBox()->Text(), QString());

    const int clears = clipboard->clears;
    QString said;
    OnNextModal([&](QWidget *modal) {
        said = qobject_cast<QMessageBox *>(modal)->text();
        modal->close();
    });
    QTest::keyClick(option(0), Qt::Key_C, Qt::ControlModifier);
    QVERIFY2(said.contains(QStringLiteral("press Run")), qPrintable(said));
    QCOMPARE(clipboard->clears, clears);
    QCOMPARE(clipboard->text, QString::fromStdString(LCDtoCODE(drawn)));
}

void frmMainTest::everyKindOfStepUndoesAndRedoesOnItsOwn()
{
    DotGrid opened;
    opened.SetDot(200, DotState::Set);
    const QString path = Temp(QStringLiteral("opened.Lcd"));
    WriteBytes(path, QByteArray::fromStdString(FormatDrawing(opened)));

    // Each step, and the picture it leaves; a stroke over three dots is one step.
    QList<DotGrid> pictures = {window->Grid()};
    const auto step = [&](const std::function<void()> &action) {
        action();
        pictures.append(window->Grid());
    };
    step([&] { QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(0)); });
    step([&] {
        QTest::mousePress(view(), Qt::LeftButton, {}, CellCentre(1));
        QTest::mouseMove(view(), CellCentre(2));
        QTest::mouseMove(view(), CellCentre(3));
        QTest::mouseRelease(view(), Qt::LeftButton, {}, CellCentre(3));
    });
    step([&] {
        view()->setFocus();
        QTest::keyClick(view(), Qt::Key_Space); // the focus cell followed the press: dot 1
    });
    step([&] { QTest::mouseClick(option(1), Qt::LeftButton); });
    step([&] { window->ApplyTransform(Transform::RotateClockwise); });
    step([&] { Press("new"); });
    step([&] {
        dialog->answers = {path};
        Press("open");
    });
    QCOMPARE(history().Count(), pictures.size() - 1);
    QCOMPARE(pictures[2].AllDots()[3], DotState::Set);
    QCOMPARE(pictures[3].AllDots()[1], DotState::Clear);

    const auto shows = [&](const DotGrid &picture) {
        QCOMPARE(window->Grid(), picture);
        QCOMPARE(view()->Layout(), picture.nLCDType());
        QVERIFY(option(LcdTypeValue(picture.nLCDType()))->isChecked());
        const QImage shown = view()->grab().toImage();
        for (int dot = 0; dot < kDotCount; ++dot)
            QCOMPARE(shown.pixelColor(view()->CellRect(dot).center()) == Qt::black, picture.IsSet(dot));
    };
    for (auto i = pictures.size() - 1; i > 0; --i) {
        window->Undo();
        shows(pictures[i - 1]);
    }
    for (auto i = 1; i < pictures.size(); ++i) {
        window->Redo();
        shows(pictures[i]);
    }
    window->Redo(); // nothing left to redo
    shows(pictures.last());
}

void frmMainTest::refusedOpenRunCopyAndSaveAreNoSteps()
{
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(7));
    Press("run");
    window->cmdCopy_Click();
    window->SaveFile(Temp(QStringLiteral("saved.Lcd")));
    const QString bad = Temp(QStringLiteral("bad.Lcd"));
    WriteBytes(bad, " 9\r\n");
    OnNextModal([](QWidget *modal) { modal->close(); });
    window->OpenFile(bad);
    Press("new");
    Press("new"); // a clear picture cleared again changes nothing
    window->ApplyTransform(Transform::ShiftUp);
    QCOMPARE(history().Count(), 2);
    window->Undo();
    QVERIFY(window->Grid().IsSet(7));
}

void frmMainTest::historyKeepsAThousandSteps()
{
    // One step more than the history holds: the oldest goes, so undoing all leaves the first click's dot.
    QVERIFY(History::kSteps >= 1000);
    for (int i = 0; i <= History::kSteps; ++i)
        window->lbDot_Click(i % kDotCount);
    QCOMPARE(history().Count(), History::kSteps);
    while (history().CanUndo())
        window->Undo();
    DotGrid first;
    first.SetDot(0, DotState::Set);
    QCOMPARE(window->Grid(), first);
}

void frmMainTest::undoKeysAnswerEverywhereButInTheCodeBox()
{
    Activate();
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(5));
    option(0)->setFocus();
    QTest::keyClick(option(0), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(window->Grid().IsClear(5));
    QTest::keyClick(option(0), Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(window->Grid().IsSet(5));
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(window->Grid().IsSet(5));

    // In the code box the keys are the text's own undo and redo.
    codeBox()->setFocus();
    QTest::keyClicks(codeBox(), QStringLiteral("ab"));
    QTest::keyClick(codeBox(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(codeBox()->Text(), QString());
    QTest::keyClick(codeBox(), Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(codeBox(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(codeBox()->Text(), QStringLiteral("ab"));
    QVERIFY(window->Grid().IsSet(5));
    QCOMPARE(history().Index(), 1);
}

void frmMainTest::gridKeysTransformAndPlainArrowsStillMoveTheFocusCell()
{
    Activate();
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(17)); // column 1, row 1
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(view(), Qt::Key_Up, Qt::ShiftModifier);
    QVERIFY(window->Grid().IsSet(0));
    QTest::keyClick(view(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(view(), Qt::Key_Down, Qt::ShiftModifier);
    QVERIFY(window->Grid().IsSet(17));
    QTest::keyClick(view(), Qt::Key_I, Qt::ControlModifier);
    QVERIFY(window->Grid().IsClear(17) && window->Grid().IsSet(0));
    QCOMPARE(history().Count(), 6);

    QCOMPARE(view()->FocusDot(), 17);
    QTest::keyClick(view(), Qt::Key_Right);
    QCOMPARE(view()->FocusDot(), 33);
    QCOMPARE(history().Count(), 6);

    // Elsewhere in the window the transform keys do nothing.
    option(0)->setFocus();
    QTest::keyClick(option(0), Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(history().Count(), 6);
}

namespace {

// The menu stands at `point`, or as near as the screen's bottom lets a menu this tall be.
bool OpensAt(const QMenu *menu, QPoint point)
{
    return menu->pos().x() == point.x()
           && (menu->pos().y() == point.y() || menu->geometry().bottom() == menu->screen()->geometry().bottom());
}

} // namespace

void frmMainTest::contextMenuListsTheItemsInOrderWithTheirKeys()
{
    QMenu *menu = window->GridMenu();
    QStringList items;
    for (const QAction *action : menu->actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->text() + '|' + action->shortcut().toString());
    QCOMPARE(items, QStringList({"Undo|Ctrl+Z",
                                 "Redo|Ctrl+Shift+Z",
                                 "-",
                                 "New Picture…|Ctrl+N",
                                 "Picture Size…|",
                                 "-",
                                 "Invert|Ctrl+I",
                                 "Shift Up|Shift+Up",
                                 "Shift Down|Shift+Down",
                                 "Shift Left|Shift+Left",
                                 "Shift Right|Shift+Right",
                                 "Flip Horizontally|",
                                 "Flip Vertically|",
                                 "Rotate Clockwise|",
                                 "Rotate Counterclockwise|",
                                 "-",
                                 "Tools|",
                                 "Selection|",
                                 "-",
                                 "Import Image…|",
                                 "Insert Text…|",
                                 "Paste|Ctrl+V",
                                 "-",
                                 "Copy as C Array|",
                                 "C Array Form|",
                                 "Send to Module…|",
                                 "-",
                                 "View|",
                                 "-",
                                 "Set|",
                                 "-",
                                 "Font|"}));
    const auto enabled = [&] { return QList<bool>{menu->actions()[0]->isEnabled(), menu->actions()[1]->isEnabled()}; };
    QCOMPARE(enabled(), QList<bool>({false, false}));
    QTest::mouseClick(view(), Qt::LeftButton, {}, CellCentre(3));
    QCOMPARE(enabled(), QList<bool>({true, false}));
    window->Undo();
    QCOMPARE(enabled(), QList<bool>({false, true}));

    // The right button shows the menu where it was pressed and toggles nothing.
    QTest::mouseClick(view(), Qt::RightButton, {}, CellCentre(3));
    QContextMenuEvent right(QContextMenuEvent::Mouse, CellCentre(3), view()->mapToGlobal(CellCentre(3)));
    QApplication::sendEvent(view(), &right);
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(OpensAt(menu, view()->mapToGlobal(CellCentre(3))));
    QCOMPARE(window->Grid(), DotGrid{});
    menu->actions()[6]->trigger(); // Invert
    QCOMPARE(window->Grid().IsSet(3), true);
    menu->close();
}

void frmMainTest::contextMenuOpensFromTheKeyboardAtTheFocusCell()
{
    Activate();
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_Right);
    QTest::keyClick(view(), Qt::Key_F10, Qt::ShiftModifier);
    QMenu *menu = window->GridMenu();
    const auto atFocusCell = [menu, this] { return OpensAt(menu, view()->mapToGlobal(CellCentre(16))); };
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(atFocusCell());
    menu->close();
    QTRY_VERIFY(!menu->isVisible());

    // What the platform sends for the Menu key.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0), view()->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(view(), &key);
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(atFocusCell());
    menu->close();
}

namespace {

// 32 x 32: the left half black, the right half a grey of 100.
GreyImage HalfBlackHalfGrey()
{
    GreyImage image{32, 32, {}};
    for (int i = 0; i < 32 * 32; ++i)
        image.pixels.push_back(i % 32 < 16 ? 0 : 100);
    return image;
}

int SetDots(const DotGrid &grid)
{
    return static_cast<int>(std::count(grid.AllDots().begin(), grid.AllDots().end(), DotState::Set));
}

} // namespace

void frmMainTest::menuBarHoldsEachCommandOnceAndThePlatformsKeysAnswerAnywhere()
{
    QList<QAction *> inBar;
    QList<QAction *> inGrid;
    std::function<void(const QMenu *, QList<QAction *> &)> collect = [&](const QMenu *menu, QList<QAction *> &into) {
        for (QAction *action : menu->actions()) {
            if (action->menu() != nullptr)
                collect(action->menu(), into);
            else if (!action->isSeparator())
                into << action;
        }
    };
    QStringList titles;
    for (const QAction *top : window->menuBar()->actions()) {
        titles << top->text();
        collect(top->menu(), inBar);
    }
    collect(window->GridMenu(), inGrid);
    QCOMPARE(titles, QStringList({"&File", "&Edit", "&View", "&Picture", "&Tools", "&Help"}));
    for (QAction *top : window->menuBar()->actions()) // in the designed width, none behind the bar's extension
        QVERIFY2(window->menuBar()->rect().contains(window->menuBar()->actionGeometry(top)), qPrintable(top->text()));
    const auto offered = std::count_if(EditorCommands().begin(), EditorCommands().end(),
                                       [](const EditorCommand &command) { return command.OfferedBy(Face::Window); });
    QCOMPARE(inBar.size(), offered);
    QCOMPARE(QSet<QAction *>(inBar.begin(), inBar.end()).size(), offered); // one action per command
    for (QAction *action : inGrid)
        QVERIFY2(inBar.contains(action), qPrintable(action->text()));

    // The platform's keys, or the usual ones where it names none, answer with
    // the focus in the code box, the zoom's included; Ctrl+Shift+S is Save As, no longer the set's.
    Activate();
    const struct {
        const char *key;
        bool save;
    } cases[] = {{"Ctrl+O", false}, {"Ctrl+S", true}, {"Ctrl+Shift+S", true}};
    for (const auto &c : cases) {
        const qsizetype shown = dialog->shown.size();
        codeBox()->setFocus();
        QTest::keySequence(codeBox(), QKeySequence(QString::fromLatin1(c.key)));
        QCOMPARE(dialog->shown.size(), shown + 1);
        QCOMPARE(dialog->shown.constLast().title,
                 c.save ? QStringLiteral("Save Graphic LCD File") : QStringLiteral("Open Graphic LCD File"));
    }
    QString asked;
    OnNextModal([&asked](QWidget *modal) {
        asked = modal->windowTitle();
        modal->close();
    });
    QTest::keySequence(codeBox(), QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(asked, QStringLiteral("New Picture"));
    WriteBytes(Temp(QStringLiteral("wide.pbm")), "P1\n64 32\n" + QByteArray(64 * 32, '0'));
    window->OpenFile(Temp(QStringLiteral("wide.pbm")));
    const int fitted = view()->CellPixels();
    Activate(); // again, after the dialog
    codeBox()->setFocus();
    QTest::keySequence(codeBox(), QKeySequence(QStringLiteral("Ctrl++")));
    QVERIFY(view()->CellPixels() > fitted);
    QTest::keySequence(codeBox(), QKeySequence(QStringLiteral("Ctrl+Q")));
    QVERIFY(!window->isVisible());
}

void frmMainTest::importPreviewFollowsEveryOptionAndOkIsOneStep()
{
    QTest::mouseClick(option(1), Qt::LeftButton);
    QList<int> seen;
    DotGrid previewed;
    OnNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<ImportImageDialog *>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Import Image"));
        const auto shownSetDots = [&] {
            const QImage shown = dialog->findChild<QWidget *>("preview")->grab().toImage();
            int set = 0;
            for (int dot = 0; dot < kDotCount; ++dot)
                set += shown.pixelColor(view()->CellRect(dot).center()) == Qt::black;
            return set;
        };
        seen << shownSetDots(); // grey 100 is darker than 128: everything
        dialog->findChild<QSpinBox *>("threshold")->setValue(50);
        seen << shownSetDots(); // only the black half
        dialog->findChild<QCheckBox *>("invert")->setChecked(true);
        seen << shownSetDots();
        dialog->findChild<QComboBox *>("dither")->setCurrentIndex(1); // Floyd-Steinberg
        dialog->findChild<QCheckBox *>("invert")->setChecked(false);
        dialog->findChild<QSpinBox *>("threshold")->setValue(128);
        seen << shownSetDots();
        previewed = dialog->Picture();
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    window->ImportImage(HalfBlackHalfGrey());
    QCOMPARE(seen.mid(0, 3), QList<int>({256, 128, 128}));
    QVERIFY(seen[3] > 128 + 32 && seen[3] < 256); // the grey half dithered
    QCOMPARE(window->Grid(), previewed);
    QCOMPARE(window->Grid().nLCDType(), LcdType::Row);
    QCOMPARE(history().Count(), 2);
    window->Undo();
    QCOMPARE(SetDots(window->Grid()), 0);

    // The next import starts from the options the last one left.
    OnNextModal([](QWidget *modal) {
        QCOMPARE(modal->findChild<QComboBox *>("dither")->currentIndex(), 1);
        modal->close();
    });
    window->ImportImage(HalfBlackHalfGrey());
}

void frmMainTest::importOfA16By16BitmapIsDotForDotWithTheOptionsDisabled()
{
    QTest::mouseClick(option(1), Qt::LeftButton);
    DotGrid icon;
    icon.SetLCDType(LcdType::Row);
    for (const int dot : {0, 17, 100, 255})
        icon.SetDot(dot, DotState::Set);
    const QString path = Temp(QStringLiteral("icon.xbm"));
    WriteBytes(path, QByteArray::fromStdString(XbmText(icon, "icon")));
    QString note;
    bool optionsEnabled = true;
    OnNextModal([&](QWidget *modal) {
        // Options that would clear every dot of another image.
        modal->findChild<QSpinBox *>("threshold")->setValue(0);
        modal->findChild<QCheckBox *>("invert")->setChecked(true);
        note = modal->findChild<QLabel *>("note")->text();
        optionsEnabled =
            modal->findChild<QComboBox *>("fit")->isEnabled() || modal->findChild<QSpinBox *>("threshold")->isEnabled();
        QTest::keyClick(modal, Qt::Key_Return);
    });
    window->ImportImageFile(path);
    QCOMPARE(note, QStringLiteral("A 16 x 16 bitmap is taken dot for dot: fit, threshold, dithering and invert do not "
                                  "change it."));
    QVERIFY(!optionsEnabled);
    QCOMPARE(window->Grid(), icon);
}

void frmMainTest::importCancelledOrRefusedChangesNothing()
{
    OnNextModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    window->ImportImage(HalfBlackHalfGrey());
    QCOMPARE(window->Grid(), DotGrid{});

    const QString broken = Temp(QStringLiteral("broken.png"));
    WriteBytes(broken, "\x89PNG\r\n\x1a\n and then nothing");
    QString text;
    OnNextModal([&](QWidget *modal) {
        text = qobject_cast<QMessageBox *>(modal)->text();
        modal->close();
    });
    dialog->answers = {broken};
    menuAction("Import Image…")->trigger();
    QCOMPARE(dialog->shown.last().title, QStringLiteral("Open Image"));
    QVERIFY(dialog->shown.last().filter.startsWith(QStringLiteral("Images (")));
    QVERIFY(text.startsWith(QStringLiteral("Cannot import \"%1\": ").arg(broken)));

    QFile gif(QStringLiteral(TESSALDO_TEST_DATA "/partial-frames.gif"));
    QVERIFY(gif.open(QIODevice::ReadOnly));
    const QString cut = Temp(QStringLiteral("cut.gif"));
    WriteBytes(cut, gif.read(gif.size() / 2));
    OnNextModal([&](QWidget *modal) {
        text = qobject_cast<QMessageBox *>(modal)->text();
        modal->close();
    });
    window->ImportImageFile(cut);
    QCOMPARE(text, QStringLiteral("Cannot import \"%1\": the GIF ends before its last frame.").arg(cut));

    // An animation that takes seconds shows its progress within half a second; Escape stops it, silently.
    QByteArray slow("GIF89a\xD0\x07\xD0\x07\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF", 19); // 2000 x 2000
    for (int frame = 0; frame < 150; ++frame)
        slow += QByteArray("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00", 15);
    WriteBytes(Temp(QStringLiteral("slow.gif")), slow + ';');
    QElapsedTimer timer;
    QString progress;
    OnNextModal([&](QWidget *modal) {
        progress = qobject_cast<QProgressDialog *>(modal)->labelText();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    timer.start();
    window->ImportImageFile(Temp(QStringLiteral("slow.gif")));
    QCOMPARE(progress, QStringLiteral("Importing \"slow.gif\"…"));
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(history().Count(), 0);
}

void frmMainTest::animationPlaysSavesItsFramesAndPlaysOnTheModule()
{
    int master = -1;
    int slave = -1;
    char slaveName[256] = {};
    QCOMPARE(openpty(&master, &slave, slaveName, nullptr, nullptr), 0);
    ::close(slave);
    QStringList labels;
    QString kept;
    bool wroteOnNo = true;
    QString question;
    QString saved;
    QString withoutPort;
    QByteArray played;
    const auto readPlayed = [&] {
        char chunk[512];
        for (ssize_t got; (got = ::read(master, chunk, sizeof chunk)) > 0;)
            played.append(chunk, got);
        return played.size();
    };
    OnNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<ImportImageDialog *>(modal);
        auto *label = dialog->findChild<QLabel *>("frameLabel");
        labels << label->text();
        dialog->findChild<QPushButton *>("play")->click();
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), QStringLiteral("Frame 2 of 3, 250 ms"), 1000);
        dialog->findChild<QPushButton *>("play")->click(); // pause
        QTest::qWait(300);
        labels << label->text();
        dialog->findChild<QSlider *>("frame")->setValue(2);
        // An older import's frame is kept on No and nothing written; Yes removes it.
        OnNextModal([](QWidget *box) { QTest::keyClick(box, Qt::Key_Escape); });
        kept = dialog->SaveFrames(Temp(QStringLiteral("frames")));
        wroteOnNo = QFile::exists(Temp(QStringLiteral("frames/partial-frames-000.Lcd")));
        OnNextModal([&](QWidget *box) {
            question = qobject_cast<QMessageBox *>(box)->text();
            qobject_cast<QMessageBox *>(box)->button(QMessageBox::Yes)->click();
        });
        saved = dialog->SaveFrames(Temp(QStringLiteral("frames")));
        dialog->TogglePlayOnModule();
        withoutPort = dialog->findChild<QLabel *>("result")->text();
        dialog->SetModulePort(QString::fromLatin1(slaveName), 9600);
        dialog->TogglePlayOnModule();
        QTRY_VERIFY_WITH_TIMEOUT(readPlayed() >= 66, 10000); // the first frame at once, the second 100 ms later
        dialog->TogglePlayOnModule();
        readPlayed();
        dialog->accept();
    });
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    QDir().mkpath(Temp(QStringLiteral("frames")));
    WriteBytes(Temp(QStringLiteral("frames/partial-frames-003.Lcd")), " 0\r\n");
    window->ImportImageFile(QStringLiteral(TESSALDO_TEST_DATA "/partial-frames.gif"));
    QCOMPARE(labels, QStringList({QStringLiteral("Frame 1 of 3, 100 ms"), QStringLiteral("Frame 2 of 3, 250 ms")}));
    QCOMPARE(kept, QStringLiteral("Nothing was written."));
    QVERIFY(!wroteOnNo);
    QCOMPARE(question, QStringLiteral("\"%1\" holds frames of another import that this one would not write "
                                      "(partial-frames-003.Lcd).\n\nRemove them, so that the folder holds this "
                                      "import's frames alone?")
                           .arg(Temp(QStringLiteral("frames"))));
    QCOMPARE(saved,
             QStringLiteral("Wrote 3 frames to \"%1\" and removed 1 older frame.").arg(Temp(QStringLiteral("frames"))));
    QCOMPARE(QDir(Temp(QStringLiteral("frames"))).entryList(QDir::Files),
             QStringList({QStringLiteral("partial-frames-000.Lcd"), QStringLiteral("partial-frames-001.Lcd"),
                          QStringLiteral("partial-frames-002.Lcd")}));
    QCOMPARE(withoutPort, QStringLiteral("Choose the module's port in \"Send to Module…\" first."));
    QVERIFY2(played.size() >= 66 && played.size() % 33 == 0, qPrintable(QString::number(played.size())));
    QCOMPARE(played.at(0), '\xA4');
    // OK took the frame shown, the last one: the dots at (0, 0), (8..11, 8..11) and (15, 15).
    QCOMPARE(SetDots(window->Grid()), 18);
    ::close(master);
}

void frmMainTest::pasteOfCodeMakesThePictureItSaysAsOneStep()
{
    DotGrid drawn;
    drawn.SetDot(1, DotState::Set);
    drawn.SetDot(200, DotState::Set);
    // The code box's text edited by hand, as a user copies it back.
    QString code = QString::fromStdString(LCDtoCODE(drawn)).replace(QStringLiteral("0x2"), QStringLiteral("0x3"));
    window->optType_Click(1);
    clipboard->contents.setText(code);
    emit window->GridMenu()->aboutToShow();
    QVERIFY(menuAction("Paste")->isEnabled());
    Activate();
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_V, Qt::ControlModifier);
    drawn.SetDot(0, DotState::Set);
    drawn.SetLCDType(LcdType::Row);
    QCOMPARE(window->Grid(), drawn);
    window->Undo();
    QCOMPARE(SetDots(window->Grid()), 0);

    clipboard->contents.setText(QStringLiteral("0x01, 0x02"));
    emit window->GridMenu()->aboutToShow();
    QVERIFY(!menuAction("Paste")->isEnabled());
    QString warning;
    OnNextModal([&](QWidget *modal) {
        warning = qobject_cast<QMessageBox *>(modal)->text();
        qobject_cast<QMessageBox *>(modal)->accept();
    });
    window->Paste();
    QCOMPARE(warning,
             QStringLiteral("Cannot paste: found 2 values; a picture is 32 values, or 33 beginning with 0xA4."));
    QCOMPARE(SetDots(window->Grid()), 0);
    QCOMPARE(history().Count(), 2);
}

void frmMainTest::pasteOfValuesThatDoNotSayTheirLayoutAsksWhichPictureTheyAre()
{
    window->optType_Click(1);
    const DotGrid box = FilledBox(LcdType::Row, {3, 4}, {10, 11});
    clipboard->contents.setText(QString::fromStdString(ValueList(LayoutBytes(box, BitLayout::Pages))));
    // Enter takes the likeliest, chosen at the start; Escape takes nothing.
    QStringList names;
    const auto answer = [&](QList<int> keys) {
        OnNextModal([&names, keys](QWidget *modal) {
            auto *dialog = qobject_cast<LayoutChoiceDialog *>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Which Layout?"));
            auto *list = dialog->findChild<QListWidget *>(QStringLiteral("layouts"));
            names.clear();
            for (int row = 0; row < list->count(); ++row)
                names << list->item(row)->text();
            for (const int key : keys)
                QTest::keyClick(list, static_cast<Qt::Key>(key));
        });
        window->Paste();
    };
    answer({Qt::Key_Return});
    QCOMPARE(names.size(), 3); // the module's and XBM's are one picture in this type
    QCOMPARE(names.first(), QStringLiteral("SSD1306 Pages"));
    QVERIFY(names.contains(QStringLiteral("Module C Array or XBM for u8g2")));
    QCOMPARE(window->Grid(), box);
    answer({Qt::Key_Escape});
    QCOMPARE(window->Grid(), box);
    QCOMPARE(history().Count(), 2);
    // Another reading, picked with the arrow keys, is one step that Undo takes back.
    answer({Qt::Key_Right, Qt::Key_Return});
    DotGrid second;
    second.SetLCDType(LcdType::Row);
    second.SetAllDots(DotsFromLayoutBytes(
        LayoutBytes(box, BitLayout::Pages),
        names.at(1) == QStringLiteral("Adafruit GFX drawBitmap") ? BitLayout::Rows : BitLayout::Module, LcdType::Row));
    QCOMPARE(window->Grid(), second);
    window->Undo();
    QCOMPARE(window->Grid(), box);
}

void frmMainTest::pasteAndDropBringImagesAndDrawingsIn()
{
    const auto acceptNextImport = [] { OnNextModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->accept(); }); };
    QImage black(4, 4, QImage::Format_RGB32);
    black.fill(Qt::black);
    clipboard->contents.setImageData(black);
    acceptNextImport();
    window->Paste();
    QCOMPARE(SetDots(window->Grid()), 256);

    // A file named on the clipboard, and a menu that says whether there is anything to paste.
    QImage white(4, 4, QImage::Format_RGB32);
    white.fill(Qt::white);
    const QString png = Temp(QStringLiteral("white.png"));
    QVERIFY(white.save(png));
    clipboard->contents.clear();
    clipboard->contents.setText(QStringLiteral("just text"));
    emit window->GridMenu()->aboutToShow();
    QVERIFY(!menuAction("Paste")->isEnabled());
    clipboard->contents.setUrls({QUrl::fromLocalFile(png)});
    emit window->GridMenu()->aboutToShow();
    QVERIFY(menuAction("Paste")->isEnabled());
    acceptNextImport();
    Activate();
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(SetDots(window->Grid()), 0);

    // Dropped: a drawing file opens as Open does, an image goes through the dialog.
    DotGrid drawing;
    drawing.SetLCDType(LcdType::Row);
    drawing.SetDot(3, DotState::Set);
    const QString lcd = Temp(QStringLiteral("dropped.LCD"));
    WriteBytes(lcd, QByteArray::fromStdString(FormatDrawing(drawing)));
    const auto drop = [&](const QString &file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(50, 200), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(QPointF(50, 200), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window, &dropped);
        QVERIFY(dropped.isAccepted());
    };
    drop(lcd);
    QTRY_COMPARE(window->Grid(), drawing);
    QVERIFY(option(1)->isChecked());
    QImage corner(16, 16, QImage::Format_RGB32);
    corner.fill(Qt::white);
    corner.setPixelColor(15, 0, Qt::black);
    QVERIFY(corner.save(png));
    acceptNextImport();
    drop(png);
    QTRY_VERIFY(window->Grid().IsSet(15)); // top right in the row layout
    QCOMPARE(SetDots(window->Grid()), 1);
    QCOMPARE(history().Count(), 4);
}

void frmMainTest::insertTextPutsTheFontsOwnBitmapOnTheGrid()
{
    // 한 (U+D55C) as /usr/share/unifont/unifont.hex draws it, one row of 16 bits a line.
    const quint16 glyph[16] = {0x0000, 0x0808, 0x7F08, 0x1C08, 0x2208, 0x220E, 0x2208, 0x1C08,
                               0x0008, 0x0008, 0x0800, 0x0800, 0x0800, 0x0800, 0x0FF8, 0x0000};
    QTest::mouseClick(option(1), Qt::LeftButton);
    bool refused = false;
    OnNextModal([&](QWidget *modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("Insert Text"));
        QCOMPARE(modal->findChild<QComboBox *>("font")->currentText(), QStringLiteral("Unifont"));
        auto *text = modal->findChild<QLineEdit *>("text");
        // As an input method hands over what was composed.
        const auto type = [text](const QString &composed) {
            QInputMethodEvent commit;
            commit.setCommitString(composed);
            QApplication::sendEvent(text, &commit);
        };
        type(QStringLiteral("😀"));
        refused = !modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled();
        text->clear();
        type(QStringLiteral("한"));
        QTest::keyClick(text, Qt::Key_Return);
    });
    menuAction("Insert Text…")->trigger();
    QVERIFY(refused); // no glyph for U+1F600 in Unifont
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) {
            const bool set = glyph[row] & (0x8000 >> column);
            QCOMPARE(window->Grid().IsSet(DotAtCell(LcdType::Row, {column, row})), set);
        }
    }
    QCOMPARE(history().Count(), 2);
}

void frmMainTest::insertTextGoesOntoThePictureMovedByArrowsAndSaysWhenItIsCut()
{
    // A as unifont.hex draws it: 8 columns, rows 4 to 13.
    const quint8 glyph[16] = {0, 0, 0, 0, 0x18, 0x24, 0x24, 0x42, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x42, 0, 0};
    window->lbDot_Click(255); // the bottom right corner, which the text leaves alone
    QString wideNote;
    OnNextModal([&](QWidget *modal) {
        auto *text = modal->findChild<QLineEdit *>("text");
        text->setText(QStringLiteral("Hello"));
        wideNote = modal->findChild<QLabel *>("width")->text();
        text->setText(QStringLiteral("A"));
        modal->findChild<QComboBox *>("align")->setCurrentIndex(1);
        modal->findChild<QComboBox *>("placement")->setCurrentIndex(1);
        auto *preview = modal->findChild<QWidget *>("preview");
        for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
            QTest::keyClick(preview, key);
        QTest::keyClick(preview, Qt::Key_Return);
    });
    menuAction("Insert Text…")->trigger();
    QCOMPARE(wideNote, QStringLiteral("The text is 40 dots wide and does not fit the 16 x 16 picture, so it is cut."));
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) {
            const int source = column - 2;
            const bool inked = row >= 1 && source >= 0 && source < 8 && (glyph[row - 1] & (0x80 >> source));
            QCOMPARE(window->Grid().IsSet(DotAtCell(LcdType::Column, {column, row})),
                     inked || (row == 15 && column == 15));
        }
    }
    QCOMPARE(history().Count(), 2);
}

void frmMainTest::insertTextTakesTypingAtOnceAndRefusesNoText()
{
    window->lbDot_Click(7);
    bool refusedEmpty = false;
    bool tookText = false;
    bool stayedOnEnter = false;
    OnNextModal([&](QWidget *modal) {
        auto *text = modal->findChild<QLineEdit *>("text");
        QPushButton *ok = modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        refusedEmpty = !ok->isEnabled();
        QTest::keyClicks(modal->focusWidget(), QStringLiteral("A"));
        tookText = text->text() == u"A" && ok->isEnabled();
        text->clear();
        QTest::keyClick(text, Qt::Key_Return);
        stayedOnEnter = modal->isVisible() && !ok->isEnabled();
        modal->close();
    });
    menuAction("Insert Text…")->trigger();
    QVERIFY(refusedEmpty);
    QVERIFY(tookText);
    QVERIFY(stayedOnEnter);
    QVERIFY(window->Grid().IsSet(7));
    QCOMPARE(history().Count(), 1);
}

void frmMainTest::copyAsCArrayLeavesTheCodeBoxAlone()
{
    window->lbDot_Click(0);
    Press("run");
    const QString code = codeBox()->Text();
    menuAction("Copy as C Array")->trigger();
    QVERIFY(
        clipboard->text.contains(QStringLiteral("static const unsigned char picture[33] = {\n    0xA4,\n    0x01,")));
    QCOMPARE(codeBox()->Text(), code);
}

void frmMainTest::copyAsCArrayCopiesTheChosenFormNextTimeToo()
{
    const auto forms = [this] { return menuAction(QStringLiteral("C Array Form"))->menu()->actions(); };
    QCOMPARE(forms().size(), 5);
    QVERIFY(forms()[0]->isChecked());
    forms()[2]->trigger(); // Adafruit GFX drawBitmap
    QVERIFY(forms()[2]->isChecked() && !forms()[0]->isChecked());

    Close();
    OpenKeepingChoices();
    QVERIFY(forms()[2]->isChecked());
    window->optType_Click(1);
    window->lbDot_Click(DotAtCell(LcdType::Row, {15, 0}));
    menuAction("Copy as C Array")->trigger();
    // The dot at the top right is bit 0 of the second byte, as drawBitmap reads it.
    QVERIFY(clipboard->text.contains(QStringLiteral("PROGMEM picture[32] = {\n    0x00, 0x01, 0x00,")));
    forms()[0]->trigger();
    menuAction("Copy as C Array")->trigger();
    QVERIFY(clipboard->text.contains(QStringLiteral("static const unsigned char picture[33] = {\n    0xA4,")));
}

void frmMainTest::sendDialogSendsTheBytesSaysWhyNotAndRemembersThePort()
{
    int master = -1;
    int slave = -1;
    char slaveName[256] = {};
    QCOMPARE(openpty(&master, &slave, slaveName, nullptr, nullptr), 0);
    ::close(slave);
    window->lbDot_Click(8 * 3 + 1); // byte 3 = 0x02
    QStringList results;
    OnNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<SendDialog *>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Send to Module"));
        QCOMPARE(dialog->Baud(), 9600);
        auto *port = dialog->findChild<QComboBox *>("port");
        port->setCurrentText(QStringLiteral("/dev/null"));
        dialog->findChild<QPushButton *>("send")->click();
        results << dialog->findChild<QLabel *>("result")->text();
        port->setCurrentText(QString::fromLatin1(slaveName));
        dialog->findChild<QComboBox *>("baud")->setCurrentText(QStringLiteral("57600"));
        dialog->findChild<QPushButton *>("send")->click(); // the dialog stays open for another try
        results << dialog->findChild<QLabel *>("result")->text();
        dialog->reject();
    });
    window->SendToModule();
    QCOMPARE(results, QStringList({QStringLiteral("Cannot send to \"/dev/null\": it is not a serial port."),
                                   QStringLiteral("Sent 33 bytes to %1 at 57600 baud.").arg(slaveName)}));
    QByteArray received;
    pollfd ready{master, POLLIN, 0};
    while (received.size() < 33 && poll(&ready, 1, 500) > 0) {
        char chunk[64];
        const auto got = ::read(master, chunk, sizeof chunk);
        if (got <= 0)
            break;
        received.append(chunk, got);
    }
    ::close(master);
    QCOMPARE(received.size(), 33);
    QCOMPARE(int(static_cast<unsigned char>(received[0])), 0xA4);
    QCOMPARE(int(received[4]), 0x02);

    OnNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<SendDialog *>(modal);
        QCOMPARE(dialog->Port(), QString::fromLatin1(slaveName));
        QCOMPARE(dialog->Baud(), 57600);
        dialog->reject();
    });
    window->SendToModule();
    // And at the next start, as the page keeps them.
    Close();
    OpenKeepingChoices();
    QString port;
    int baud = 0;
    OnNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<SendDialog *>(modal);
        port = dialog->Port();
        baud = dialog->Baud();
        dialog->reject();
    });
    window->SendToModule();
    QCOMPARE(port, QString::fromLatin1(slaveName));
    QCOMPARE(baud, 57600);
}

QTEST_MAIN(frmMainTest)
#include "frmMainTest.moc"
