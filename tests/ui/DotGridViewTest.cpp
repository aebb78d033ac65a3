#include "ui/canvas/DotGridView.h"
#include "UiDoubles.h"
#include "ui/window/frmMain.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QHelpEvent>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>

using namespace tessaldo;

class DotGridViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dragAcrossARowPaintsExactlyTheDotsItCrossed();
    void dragStartingOnASetDotClearsWhatItCrosses();
    void fastDiagonalDragLeavesNoGaps();
    void releaseAfterADragTogglesNothingMore();
    void leavingTheGridAndComingBackIsStillAClick();
    void clickStillTogglesExactlyOnce();
    void arrowsMoveTheFocusCellInScreenDirections();
    void pressMovesTheFocusCellToThePressedDot();
    void focusCellNeverLeavesTheGrid();
    void spaceTogglesTheFocusDotAndOtherKeysDoNothing();
    void focusOutlineShowsOnlyWhileTheGridHasFocus();
    void tooltipSaysWhereTheDotsBitGoes();
    void screenReadersSeeEveryDotWithItsState();

private:
    DotGridView *view() const { return window->findChild<DotGridView *>(QStringLiteral("lbDot")); }
    QPoint At(int column, int row) const
    {
        return {column * DotGridView::kCellPixels + 6, row * DotGridView::kCellPixels + 6};
    }
    void SwitchToRowLayout()
    {
        QTest::mouseClick(window->findChild<QRadioButton *>(QStringLiteral("optType_1")), Qt::LeftButton);
    }
    void Drag(const QList<QPoint> &points);
    QList<int> SetDots() const;

    frmMain *window = nullptr;
};

void DotGridViewTest::init()
{
    window = new frmMain(std::make_unique<ScriptedDialog>(), std::make_unique<FakeClipboard>());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void DotGridViewTest::cleanup()
{
    delete window;
    window = nullptr;
}

void DotGridViewTest::Drag(const QList<QPoint> &points)
{
    QTest::mousePress(view(), Qt::LeftButton, {}, points.first());
    for (const QPoint &point : points.mid(1)) {
        QMouseEvent move(QEvent::MouseMove, point, view()->mapToGlobal(point), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(view(), &move);
    }
    QTest::mouseRelease(view(), Qt::LeftButton, {}, points.last());
}

QList<int> DotGridViewTest::SetDots() const
{
    QList<int> set;
    for (int dot = 0; dot < kDotCount; ++dot) {
        if (window->Grid().IsSet(dot))
            set.append(dot);
    }
    return set;
}

void DotGridViewTest::dragAcrossARowPaintsExactlyTheDotsItCrossed()
{
    // Column layout: the cell in column c, row 3 is dot 16c + 3.
    Drag({At(2, 3), At(3, 3), At(9, 3)});
    QCOMPARE(SetDots(), QList<int>({35, 51, 67, 83, 99, 115, 131, 147}));
}

void DotGridViewTest::dragStartingOnASetDotClearsWhatItCrosses()
{
    SwitchToRowLayout();
    Drag({At(0, 0), At(15, 0)}); // row layout: dots 0..15
    QCOMPARE(SetDots().size(), 16);
    Drag({At(4, 0), At(7, 0)});
    QCOMPARE(SetDots(), QList<int>({0, 1, 2, 3, 8, 9, 10, 11, 12, 13, 14, 15}));
}

void DotGridViewTest::fastDiagonalDragLeavesNoGaps()
{
    SwitchToRowLayout();
    Drag({At(0, 0), At(15, 15)});
    const QList<int> set = SetDots();
    for (int i = 0; i < 16; ++i)
        QVERIFY2(set.contains(i * 17), qPrintable(QStringLiteral("diagonal dot %1 missing").arg(i * 17)));
    QCOMPARE(set.size(), 31); // the 16 diagonal cells and one step between each pair
}

void DotGridViewTest::releaseAfterADragTogglesNothingMore()
{
    Drag({At(0, 0), At(1, 0), At(0, 0)}); // back onto the pressed dot before releasing
    QCOMPARE(SetDots(), QList<int>({0, 16}));
}

void DotGridViewTest::leavingTheGridAndComingBackIsStillAClick()
{
    Drag({At(0, 0), QPoint(-20, 6), At(0, 0)});
    QCOMPARE(SetDots(), QList<int>({0}));
}

void DotGridViewTest::clickStillTogglesExactlyOnce()
{
    QTest::mouseClick(view(), Qt::LeftButton, {}, At(4, 4));
    QCOMPARE(SetDots(), QList<int>({68}));
    QTest::mouseDClick(view(), Qt::LeftButton, {}, At(4, 4));
    QCOMPARE(SetDots(), QList<int>({68}));
}

void DotGridViewTest::arrowsMoveTheFocusCellInScreenDirections()
{
    view()->setFocus();
    QCOMPARE(view()->FocusDot(), 0);
    QTest::keyClick(view(), Qt::Key_Right);
    QCOMPARE(view()->FocusDot(), 16); // column layout: the next column
    QTest::keyClick(view(), Qt::Key_Down);
    QCOMPARE(view()->FocusDot(), 17);
    SwitchToRowLayout();
    QCOMPARE(view()->FocusDot(), 17); // the same screen cell, now dot 17 too: it is on the diagonal
    QTest::keyClick(view(), Qt::Key_Left);
    QCOMPARE(view()->FocusDot(), 16); // row layout: dot 16 starts the second row
    QTest::keyClick(view(), Qt::Key_Up);
    QCOMPARE(view()->FocusDot(), 0);
}

void DotGridViewTest::pressMovesTheFocusCellToThePressedDot()
{
    QTest::mouseClick(view(), Qt::LeftButton, {}, At(3, 2));
    QCOMPARE(view()->FocusDot(), 50);
    QTest::keyClick(view(), Qt::Key_Space);
    QVERIFY(window->Grid().IsClear(50)); // clicked on, then toggled back by Space
}

void DotGridViewTest::focusCellNeverLeavesTheGrid()
{
    view()->setFocus();
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(view(), Qt::Key_Left);
        QTest::keyClick(view(), Qt::Key_Up);
    }
    QCOMPARE(view()->FocusDot(), 0);
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(view(), Qt::Key_Right);
        QTest::keyClick(view(), Qt::Key_Down);
    }
    QCOMPARE(view()->FocusDot(), 255);
}

void DotGridViewTest::spaceTogglesTheFocusDotAndOtherKeysDoNothing()
{
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_Right);
    QTest::keyClick(view(), Qt::Key_Space);
    QCOMPARE(SetDots(), QList<int>({16}));
    QTest::keyClick(view(), Qt::Key_A);
    QTest::keyClick(view(), Qt::Key_Return);
    QCOMPARE(SetDots(), QList<int>({16}));
    QTest::keyClick(view(), Qt::Key_Space);
    QVERIFY(SetDots().isEmpty());
}

void DotGridViewTest::focusOutlineShowsOnlyWhileTheGridHasFocus()
{
    const QPoint outline(2, 2); // inside cell 0, where the outline runs
    view()->clearFocus();
    QCOMPARE(view()->grab().toImage().pixelColor(outline), QColor(Qt::white));
    window->activateWindow();
    view()->setFocus();
    QVERIFY(view()->hasFocus());
    QVERIFY(view()->grab().toImage().pixelColor(outline) != QColor(Qt::white));
}

void DotGridViewTest::tooltipSaysWhereTheDotsBitGoes()
{
    QHelpEvent help(QEvent::ToolTip, At(2, 5), view()->mapToGlobal(At(2, 5)));
    QApplication::sendEvent(view(), &help);
    QCOMPARE(QToolTip::text(), QStringLiteral("Dot 37: byte 4 (first printf), bit 5 = 0x20"));
}

void DotGridViewTest::screenReadersSeeEveryDotWithItsState()
{
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(view());
    QVERIFY(grid != nullptr);
    QCOMPARE(grid->childCount(), 256);
    QAccessibleInterface *cell = grid->child(37);
    QVERIFY(cell != nullptr);
    QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("Dot 37"));
    QCOMPARE(grid->indexOfChild(cell), 37);
    QCOMPARE(cell->parent(), grid);
    QVERIFY(!cell->state().checked);
    QCOMPARE(cell->text(QAccessible::Value), QStringLiteral("clear"));
    QTest::mouseClick(view(), Qt::LeftButton, {}, At(2, 5));
    QVERIFY(cell->state().checked);
    QCOMPARE(cell->text(QAccessible::Value), QStringLiteral("set"));
    QCOMPARE(cell->rect().topLeft(), view()->mapToGlobal(QPoint(26, 65)));
    QCOMPARE(grid->child(256), nullptr);
}

QTEST_MAIN(DotGridViewTest)
#include "DotGridViewTest.moc"
