// A long random session against the main window. After every step what the
// window shows, the picture and the code text must agree, and a refused file
// must have changed nothing. The test keeps its own list of the pictures the
// session went through, so undo and redo are checked against it, and at the
// end undoing everything must give the first picture and redoing it the last. TESSALDO_MONKEY_EVENTS and
// TESSALDO_MONKEY_SEED set the length and the seed; the same seed replays the same session.
#include "UiDoubles.h"
#include "core/code/CodeGenerator.h"
#include "core/formats/DrawingFile.h"
#include "core/model/Transform.h"
#include "ui/canvas/DotGridView.h"
#include "ui/window/CodeTextBox.h"
#include "ui/window/frmMain.h"

#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <array>

#include <random>

using namespace tessaldo;

namespace {

int EnvNumber(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// What the window must look like: the picture, and the text the code box holds.
struct Expected {
    DotGrid grid;
    QString code;
};

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

private slots:
    void randomSessionKeepsWindowPictureAndCodeInStep();

private:
    using Step = void (MonkeyTest::*)();

    void ClickDot();
    void DragAcross();
    void PressKeys();
    void SwitchType();
    void New();
    void Run();
    void Copy();
    void OpenGoodFile();
    void OpenBadFile();
    void SaveGood();
    void SaveBad();
    void CancelDialog();
    void Undo();
    void Redo();
    void TransformByKey();
    void TransformFromMenu();
    // Every change of the picture is one step; undo and redo walk along them.
    void RecordStep(bool walked);
    void UndoAndRedoEverything();
    // The window's keys answer only in the active window, which a closed message box may have left.
    void FocusOn(QWidget *widget);

    void Check(const char *step);
    QPoint RandomPointInGrid();
    int RandomDot() { return static_cast<int>(m_random() % kDotCount); }
    // Expects the next action to raise a message box, and dismisses it.
    void ExpectMessage();

    DotGridView *View() const { return m_window->findChild<DotGridView *>(QStringLiteral("lbDot")); }
    CodeTextBox *CodeBox() const { return m_window->findChild<CodeTextBox *>(QStringLiteral("txtData")); }
    QRadioButton *Option(int index) const
    {
        return m_window->findChild<QRadioButton *>(QStringLiteral("optType_%1").arg(index));
    }

    std::mt19937 m_random;
    frmMain *m_window = nullptr;
    ScriptedDialog *m_dialog = nullptr;
    FakeClipboard *m_clipboard = nullptr;
    QTemporaryDir m_files;
    Expected m_expected;
    int m_messages = 0;
    int m_messagesSeen = 0;
    int m_savedFiles = 0;
    std::vector<DotGrid> m_pictures{DotGrid{}}; // every picture the steps made, the first at start
    std::size_t m_current = 0;                  // the one on screen
    bool m_walked = false;                      // the last step was an undo or a redo
};

void MonkeyTest::randomSessionKeepsWindowPictureAndCodeInStep()
{
    const int events = EnvNumber("TESSALDO_MONKEY_EVENTS", 2000);
    const int seed = EnvNumber("TESSALDO_MONKEY_SEED", 20261207);
    qInfo("monkey: %d events, seed %d", events, seed);
    m_random.seed(static_cast<unsigned>(seed));

    auto dialog = std::make_unique<ScriptedDialog>();
    auto clipboard = std::make_unique<FakeClipboard>();
    m_dialog = dialog.get();
    m_clipboard = clipboard.get();
    frmMain window(std::move(dialog), std::move(clipboard));
    m_window = &window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    struct Weighted {
        Step step;
        const char *name;
        unsigned weight;
    };
    const std::vector<Weighted> steps = {
        {&MonkeyTest::ClickDot, "click a dot", 30},
        {&MonkeyTest::DragAcross, "drag", 12},
        {&MonkeyTest::PressKeys, "keys", 10},
        {&MonkeyTest::SwitchType, "switch type", 8},
        {&MonkeyTest::New, "New", 3},
        {&MonkeyTest::Run, "Run", 10},
        {&MonkeyTest::Copy, "Copy", 6},
        {&MonkeyTest::OpenGoodFile, "open a good file", 5},
        {&MonkeyTest::OpenBadFile, "open a bad file", 5},
        {&MonkeyTest::SaveGood, "save", 5},
        {&MonkeyTest::SaveBad, "save where it cannot", 2},
        {&MonkeyTest::CancelDialog, "cancel a dialog", 4},
        {&MonkeyTest::Undo, "undo", 10},
        {&MonkeyTest::Redo, "redo", 6},
        {&MonkeyTest::TransformByKey, "transform key", 6},
        {&MonkeyTest::TransformFromMenu, "transform from the menu", 4},
    };
    unsigned total = 0;
    for (const Weighted &step : steps)
        total += step.weight;

    for (int event = 0; event < events; ++event) {
        unsigned pick = m_random() % total;
        auto chosen = steps.begin();
        while (pick >= chosen->weight) {
            pick -= chosen->weight;
            ++chosen;
        }
        m_walked = false;
        (this->*chosen->step)();
        RecordStep(m_walked);
        Check(chosen->name);
        if (QTest::currentTestFailed()) {
            qWarning("monkey: failed at event %d (%s); replay with TESSALDO_MONKEY_SEED=%d", event, chosen->name, seed);
            return;
        }
    }
    QCOMPARE(m_messagesSeen, m_messages);
    UndoAndRedoEverything();
    qInfo("monkey: %d messages shown, %d files saved, %d steps in the history", m_messages, m_savedFiles,
          int(m_pictures.size()) - 1);
}

void MonkeyTest::RecordStep(bool walked)
{
    if (walked || m_expected.grid == m_pictures[m_current])
        return;
    m_pictures.resize(m_current + 1); // a new step drops what could have been redone
    m_pictures.push_back(m_expected.grid);
    ++m_current;
}

void MonkeyTest::UndoAndRedoEverything()
{
    QCOMPARE(m_window->Session().Steps().Count(), int(m_pictures.size()) - 1);
    const DotGrid last = m_pictures.back();
    while (m_window->Session().Steps().CanUndo())
        m_window->Undo();
    m_expected.grid = m_pictures.front();
    Check("undo everything");
    while (m_window->Session().Steps().CanRedo())
        m_window->Redo();
    m_expected.grid = last;
    Check("redo everything");
}

void MonkeyTest::Check(const char *step)
{
    const DotGrid &grid = m_window->Grid();
    QVERIFY2(grid == m_expected.grid, step);
    const int type = LcdTypeValue(grid.nLCDType());
    QVERIFY2(View()->Layout() == grid.nLCDType(), step);
    QVERIFY2(Option(type)->isChecked() && !Option(1 - type)->isChecked(), step);
    QVERIFY2(CodeBox()->Text() == m_expected.code, step);
    QVERIFY2(m_messagesSeen == m_messages, step);
    // What is on screen: every cell shows its dot's colour at its layout's place.
    const QImage shown = View()->grab().toImage();
    for (int dot = 0; dot < kDotCount; ++dot) {
        const QColor colour = shown.pixelColor(View()->CellRect(dot).center());
        const QColor wanted = grid.IsSet(dot) ? QColor(Qt::black) : QColor(Qt::white);
        if (colour != wanted)
            QFAIL(qPrintable(QStringLiteral("%1: dot %2 shows the wrong colour").arg(step).arg(dot)));
    }
}

QPoint MonkeyTest::RandomPointInGrid()
{
    const int side = View()->width();
    // A little outside the grid too: strokes may leave it and come back.
    return {static_cast<int>(m_random() % (side + 20)) - 10, static_cast<int>(m_random() % (side + 20)) - 10};
}

void MonkeyTest::ExpectMessage()
{
    ++m_messages;
    OnNextModal([this](QWidget *modal) {
        if (qobject_cast<QMessageBox *>(modal) != nullptr)
            ++m_messagesSeen;
        modal->close();
    });
}

void MonkeyTest::ClickDot()
{
    const int dot = RandomDot();
    QTest::mouseClick(View(), Qt::LeftButton, {}, View()->CellRect(dot).center());
    m_expected.grid.ToggleDot(dot);
}

void MonkeyTest::DragAcross()
{
    const QPoint start = View()->CellRect(RandomDot()).center();
    const int pressed = View()->DotAt(start);
    const DotState before = m_window->Grid().State(pressed);
    QTest::mousePress(View(), Qt::LeftButton, {}, start);
    QPoint last = start;
    const int moves = 1 + static_cast<int>(m_random() % 5);
    bool left = false;
    for (int i = 0; i < moves; ++i) {
        last = RandomPointInGrid();
        left = left || (View()->DotAt(last) >= 0 && View()->DotAt(last) != pressed);
        QMouseEvent move(QEvent::MouseMove, last, View()->mapToGlobal(last), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(View(), &move);
    }
    QTest::mouseRelease(View(), Qt::LeftButton, {}, last);

    const DotGrid &after = m_window->Grid();
    if (!left) {
        // Never reached another dot: a click when released where it was pressed.
        if (View()->DotAt(last) == pressed)
            m_expected.grid.ToggleDot(pressed);
        return;
    }
    // A stroke: the pressed dot flipped, and every dot that changed took its new state.
    const DotState painted = before == DotState::Set ? DotState::Clear : DotState::Set;
    QCOMPARE(after.State(pressed), painted);
    for (int dot = 0; dot < kDotCount; ++dot) {
        if (after.State(dot) != m_expected.grid.State(dot))
            QCOMPARE(after.State(dot), painted);
    }
    m_expected.grid.SetAllDots(after.AllDots());
}

void MonkeyTest::PressKeys()
{
    View()->setFocus();
    const std::array<Qt::Key, 6> keys = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                                         Qt::Key_Down, Qt::Key_Space, Qt::Key_X};
    const Qt::Key key = keys[m_random() % keys.size()];
    const int focused = View()->FocusDot();
    QTest::keyClick(View(), key);
    if (key == Qt::Key_Space)
        m_expected.grid.ToggleDot(focused);
}

void MonkeyTest::SwitchType()
{
    const int type = static_cast<int>(m_random() % 2);
    QTest::mouseClick(Option(type), Qt::LeftButton);
    m_expected.grid.SetLCDType(static_cast<LcdType>(type));
}

void MonkeyTest::New()
{
    m_window->tbarMain_ButtonClick(QStringLiteral("new"));
    m_expected.grid.ClearLCD();
    m_expected.code.clear();
}

void MonkeyTest::Run()
{
    m_window->tbarMain_ButtonClick(QStringLiteral("run"));
    m_expected.code = QString::fromStdString(LCDtoCODE(m_expected.grid));
}

void MonkeyTest::Copy()
{
    m_clipboard->refusesText = m_random() % 8 == 0;
    const QString code = m_expected.code;
    const QString held = m_clipboard->text;
    // An empty box is said so and copies nothing; code the clipboard refuses stays in the box.
    if (code.isEmpty() || m_clipboard->refusesText)
        ExpectMessage();
    else
        m_expected.code.clear();
    m_window->cmdCopy_Click();
    QCOMPARE(m_clipboard->text, code.isEmpty() ? held : code);
}

void MonkeyTest::OpenGoodFile()
{
    DotGrid drawing;
    drawing.SetLCDType(static_cast<LcdType>(m_random() % 2));
    for (int dot = 0; dot < kDotCount; ++dot)
        drawing.SetDot(dot, m_random() % 3 == 0 ? DotState::Set : DotState::Clear);
    std::string bytes = FormatDrawing(drawing);
    if (m_random() % 3 == 0) {
        // The legacy form: the dot line alone, the type stays as it is.
        bytes = bytes.substr(4, 255);
        drawing.SetLCDType(m_expected.grid.nLCDType());
        drawing.SetDot(255, DotState::Clear);
    }
    const QString path = m_files.filePath(QStringLiteral("good.Lcd"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
    file.close();
    m_dialog->answers = {path};
    m_window->tbarMain_ButtonClick(QStringLiteral("open"));
    m_expected.grid = drawing;
}

void MonkeyTest::OpenBadFile()
{
    const std::array<QByteArray, 5> broken = {"", " 1\r\n", " 2\r\n1111", "9.5\n000", " -1\r\n"};
    const QString path = m_files.filePath(QStringLiteral("bad.Lcd"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(broken[m_random() % broken.size()]);
    file.close();
    const bool missing = m_random() % 4 == 0;
    m_dialog->answers = {missing ? m_files.filePath(QStringLiteral("missing.Lcd")) : path};
    ExpectMessage();
    m_window->tbarMain_ButtonClick(QStringLiteral("open"));
}

void MonkeyTest::SaveGood()
{
    const QString path = m_files.filePath(QStringLiteral("saved-%1.Lcd").arg(m_random() % 4));
    m_dialog->answers = {path};
    m_window->tbarMain_ButtonClick(QStringLiteral("save"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray::fromStdString(FormatDrawing(m_expected.grid)));
    ++m_savedFiles;
}

void MonkeyTest::SaveBad()
{
    const QString path = m_files.filePath(QStringLiteral("no-folder/picture.Lcd"));
    m_dialog->answers = {path};
    ExpectMessage();
    m_window->tbarMain_ButtonClick(QStringLiteral("save"));
    QVERIFY(!QFile::exists(path));
}

void MonkeyTest::CancelDialog()
{
    m_dialog->answers = {QString()};
    m_window->tbarMain_ButtonClick(m_random() % 2 ? QStringLiteral("open") : QStringLiteral("save"));
}

void MonkeyTest::FocusOn(QWidget *widget)
{
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    widget->setFocus();
    QVERIFY(widget->hasFocus());
}

void MonkeyTest::Undo()
{
    m_walked = true;
    FocusOn(View());
    QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
    if (m_current > 0)
        m_expected.grid = m_pictures[--m_current];
}

void MonkeyTest::Redo()
{
    m_walked = true;
    QRadioButton *option = Option(static_cast<int>(m_random() % 2)); // redo answers anywhere but in the code box
    FocusOn(option);
    const bool shifted = m_random() % 2 == 0;
    QTest::keyClick(option, shifted ? Qt::Key_Z : Qt::Key_Y,
                    shifted ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
    if (m_current + 1 < m_pictures.size())
        m_expected.grid = m_pictures[++m_current];
}

void MonkeyTest::TransformByKey()
{
    FocusOn(View());
    const std::array<std::pair<Qt::Key, Transform>, 5> keys = {{
        {Qt::Key_I, Transform::Invert},
        {Qt::Key_Up, Transform::ShiftUp},
        {Qt::Key_Down, Transform::ShiftDown},
        {Qt::Key_Left, Transform::ShiftLeft},
        {Qt::Key_Right, Transform::ShiftRight},
    }};
    const auto &[key, transform] = keys[m_random() % keys.size()];
    QTest::keyClick(View(), key, key == Qt::Key_I ? Qt::ControlModifier : Qt::ShiftModifier);
    ApplyTransform(m_expected.grid, transform);
}

void MonkeyTest::TransformFromMenu()
{
    const QList<QAction *> actions = m_window->GridMenu()->actions();
    const int first = 6; // after Undo, Redo, New Picture, Picture Size and their separators
    const int pick = first + static_cast<int>(m_random() % 9);
    actions[pick]->trigger();
    const std::array<Transform, 9> order = {
        Transform::Invert,         Transform::ShiftUp,         Transform::ShiftDown,
        Transform::ShiftLeft,      Transform::ShiftRight,      Transform::FlipHorizontally,
        Transform::FlipVertically, Transform::RotateClockwise, Transform::RotateCounterclockwise,
    };
    ApplyTransform(m_expected.grid, order[static_cast<std::size_t>(pick - first)]);
}

QTEST_MAIN(MonkeyTest)
#include "MonkeyTest.moc"
