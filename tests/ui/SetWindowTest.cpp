#include "UiDoubles.h"
#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"
#include "core/formats/SetHeader.h"
#include "core/session/EditorCommands.h"
#include "core/session/Incoming.h"
#include "ui/canvas/DotGridView.h"
#include "ui/dialogs/LayoutChoiceDialog.h"
#include "ui/dialogs/SendDialog.h"
#include "ui/set/PictureStrip.h"
#include "ui/window/CodeTextBox.h"
#include "ui/window/frmMain.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

using namespace tessaldo;

namespace {

// Answers the next input dialogs in turn, noting what each one asked.
void AnswerInputs(QStringList answers, QStringList &asked)
{
    if (answers.isEmpty())
        return;
    OnNextModal([answers, &asked](QWidget *modal) mutable {
        auto *input = qobject_cast<QInputDialog *>(modal);
        asked << input->labelText();
        // Room for the whole title beside the window manager's buttons.
        QVERIFY(input->width() >= input->fontMetrics().horizontalAdvance(input->windowTitle()) + 160);
        if (input->inputMode() == QInputDialog::IntInput)
            input->setIntValue(answers.takeFirst().toInt());
        else
            input->setTextValue(answers.takeFirst());
        input->accept();
        AnswerInputs(answers, asked); // the next dialog opens once this one is gone
    });
}

} // namespace

// The set of pictures as the window shows it: the Set submenu, the strip
// beside the grid, onion skin, playing, and the set's names and delays.
class SetWindowTest : public QObject, WindowUnderTest {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void setSubmenuListsItsCommandsWithKeysAndStates();
    void stripShowsOnlyForASetAndLeavesTheWindowAsDesigned();
    void stripKeysChooseMoveAddAndDeleteAndUndoTakesThemBack();
    void stripItemsTellScreenReadersTheirNameAndPlace();
    void renameAndDelayShowTheRefusalAndAskAgain();
    void onionSkinShowsThePreviousPictureFaintlyButNotInCode();
    void playAdvancesAtTheDelaysAndAnEditStopsIt();
    void playOnModuleSendsEveryPictureAtItsDelay();
    void pasteOfSeveralArraysBringsThemAll();
    void closingAsksAboutTheSetOnlyWhenThereIsOne();
    void savedHeaderOpensAsTheSameSetAndNamesTheWindow();
    void codeThatIsNotOursIsNeverWrittenOverAndANewNameIsAsked();
    void imagesDrawingsFoldersAndDroppedSourcesOpenAsSets();
    void openSetAsksOnceWhichLayoutArraysAreInAndNamesWhatItPassedOver();
    void saveSetDoesNotWriteOverAHeaderThatChangedOnDisk();
    void droppedDrawingsAreAllTakenAndOnlyWhatReplacesUnsavedWorkAsks();
    void saveSetGivesANameTypedWithoutExtensionTheHeaders();
    void openedSourceNamesTheWindowAndIsOfferedAsAHeader();
    void saveSetWritesOverAHeaderOnlyWhileTheWindowHoldsItsSet();
    void openSetAsksBeforeItReplacesAnUnsavedPicture();

private:
    DotGridView *view() const { return window->findChild<DotGridView *>(QStringLiteral("lbDot")); }
    PictureStrip *strip() const { return window->findChild<PictureStrip *>(QStringLiteral("pictureStrip")); }
    const Document &doc() const { return window->Session().Doc(); }
    QMenu *setMenu() const { return window->GridMenu()->findChild<QMenu *>(QStringLiteral("setMenu")); }
    QAction *setAction(const QString &text) const
    {
        for (QAction *action : setMenu()->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }
    void Activate()
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    // Three pictures made with the grid's key, each with its own dot; the third is edited.
    void MakeThreePictures()
    {
        Activate();
        view()->setFocus();
        for (int dot = 0; dot < 3; ++dot) {
            if (dot > 0)
                QTest::keyClick(view(), Qt::Key_Insert);
            window->lbDot_Click(dot);
        }
    }

    QString Temp(const QString &name) const { return tempDir->filePath(name); }
    static QByteArray ReadAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // "New Picture…" answered with a 16 x 16 picture.
    void NewModulePicture()
    {
        OnNextModal([](QWidget *modal) {
            modal->findChild<QSpinBox *>(QStringLiteral("width"))->setValue(16);
            modal->findChild<QSpinBox *>(QStringLiteral("height"))->setValue(16);
            modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        const QString caption = QString::fromUtf8(CommandWithId(CommandId::NewPicture).caption.data());
        for (QAction *action : window->findChildren<QAction *>()) {
            if (action->text() == caption)
                action->trigger();
        }
    }
    // The text of the next message box, which is then closed.
    void NoteNextMessage(QString &text)
    {
        OnNextModal([&text](QWidget *modal) {
            text = modal->findChild<QLabel *>("qt_msgbox_label")->text();
            modal->close();
        });
    }
};

void SetWindowTest::init()
{
    Open();
}

void SetWindowTest::cleanup()
{
    Close();
}

void SetWindowTest::setSubmenuListsItsCommandsWithKeysAndStates()
{
    QStringList items;
    for (const QAction *action : setMenu()->actions()) {
        items << (action->isSeparator() ? QStringLiteral("-")
                                        : action->text() + u'|' + action->shortcut().toString()
                                              + (action->isCheckable() ? QStringLiteral("|check") : QString())
                                              + (action->isEnabled() ? QString() : QStringLiteral("|off")));
    }
    QCOMPARE(items, QStringList({"Previous Picture|PgUp|off",
                                 "Next Picture|PgDown|off",
                                 "-",
                                 "Add Picture|Ins",
                                 "Copy Picture|Ctrl+Shift+D",
                                 "Delete Picture|Ctrl+Del|off",
                                 "Move Earlier|Shift+PgUp|off",
                                 "Move Later|Shift+PgDown|off",
                                 "Rename Picture…|F2",
                                 "Picture Delay…|",
                                 "-",
                                 "Onion Skin||check",
                                 "Save as Animation||check",
                                 "Play||check|off",
                                 "Play on Module…||off",
                                 "-",
                                 "Open Set…|Ctrl+Shift+O",
                                 "Save Set|",
                                 "Save Set As…|",
                                 "Save Set as Folder…|"}));
    setAction("Add Picture")->trigger();
    QVERIFY(setAction("Previous Picture")->isEnabled() && setAction("Delete Picture")->isEnabled());
    QVERIFY(!setAction("Next Picture")->isEnabled());
    setAction("Save as Animation")->trigger();
    QVERIFY(setAction("Save as Animation")->isChecked());
    window->Undo();
    QVERIFY(!setAction("Save as Animation")->isChecked());
}

void SetWindowTest::stripShowsOnlyForASetAndLeavesTheWindowAsDesigned()
{
    const QSize designed = window->size();
    const QRect panel = window->findChild<QGroupBox *>("Frame1")->geometry();
    QVERIFY(strip()->isHidden());
    setAction("Add Picture")->trigger();
    QVERIFY(strip()->isVisible());
    QCOMPARE(window->height(), designed.height());
    QVERIFY(window->width() > designed.width());
    QVERIFY(strip()->geometry().left() >= designed.width()); // to the right of everything designed
    QCOMPARE(window->findChild<QGroupBox *>("Frame1")->geometry(), panel);
    QCOMPARE(strip()->currentIndex().row(), 1);
    window->Undo();
    QVERIFY(strip()->isHidden());
    QCOMPARE(window->size(), designed);
}

void SetWindowTest::stripKeysChooseMoveAddAndDeleteAndUndoTakesThemBack()
{
    MakeThreePictures();
    strip()->setFocus();
    QTest::keyClick(strip(), Qt::Key_Home);
    QCOMPARE(doc().current, 0U);
    QTest::keyClick(strip(), Qt::Key_PageDown);
    QTest::keyClick(strip(), Qt::Key_End);
    QTest::keyClick(strip(), Qt::Key_PageUp);
    QCOMPARE(doc().current, 1U);
    QTest::keyClick(strip(), Qt::Key_PageDown, Qt::ShiftModifier); // the dot-1 picture goes last
    QCOMPARE(doc().current, 2U);
    QVERIFY(doc().pictures[2].dots[1] == DotState::Set);
    QCOMPARE(strip()->currentIndex().row(), 2);
    QTest::keyClick(strip(), Qt::Key_Insert);
    QCOMPARE(doc().pictures.size(), 4U);
    QTest::keyClick(strip(), Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(strip(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(doc().pictures.size(), 2U);
    const int steps = window->Session().Steps().Index();
    QTest::mouseClick(strip()->viewport(), Qt::LeftButton, {},
                      strip()->visualRect(strip()->model()->index(0, 0)).center());
    QCOMPARE(doc().current, 0U);
    QCOMPARE(window->Session().Steps().Index(), steps); // looking around is no step
    for (int step = 0; step < 4; ++step)                // two deletes, the add and the move
        window->Undo();
    QCOMPARE(doc().pictures.size(), 3U);
    QVERIFY(doc().pictures[1].dots[1] == DotState::Set);
}

void SetWindowTest::stripItemsTellScreenReadersTheirNameAndPlace()
{
    MakeThreePictures();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(strip());
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Pictures of the set"));
    QCOMPARE(list->childCount(), 3);
    QCOMPARE(list->child(1)->text(QAccessible::Name), QStringLiteral("picture_2, picture 2 of 3"));
    QCOMPARE(strip()->model()->index(1, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("picture_2")); // uncut
    QCOMPARE(list->child(1)->text(QAccessible::Description), QString());
    setAction("Save as Animation")->trigger();
    QCOMPARE(list->child(1)->text(QAccessible::Description), QStringLiteral("100 ms"));

    // Tab goes from the type options to the strip.
    window->findChild<QWidget *>("optType_1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), strip());
}

void SetWindowTest::renameAndDelayShowTheRefusalAndAskAgain()
{
    MakeThreePictures();
    QStringList asked;
    AnswerInputs({"2arrows", "Picture", "arrow"}, asked);
    strip()->setFocus();
    QTest::keyClick(strip(), Qt::Key_F2);
    QCOMPARE(doc().Edited().name, "arrow");
    QCOMPARE(asked.size(), 3);
    QVERIFY(asked[1].startsWith(QStringLiteral("\"2arrows\" cannot name a picture")));
    QVERIFY(asked[2].startsWith(QStringLiteral("Another picture is named \"picture\"")));
    QVERIFY(asked[2].endsWith(QStringLiteral("The picture's name, as its code calls it:")));

    asked.clear();
    AnswerInputs({"70000", "250"}, asked);
    setAction("Picture Delay…")->trigger();
    QCOMPARE(doc().Edited().delayMs, 250);
    QVERIFY(asked[1].startsWith(QStringLiteral("A delay is 0 to 65535 milliseconds.")));

    const int steps = window->Session().Steps().Index();
    OnNextModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
    setAction("Rename Picture…")->trigger();
    QCOMPARE(window->Session().Steps().Index(), steps); // cancelled: no step
    window->Undo();
    QCOMPARE(doc().Edited().delayMs, 100);
    window->Undo();
    QCOMPARE(doc().Edited().name, "picture_3");
}

void SetWindowTest::onionSkinShowsThePreviousPictureFaintlyButNotInCode()
{
    MakeThreePictures(); // the previous picture has dot 1 set, this one dot 2
    const auto colourOf = [this](int dot) {
        view()->repaint();
        return view()->grab().toImage().pixelColor(view()->CellRect(dot).center());
    };
    QCOMPARE(colourOf(1), QColor(Qt::white));
    window->findChild<QToolButton *>("setButton_Onion Skin")->click();
    QVERIFY(setAction("Onion Skin")->isChecked());
    const QColor faint = colourOf(1);
    QVERIFY(faint != QColor(Qt::white) && faint.lightness() > 150);
    QCOMPARE(colourOf(2), QColor(Qt::black));
    QCOMPARE(colourOf(0), QColor(Qt::white)); // only the picture just before
    DotGrid alone;
    alone.SetDot(2, DotState::Set);
    window->tbarMain_ButtonClick(QStringLiteral("run"));
    QCOMPARE(window->findChild<CodeTextBox *>("txtData")->Text(), QString::fromStdString(LCDtoCODE(alone)));
    setAction("Onion Skin")->trigger();
    QCOMPARE(colourOf(1), QColor(Qt::white));
}

void SetWindowTest::playAdvancesAtTheDelaysAndAnEditStopsIt()
{
    MakeThreePictures();
    QStringList asked;
    AnswerInputs({"20"}, asked);
    setAction("Picture Delay…")->trigger();
    auto *play = window->findChild<QToolButton *>("setButton_Play");
    play->click();
    QVERIFY(window->Session().IsPlaying());
    QCOMPARE(play->text(), QStringLiteral("Stop"));
    QTRY_COMPARE_WITH_TIMEOUT(doc().current, 0U, 1000); // from the last picture round to the first
    QTRY_COMPARE_WITH_TIMEOUT(doc().current, 1U, 1000);
    QCOMPARE(strip()->currentIndex().row(), 1);

    window->lbDot_Click(100);
    QVERIFY(!window->Session().IsPlaying());
    QCOMPARE(play->text(), QStringLiteral("Play"));
    QVERIFY(!setAction("Play")->isChecked());
    const std::size_t edited = doc().current;
    QCoreApplication::processEvents(); // a timer left running would move the picture on here
    QCOMPARE(doc().current, edited);
    QVERIFY(doc().Edited().dots[100] == DotState::Set);

    play->click();
    play->click();                           // Stop
    QVERIFY(!window->Session().IsPlaying()); // nothing left to move the picture on
    QCOMPARE(doc().current, edited);
}

void SetWindowTest::playOnModuleSendsEveryPictureAtItsDelay()
{
    int master = -1;
    int slave = -1;
    char slaveName[256] = {};
    QCOMPARE(openpty(&master, &slave, slaveName, nullptr, nullptr), 0);
    ::close(slave);
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    MakeThreePictures();
    QString warned;
    NoteNextMessage(warned);
    setAction("Play on Module…")->trigger();
    QCOMPARE(warned, QStringLiteral("Choose the module's port in \"Send to Module…\" first."));

    OnNextModal([&](QWidget *modal) {
        modal->findChild<QComboBox *>("port")->setCurrentText(QString::fromLatin1(slaveName));
        qobject_cast<QDialog *>(modal)->reject();
    });
    window->SendToModule();
    setAction("Play on Module…")->trigger();
    QCOMPARE(setAction("Play on Module…"), nullptr); // it now reads "Stop Playing on Module"
    QByteArray played;
    const auto readPlayed = [&] {
        char chunk[512];
        for (ssize_t got; (got = ::read(master, chunk, sizeof chunk)) > 0;)
            played.append(chunk, got);
        return played.size();
    };
    QTRY_VERIFY_WITH_TIMEOUT(readPlayed() >= 3 * 33, 5000);
    setAction("Delete Picture")->trigger();
    setAction("Delete Picture")->trigger(); // a set no more, yet what plays can be stopped
    QVERIFY(setAction("Stop Playing on Module")->isEnabled());
    setAction("Stop Playing on Module")->trigger();
    QVERIFY(setAction("Play on Module…") != nullptr);
    ::close(master);
    // Each picture in the set's order: the byte 0xA4, then its 32 bytes.
    for (int picture = 0; picture < 3; ++picture) {
        QCOMPARE(played.at(picture * 33), '\xA4');
        QCOMPARE(int(played.at(picture * 33 + 1)), 1 << picture);
    }
}

void SetWindowTest::pasteOfSeveralArraysBringsThemAll()
{
    DotGrid one;
    one.SetDot(7, DotState::Set);
    const std::string code = CArray({one, "arrow", "test"}) + CArray({DotGrid{}, "blank", "test"});
    clipboard->contents.setText(QString::fromStdString(code));
    window->Paste();
    QCOMPARE(doc().pictures.size(), 2U);
    QCOMPARE(doc().pictures[0].name, "arrow");
    QCOMPARE(doc().pictures[1].name, "blank");
    QVERIFY(window->Grid().IsSet(7));
    window->Undo();
    QCOMPARE(doc().pictures.size(), 1U);
}

void SetWindowTest::closingAsksAboutTheSetOnlyWhenThereIsOne()
{
    window->lbDot_Click(5);
    QVERIFY(!window->close());
    QCOMPARE(question->lastQuestion, QStringLiteral("Save changes to the picture?"));
    setAction("Add Picture")->trigger();
    window->lbDot_Click(6);
    QVERIFY(!window->close());
    QCOMPARE(question->lastQuestion, QStringLiteral("Save changes to the set?"));
    window->tbarMain_ButtonClick(QStringLiteral("new")); // a step on the edited picture: nothing to ask
    QCOMPARE(question->asked, 2);
    QVERIFY(!window->Grid().IsSet(6));
    question->answers = {SaveChangesQuestion::Answer::Save};
    dialog->answers = {Temp(QStringLiteral("pair.h"))};
    QVERIFY(window->close()); // Save saved the set
    QVERIFY(QFile::exists(Temp(QStringLiteral("pair.h"))));
}

void SetWindowTest::savedHeaderOpensAsTheSameSetAndNamesTheWindow()
{
    MakeThreePictures();
    setAction("Save as Animation")->trigger();
    QStringList asked;
    AnswerInputs({"750"}, asked);
    setAction("Picture Delay…")->trigger();
    const Document made = doc();
    dialog->answers = {Temp(QStringLiteral("walk.h"))};
    setAction("Save Set")->trigger();
    QCOMPARE(dialog->shown.size(), 1);
    QVERIFY(dialog->shown[0].save);
    QVERIFY(window->Session().IsClean());
    QVERIFY(window->windowTitle().startsWith(QStringLiteral("walk.h[*] - Tessaldo")));

    window->lbDot_Click(50);
    setAction("Save Set")->trigger(); // the set's own header again, without asking
    QCOMPARE(dialog->shown.size(), 1);
    window->lbDot_Click(50);
    question->answers = {SaveChangesQuestion::Answer::Discard};
    window->OpenSetPaths({Temp(QStringLiteral("walk.h"))});
    QVERIFY(doc().pictures[2].dots[50] == DotState::Set); // as saved the second time
    window->Undo();
    QVERIFY(doc().SameSet(made));
    window->Redo();
    QCOMPARE(doc().pictures[2].delayMs, 750);
    QCOMPARE(doc().form, SetForm::Frames);
    QVERIFY(window->Session().IsClean());

    // A header in another display's layout is saved in that layout again.
    const SetText paged =
        FormatSetHeader(made, std::filesystem::path("paged.h"), "tessaldo-cli header", std::nullopt, BitLayout::Pages);
    QFile file(Temp(QStringLiteral("paged.h")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(paged.text.data(), qint64(paged.text.size())) > 0);
    file.close();
    window->OpenSetPaths({file.fileName()});
    window->lbDot_Click(60);
    setAction("Save Set")->trigger();
    QCOMPARE(dialog->shown.size(), 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const SetReading saved = ReadSet(file.readAll().toStdString(), LcdType::Column);
    QVERIFY(saved.ownHeader && saved.layout == BitLayout::Pages);
    QVERIFY(saved.set->SameSet(doc()) && !doc().SameSet(made));
}

void SetWindowTest::codeThatIsNotOursIsNeverWrittenOverAndANewNameIsAsked()
{
    MakeThreePictures();
    const QString foreign = Temp(QStringLiteral("board.h"));
    const QByteArray theirs = "#define LED 3\nstatic const unsigned char logo[33] = {0xA4};\n";
    QFile file(foreign);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(theirs);
    file.close();
    QString warned;
    NoteNextMessage(warned);
    dialog->answers = {foreign, Temp(QStringLiteral("icons.h"))};
    setAction("Save Set As…")->trigger();
    QVERIFY(warned.startsWith(QStringLiteral("Cannot save \"%1\": it holds code that is no header").arg(foreign)));
    QCOMPARE(dialog->shown.size(), 2);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), theirs);
    QVERIFY(QFile::exists(Temp(QStringLiteral("icons.h"))));
    QVERIFY(window->Session().IsClean());
}

void SetWindowTest::imagesDrawingsFoldersAndDroppedSourcesOpenAsSets()
{
    window->OpenAtStart(QStringLiteral(TESSALDO_TEST_DATA "/earlier-icons.h")); // as `tessaldo icons.h` does
    QCOMPARE(doc().pictures.size(), 2U);
    QCOMPARE(doc().pictures[0].name, "arrow");
    window->OpenSetPaths({QStringLiteral(TESSALDO_TEST_DATA "/partial-frames.gif")});
    QCOMPARE(doc().pictures.size(), 3U);
    QCOMPARE(doc().form, SetForm::Frames);
    QCOMPARE(doc().pictures[0].name, "partial_frames_000");
    QCOMPARE(doc().pictures[1].delayMs, 250);
    QVERIFY(strip()->isVisible());

    QDir().mkpath(Temp(QStringLiteral("icons")));
    window->lbDot_Click(9);
    QVERIFY(window->SaveSetToFolder(Temp(QStringLiteral("icons"))));
    QVERIFY(!window->Session().IsClean()); // the drawings keep no delays
    QVERIFY(window->SaveSetToFolder(Temp(QStringLiteral("icons"))));
    QCOMPARE(question->asked, 0); // the same drawings again replace nothing
    window->lbDot_Click(9);
    QVERIFY(!window->SaveSetToFolder(Temp(QStringLiteral("icons"))));
    QCOMPARE(question->lastQuestion, QStringLiteral("\"%1\" already holds drawings the set would replace: "
                                                    "partial_frames_000.Lcd. Replace them?")
                                         .arg(Temp(QStringLiteral("icons"))));
    question->toReplace = {true};
    QVERIFY(window->SaveSetToFolder(Temp(QStringLiteral("icons"))));
    QCOMPARE(question->asked, 2);
    const QStringList drawings = {Temp(QStringLiteral("icons/partial_frames_002.Lcd")),
                                  Temp(QStringLiteral("icons/partial_frames_000.Lcd"))};
    window->OpenSetPaths(drawings);
    QCOMPARE(doc().pictures.size(), 2U);
    QCOMPARE(doc().pictures[0].name, "partial_frames_002");

    // A source dropped on the window opens as a set; a folder of drawings too.
    const auto drop = [this](const QString &path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(50, 200), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window, &enter); // the drop goes where the drag was taken
        QDropEvent dropped(QPointF(50, 200), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window, &dropped);
    };
    drop(QStringLiteral(TESSALDO_TEST_DATA "/earlier-icons.h"));
    QTRY_COMPARE(doc().pictures[0].name, "arrow");

    QFile readme(Temp(QStringLiteral("icons/readme.txt")));
    QVERIFY(readme.open(QIODevice::WriteOnly));
    readme.close();
    QString warned;
    NoteNextMessage(warned);
    drop(Temp(QStringLiteral("icons")));
    QTRY_COMPARE(doc().pictures.size(), 3U);
    QCOMPARE(doc().pictures[1].name, "partial_frames_001");
    QTRY_COMPARE(warned, QStringLiteral("Passed over in \"%1\": readme.txt, which is no drawing file (.Lcd).")
                             .arg(Temp(QStringLiteral("icons"))));

    // Among drawing files, one that is none is left out and named with why; the rest open.
    for (const QString &other : {QStringLiteral("none.Lcd"), QStringLiteral("readme.txt")}) {
        NoteNextMessage(warned);
        window->OpenSetPaths({drawings[0], Temp(QStringLiteral("icons/")) + other});
        QVERIFY2(warned.startsWith(QStringLiteral("Left out of the set:\nCannot open \"%1\": ")
                                       .arg(Temp(QStringLiteral("icons/")) + other)),
                 qPrintable(warned));
        QCOMPARE(doc().pictures.size(), 1U);
    }
}

void SetWindowTest::droppedDrawingsAreAllTakenAndOnlyWhatReplacesUnsavedWorkAsks()
{
    const auto drop = [this](const QStringList &paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(50, 200), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window, &enter);
        QDropEvent dropped(QPointF(50, 200), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window, &dropped);
    };
    QDir().mkpath(Temp(QStringLiteral("icons")));
    const QString a = Temp(QStringLiteral("icons/a.Lcd"));
    const QString b = Temp(QStringLiteral("icons/b.Lcd"));
    window->lbDot_Click(1);
    QVERIFY(window->SaveFile(a));
    window->lbDot_Click(2);
    QVERIFY(window->SaveFile(b));
    drop({a, b});
    QTRY_COMPARE(doc().pictures.size(), 2U);
    QCOMPARE(doc().pictures[1].name, "b");

    // An empty drawing in a dropped folder is named; the others open, asked about only as they replace work.
    QFile(Temp(QStringLiteral("icons/empty.Lcd"))).open(QIODevice::WriteOnly);
    window->lbDot_Click(3);
    QString warned;
    NoteNextMessage(warned);
    question->answers = {SaveChangesQuestion::Answer::Discard};
    drop({Temp(QStringLiteral("icons"))});
    QTRY_VERIFY2(
        warned.startsWith(
            QStringLiteral("Left out of the set:\nCannot open \"%1\"").arg(Temp(QStringLiteral("icons/empty.Lcd")))),
        qPrintable(warned));
    QCOMPARE(question->asked, 1);
    QCOMPARE(doc().pictures.size(), 2U);
    window->lbDot_Click(3);
    NoteNextMessage(warned);
    drop({Temp(QStringLiteral("icons/empty.Lcd")), Temp(QStringLiteral("icons/none.txt"))});
    QTRY_VERIFY(warned.startsWith(QStringLiteral("None of these files opens as a drawing:")));
    QCOMPARE(question->asked, 1); // nothing was to replace the set
    QVERIFY(doc().pictures[0].dots[3] == DotState::Set);
}

void SetWindowTest::openSetAsksOnceWhichLayoutArraysAreInAndNamesWhatItPassedOver()
{
    for (const std::string_view suffix : SourceFileSuffixes())
        QVERIFY(frmMain::OpenSetFilter().contains(u'*' + QString::fromLatin1(suffix.data(), qsizetype(suffix.size()))));
    DotGrid wide;
    DotGrid tall;
    for (int row = 5; row <= 7; ++row) {
        for (int column = 2; column <= 13; ++column) {
            wide.SetDot(DotAtCell(LcdType::Column, {column, row}), DotState::Set);
            tall.SetDot(DotAtCell(LcdType::Column, {row, column}), DotState::Set);
        }
    }
    const auto array = [](const char *name, const DotGrid &grid) {
        std::string values;
        for (const std::uint8_t byte : LayoutBytes(grid, BitLayout::Rows))
            values += std::to_string(byte) + ",";
        return "const unsigned char " + std::string(name) + "[] PROGMEM = {" + values + "};\n";
    };
    const std::string sketch = array("wide", wide) + array("tall", tall) + "const char font[5] = {1, 2, 3, 4, 5};\n";
    QFile file(Temp(QStringLiteral("sketch.ino")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sketch.data(), qint64(sketch.size())) > 0);
    file.close();

    QStringList names;
    QString note;
    OnNextModal([&](QWidget *modal) {
        auto *list = modal->findChild<QListWidget *>(QStringLiteral("layouts"));
        QVERIFY(qobject_cast<LayoutChoiceDialog *>(modal) != nullptr && list != nullptr);
        for (int row = 0; row < list->count(); ++row)
            names << list->item(row)->text();
        NoteNextMessage(note);
        QTest::keyClick(list, Qt::Key_Return);
    });
    window->OpenSetPaths({file.fileName()});
    QCOMPARE(names.value(0), QStringLiteral("Adafruit GFX drawBitmap"));
    QVERIFY(names.contains(QStringLiteral("Module C Array")));
    QCOMPARE(doc().pictures.size(), 2U);
    QVERIFY(doc().pictures[0].dots == wide.AllDots() && doc().pictures[1].dots == tall.AllDots());
    QTRY_VERIFY(note.startsWith(QStringLiteral("Passed over in \"sketch.ino\": the array font")));

    OnNextModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
    window->lbDot_Click(0);
    window->OpenSetPaths({file.fileName()});
    QVERIFY(doc().pictures[0].dots[0] == DotState::Set); // cancelled: nothing opened
}

void SetWindowTest::saveSetDoesNotWriteOverAHeaderThatChangedOnDisk()
{
    MakeThreePictures();
    const QString path = Temp(QStringLiteral("icons.h"));
    dialog->answers = {path};
    setAction("Save Set")->trigger();
    Document other;
    other.pictures.front().name = "other";
    const std::string theirs = FormatSetHeader(other, std::filesystem::path("icons.h"), "tessaldo-cli header").text;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(theirs.data(), qint64(theirs.size())) > 0);
    file.close();

    window->lbDot_Click(40);
    QString warned;
    NoteNextMessage(warned);
    dialog->answers = {QString()};
    setAction("Save Set")->trigger();
    QVERIFY2(warned.startsWith(QStringLiteral("Cannot save \"%1\": it changed on disk").arg(path)), qPrintable(warned));
    QCOMPARE(dialog->shown.size(), 2);
    QCOMPARE(dialog->shown.last().fileName, path); // offered again, to write over it on purpose
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toStdString(), theirs);
}

void SetWindowTest::saveSetGivesANameTypedWithoutExtensionTheHeaders()
{
    MakeThreePictures();
    dialog->answers = {Temp(QStringLiteral("set1"))};
    setAction("Save Set")->trigger();
    QVERIFY(QFile::exists(Temp(QStringLiteral("set1.h"))) && !QFile::exists(Temp(QStringLiteral("set1"))));
    QVERIFY(window->windowTitle().startsWith(QStringLiteral("set1.h[*] - Tessaldo")));
}

void SetWindowTest::openedSourceNamesTheWindowAndIsOfferedAsAHeader()
{
    MakeThreePictures();
    QFile file(Temp(QStringLiteral("gfx_sketch.ino")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("static const unsigned char a[33] = {0xA4};\nstatic const unsigned char b[33] = {0xA4, 1};\n");
    file.close();
    question->answers = {SaveChangesQuestion::Answer::Discard};
    window->OpenSetPaths({file.fileName()});
    QCOMPARE(doc().pictures.size(), 2U);
    QVERIFY(window->windowTitle().startsWith(QStringLiteral("gfx_sketch.ino[*] - Tessaldo")));
    setAction("Save Set")->trigger();
    QCOMPARE(dialog->shown.size(), 1);
    QCOMPARE(dialog->shown[0].fileName, Temp(QStringLiteral("gfx_sketch.h")));
}

void SetWindowTest::saveSetWritesOverAHeaderOnlyWhileTheWindowHoldsItsSet()
{
    const QString ball = Temp(QStringLiteral("ball.h"));
    WriteSetHeader(ball, PatternedSet({32, 32}, 4));
    const QByteArray held = ReadAll(ball);
    // The ways the window comes to hold a set that is not the header's.
    const std::vector<std::pair<const char *, std::function<void()>>> leavings = {
        {"New, then New Picture… discarding the set",
         [this] {
             window->tbarMain_ButtonClick(QStringLiteral("new"));
             question->answers = {SaveChangesQuestion::Answer::Discard};
             NewModulePicture();
             QCOMPARE(doc().pictures.size(), 1U);
         }},
        {"Undo of Open Set", [this] { window->Undo(); }},
    };
    for (const auto &[how, leave] : leavings) {
        window->OpenSetPaths({ball});
        QCOMPARE(doc().pictures.size(), 4U);
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("ball.h")));
        leave();
        QVERIFY2(!window->windowTitle().contains(QStringLiteral("ball.h")), how);
        const qsizetype shown = dialog->shown.size();
        dialog->answers = {QString()};
        setAction("Save Set")->trigger();
        QVERIFY2(dialog->shown.size() == shown + 1, how); // a name is asked for, and none offered
        QVERIFY2(dialog->shown.last().fileName.isEmpty(), how);
        QVERIFY2(ReadAll(ball) == held, how);
    }
}

void SetWindowTest::openSetAsksBeforeItReplacesAnUnsavedPicture()
{
    const QString ball = Temp(QStringLiteral("ball.h"));
    WriteSetHeader(ball, PatternedSet({32, 32}, 4));
    window->lbDot_Click(5);
    window->OpenSetPaths({ball}); // the script answers Cancel
    QCOMPARE(question->lastQuestion, QStringLiteral("Save changes to the picture?"));
    QVERIFY(window->Grid().IsSet(5));
    QCOMPARE(doc().pictures.size(), 1U);
    question->answers = {SaveChangesQuestion::Answer::Discard};
    window->OpenSetPaths({ball});
    QCOMPARE(doc().pictures.size(), 4U);
    QCOMPARE(question->asked, 2);
}

QTEST_MAIN(SetWindowTest)
#include "SetWindowTest.moc"
