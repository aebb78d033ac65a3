#include "UiDoubles.h"
#include "core/formats/DrawingFile.h"
#include "core/model/Displays.h"
#include "core/model/Shapes.h"
#include "core/session/Canvas.h"
#include "core/session/EditorCommands.h"
#include "image/PicturePainter.h"
#include "ui/canvas/DotGridView.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QProcess>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace tessaldo;

// The canvas as a user drives it: a picture of another size drawn with the
// tools, zoomed, saved and read back by the command line; the module's grid
// as it always was.
class CanvasWindowTest : public QObject, private WindowUnderTest {
    Q_OBJECT

private slots:
    void init() { Open(); }
    void cleanup() { Close(); }

    void theModulesGridDrawsAsThePictureExportDrawsIt();
    void theModulesGridGrowsInWholeCellsWithTheWindowAndComesBack();
    void boxCircleFillAndMovedSelectionAreOneStepEachAndSaveAsTheyShow();
    void keysWalkALargePictureAndTheViewFollows();
    void toolBarAndStatusBarShowOffTheModulesSizeOnly();
    void theWindowGrownForALargerPictureComesBackAsDesignedForTheModules();
    void aLargePictureOpensWholeBesideThePreviewWithEveryDotInSight();
    void everyToolWorksFromTheKeyboardAlone();
    void offTheModulesSizeTheFormsControlsMakeRoomAndComeBackAsDesigned();
    void copyAsCArraySaysWhatItCopied();

private:
    DotGridView *view() const { return window->findChild<DotGridView *>(QStringLiteral("lbDot")); }
    QAction *action(const QString &text) const
    {
        for (QAction *found : window->findChildren<QAction *>()) {
            if (found->text() == text)
                return found;
        }
        return nullptr;
    }
    QString OpenClearPicture(PictureSize size) const
    {
        const QString path = tempDir->filePath(QStringLiteral("clear.pbm"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(QStringLiteral("P1\n%1 %2\n%3\n")
                           .arg(size.width)
                           .arg(size.height)
                           .arg(QString(size.DotCount(), u'0'))
                           .toLatin1());
        file.close();
        window->OpenFile(path);
        return path;
    }
    QPoint At(Cell cell) const { return view()->CellRect(view()->Grid().DotAt(cell)).center(); }
    void Drag(Cell from, Cell to) const
    {
        QTest::mousePress(view(), Qt::LeftButton, {}, At(from));
        QMouseEvent move(QEvent::MouseMove, At(to), view()->mapToGlobal(At(to)), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(view(), &move);
        QTest::mouseRelease(view(), Qt::LeftButton, {}, At(to));
    }
    int SetCount() const
    {
        const auto &dots = window->Grid().AllDots();
        return static_cast<int>(std::count(dots.begin(), dots.end(), DotState::Set));
    }
    // The picture as the canvas shows it, '#' for a black cell, a line a row.
    QStringList ShownRows() const
    {
        const QImage shown = view()->grab().toImage();
        QStringList rows;
        const PictureSize size = window->Grid().Size();
        for (int row = 0; row < size.height; ++row) {
            QString line;
            for (int column = 0; column < size.width; ++column)
                line += shown.pixelColor(At({column, row})) == QColor(Qt::black) ? u'#' : u'.';
            rows << line;
        }
        return rows;
    }
};

void CanvasWindowTest::theModulesGridDrawsAsThePictureExportDrawsIt()
{
    for (const int dot : {0, 17, 100, 255})
        window->lbDot_Click(dot);
    QImage expected(view()->size(), QImage::Format_RGB32);
    QPainter painter(&expected);
    PaintPicture(painter, window->Grid(), LcdType::Column, DotGridView::kCellPixels, true);
    painter.end();
    QCOMPARE(view()->size(), QSize(209, 209));
    view()->clearFocus(); // its outline is the one thing the export leaves out
    QCOMPARE(view()->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
    QVERIFY(window->findChild<QWidget *>(QStringLiteral("lbPointer"))->isHidden());
}

void CanvasWindowTest::theModulesGridGrowsInWholeCellsWithTheWindowAndComesBack()
{
    const QRect grid = view()->geometry();
    const QRect code = window->findChild<QWidget *>(QStringLiteral("txtData"))->geometry();
    window->resize(window->width() + 200, window->height() + 300);
    QTRY_COMPARE(view()->size(), grid.size() + QSize(200, 300));
    QCOMPARE(view()->CellPixels(), FitCellPixels(kModuleSize, grid.width() + 200, grid.height() + 300));
    QCOMPARE(view()->CellRect(1).top() - view()->CellRect(0).top(), view()->CellPixels());
    QCOMPARE(window->findChild<QWidget *>(QStringLiteral("txtData"))->geometry(),
             code.translated(0, 300).adjusted(0, 0, 200, 0));
    QVERIFY(window->findChild<QWidget *>(QStringLiteral("lbPointer"))->isVisible());

    window->resize(window->minimumSize());
    QTRY_COMPARE(view()->geometry(), grid);
    QCOMPARE(view()->CellPixels(), DotGridView::kCellPixels);
    QCOMPARE(view()->CellRect(0).topLeft(), QPoint(0, 0));
}

void CanvasWindowTest::boxCircleFillAndMovedSelectionAreOneStepEachAndSaveAsTheyShow()
{
    OpenClearPicture({128, 64});
    QCOMPARE(window->Grid().Size(), (PictureSize{128, 64}));
    window->resize(1100, 700); // room for the canvas beside the docked preview
    QTRY_VERIFY(view()->CellPixels() >= 4);
    const int fitted = view()->CellPixels();

    std::vector<DotGrid::Dots> before;
    const int opened = window->Session().Steps().Count();
    const auto step = [&](const char *tool, const std::function<void()> &use) {
        before.push_back(window->Grid().AllDots());
        action(QString::fromLatin1(tool))->trigger();
        use();
        QCOMPARE(window->Session().Steps().Count(), opened + static_cast<int>(before.size()));
    };
    step("Rectangle", [&] { Drag({10, 10}, {40, 30}); });
    QCOMPARE(SetCount(), static_cast<int>(RectangleCells({10, 10}, {40, 30}, false).size()));
    step("Ellipse", [&] { Drag({60, 10}, {90, 40}); });
    const int outlines = SetCount();
    QCOMPARE(outlines, static_cast<int>(RectangleCells({10, 10}, {40, 30}, false).size()
                                        + EllipseCells({60, 10}, {90, 40}, false).size()));
    step("Fill", [&] { QTest::mouseClick(view(), Qt::LeftButton, {}, At({20, 20})); });
    QCOMPARE(SetCount(), outlines + 29 * 19);
    step("Select", [&] {
        Drag({5, 5}, {45, 35});
        QCOMPARE(window->Session().Selection(), (CellRect{{5, 5}, {41, 31}}));
        Drag({20, 20}, {25, 22});
    });
    QVERIFY(window->Grid().IsSet(window->Grid().DotAt({15, 12})));
    QVERIFY(window->Grid().IsClear(window->Grid().DotAt({10, 10})));

    action(QStringLiteral("Zoom In"))->trigger();
    QCOMPARE(view()->CellPixels(), ZoomedIn(fitted));
    QVERIFY(view()->findChild<QScrollBar *>()->isVisible());
    action(QStringLiteral("Zoom to Fit"))->trigger();
    QCOMPARE(view()->CellPixels(), fitted);

    const QString saved = tempDir->filePath(QStringLiteral("drawn.pbm"));
    QVERIFY(window->SaveFile(saved));
    QProcess cli;
    cli.start(QStringLiteral(TESSALDO_CLI), {QStringLiteral("show"), saved});
    QVERIFY(cli.waitForFinished());
    QStringList shown = QString::fromUtf8(cli.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(shown.mid(shown.size() - 64), ShownRows());
    const DotGrid::Dots drawn = window->Grid().AllDots();
    window->OpenFile(saved);
    QCOMPARE(window->Grid().AllDots(), drawn);

    for (auto earlier = before.rbegin(); earlier != before.rend(); ++earlier) {
        window->Undo();
        QVERIFY(window->Grid().AllDots() == *earlier);
    }
}

void CanvasWindowTest::keysWalkALargePictureAndTheViewFollows()
{
    OpenClearPicture({800, 480});
    view()->setFocus();
    for (int step = 0; step < 4; ++step)
        action(QStringLiteral("Zoom In"))->trigger();
    const auto focusShows = [&] { return view()->rect().contains(view()->CellRect(view()->FocusDot())); };
    QTest::keyClick(view(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(view()->FocusDot(), 800 * 480 - 1);
    QVERIFY(focusShows());
    QTest::keyClick(view(), Qt::Key_Home);
    QCOMPARE(view()->FocusDot(), 800 * 479);
    QVERIFY(focusShows());
    QTest::keyClick(view(), Qt::Key_PageUp, Qt::AltModifier);
    QVERIFY(view()->FocusDot() < 800 * 478);
    QVERIFY(focusShows());
    QTest::keyClick(view(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(view()->FocusDot(), 0);
    QVERIFY(focusShows());

    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(view());
    QCOMPARE(grid->childCount(), 800 * 480);
    QCOMPARE(grid->child(800 * 480 - 1)->text(QAccessible::Name), QStringLiteral("Dot 383999"));
    QCOMPARE(grid->focusChild()->text(QAccessible::Name), QStringLiteral("Dot 0"));
}

void CanvasWindowTest::aLargePictureOpensWholeBesideThePreviewWithEveryDotInSight()
{
    window->resize(1280, 800);
    auto *preview = window->findChild<QDockWidget *>(QStringLiteral("previewDock"));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    // The 7.5-inch e-paper's picture, and the largest, which only a pixel for a block of dots shows whole.
    for (const PictureSize size : {PictureSize{800, 480}, PictureSize{1024, 1024}}) {
        question->answers = {SaveChangesQuestion::Answer::Discard}; // the dot set in the one before
        OpenClearPicture(size);
        QCOMPARE(window->Grid().Size(), size);
        QCOMPARE(window->size(), QSize(1280, 800));
        // One dot set alone, where no block of two or more dots holds another.
        const int alone = window->Grid().DotAt({401, 241});
        window->lbDot_Click(alone);
        const QRect canvas(view()->mapTo(window, QPoint()), view()->size());
        QVERIFY(!view()->findChild<QScrollBar *>()->isVisible());
        QVERIFY(view()->rect().contains(view()->CellRect(0)));
        QVERIFY(view()->rect().contains(view()->CellRect(size.DotCount() - 1)));
        QVERIFY(preview->isVisible() && !preview->isFloating());
        QVERIFY2(!preview->geometry().intersects(canvas), "the preview covers the canvas");
        QVERIFY(view()->grab().toImage().pixelColor(view()->CellRect(alone).topLeft()).lightness() < 255);
        // The zoom's keys answer wherever the focus is, and Ctrl+0 fits again.
        QWidget *code = window->findChild<QWidget *>(QStringLiteral("txtData"));
        code->setFocus();
        const Zoom fitted = view()->CurrentZoom();
        QTest::keySequence(code, QKeySequence(QStringLiteral("Ctrl++")));
        QCOMPARE(view()->CurrentZoom(), ZoomedIn(fitted));
        QTest::keySequence(code, QKeySequence(QStringLiteral("Ctrl+0")));
        QCOMPARE(view()->CurrentZoom(), fitted);
    }
    QVERIFY(view()->CurrentZoom().dotsPerPixel > 1);
}

void CanvasWindowTest::everyToolWorksFromTheKeyboardAlone()
{
    OpenClearPicture({128, 64});
    view()->setFocus();
    const auto walkTo = [this](Cell cell, Qt::KeyboardModifiers held = {}) {
        QTest::keyClick(view(), Qt::Key_Home, Qt::ControlModifier);
        for (int column = 0; column < cell.column; ++column)
            QTest::keyClick(view(), Qt::Key_Right, held);
        for (int row = 0; row < cell.row; ++row)
            QTest::keyClick(view(), Qt::Key_Down, held);
    };
    const struct {
        const char *tool;
        Cell from;
        Cell to;
        Qt::Key end;
        Qt::KeyboardModifiers held;
        std::vector<Cell> drawn;
        Qt::KeyboardModifiers walked; // held on the arrows that move the shape's end
    } cases[] = {
        {"Rectangle", {2, 3}, {6, 5}, Qt::Key_Space, {}, RectangleCells({2, 3}, {6, 5}, false), {}},
        {"Line",
         {10, 10},
         {14, 12},
         Qt::Key_Space,
         Qt::ShiftModifier,
         LineCells({10, 10}, StraightLineEnd({10, 10}, {14, 12})),
         {}},
        // Shown straight by Shift on the arrows, it ends straight on a plain Space.
        {"Line",
         {30, 30},
         {33, 31},
         Qt::Key_Space,
         {},
         LineCells({30, 30}, StraightLineEnd({30, 30}, {33, 31})),
         Qt::ShiftModifier},
        {"Ellipse", {20, 20}, {25, 28}, Qt::Key_Escape, {}, {}, {}},
        // Enter fills at the focus cell, inside the box drawn first.
        {"Fill", {3, 4}, {3, 4}, Qt::Key_Enter, {}, {{3, 4}, {4, 4}, {5, 4}}, {}},
    };
    DotGrid expected;
    expected.SetAllDots(Dots(window->Grid().Size()));
    int steps = window->Session().Steps().Count();
    for (const auto &c : cases) {
        action(QString::fromLatin1(c.tool))->trigger();
        walkTo(c.from);
        if (c.end != Qt::Key_Enter) {
            QTest::keyClick(view(), Qt::Key_Space);
            walkTo(c.to, c.walked);
        }
        QTest::keyClick(view(), c.end, c.held);
        for (const Cell cell : c.drawn)
            expected.SetDot(expected.DotAt(cell), DotState::Set);
        steps += c.drawn.empty() ? 0 : 1;
        QVERIFY2(window->Grid().AllDots() == expected.AllDots(), c.tool);
        QCOMPARE(window->Session().Steps().Count(), steps);
    }
    // A selection marked with Space and lifted one cell right by the arrow.
    action(QStringLiteral("Select"))->trigger();
    walkTo({2, 3});
    QTest::keyClick(view(), Qt::Key_Space);
    walkTo({6, 5});
    QTest::keyClick(view(), Qt::Key_Space);
    QCOMPARE(window->Session().Selection(), (CellRect{{2, 3}, {5, 3}}));
    QTest::keyClick(view(), Qt::Key_Right);
    QCOMPARE(window->Session().Selection(), (CellRect{{3, 3}, {5, 3}}));
    QVERIFY(window->Grid().IsClear(window->Grid().DotAt({2, 3})) && window->Grid().IsSet(window->Grid().DotAt({7, 3})));
    QCOMPARE(window->Session().Steps().Count(), steps + 1);
}

void CanvasWindowTest::offTheModulesSizeTheFormsControlsMakeRoomAndComeBackAsDesigned()
{
    // Every named control shown, where it stands in the window.
    const auto places = [this] {
        QMap<QString, QRect> placed;
        for (QWidget *control : window->findChildren<QWidget *>()) {
            if (!control->objectName().isEmpty() && control->isVisible())
                placed.insert(control->objectName(), QRect(control->mapTo(window, QPoint()), control->size()));
        }
        return placed;
    };
    const QMap<QString, QRect> designed = places();
    const QRect frame = window->geometry();
    const QString module = tempDir->filePath(QStringLiteral("module.Lcd"));
    QVERIFY(SavePicture(DotGrid(), module.toStdString()));

    OpenClearPicture({128, 64});
    for (const char *name : {"Frame1", "Frame2"})
        QVERIFY2(window->findChild<QWidget *>(QString::fromLatin1(name))->isHidden(), name);
    const auto *code = window->findChild<QDockWidget *>(QStringLiteral("codeDock"));
    const auto *strip = window->findChild<QDockWidget *>(QStringLiteral("stripDock"));
    const QRect canvas(view()->mapTo(window, QPoint()), view()->size());
    QVERIFY(code->isVisible() && !strip->isVisible());
    for (const char *name : {"txtData", "cmdCopy"}) {
        auto *control = window->findChild<QWidget *>(QString::fromLatin1(name));
        QVERIFY2(control->isVisible() && code->isAncestorOf(control), name);
    }
    QVERIFY(code->geometry().top() > canvas.bottom());
    // Folded to its title, the code's dock leaves its room to the canvas.
    auto *fold = window->findChild<QToolButton *>(QStringLiteral("codeDockFold"));
    fold->click();
    QTRY_VERIFY(view()->height() > canvas.height());
    QVERIFY(!window->findChild<QWidget *>(QStringLiteral("txtData"))->isVisible());
    fold->click();
    QTRY_COMPARE(view()->height(), canvas.height());
    QVERIFY(!window->findChild<QDockWidget *>(QStringLiteral("previewDock"))->geometry().intersects(canvas));
    const QString addPicture = QString::fromUtf8(CommandWithId(CommandId::AddPicture).caption.data());
    action(addPicture)->trigger();
    QVERIFY(strip->isVisible() && strip->isAncestorOf(window->findChild<QWidget *>(QStringLiteral("pictureStrip"))));
    QVERIFY(!strip->geometry().intersects(QRect(view()->mapTo(window, QPoint()), view()->size())));
    window->Undo();
    QVERIFY(!strip->isVisible());

    window->OpenFile(module);
    QCOMPARE(places(), designed);
    QCOMPARE(window->geometry(), frame);
}

void CanvasWindowTest::copyAsCArraySaysWhatItCopied()
{
    OpenClearPicture({128, 64});
    action(QString::fromUtf8(CommandWithId(CommandId::CopyAsCArray).caption.data()))->trigger();
    QCOMPARE(clipboard->text, QString::fromStdString(window->Session().ArrayText()));
    QCOMPARE(window->statusBar()->currentMessage(), QString::fromStdString(window->Session().CopiedText()));
    QVERIFY(window->statusBar()->currentMessage().contains(QStringLiteral("128 x 64")));
}

QTEST_MAIN(CanvasWindowTest)
#include "CanvasWindowTest.moc"

void CanvasWindowTest::toolBarAndStatusBarShowOffTheModulesSizeOnly()
{
    auto *tools = window->findChild<QToolBar *>(QStringLiteral("toolsBar"));
    const QSize designed = window->size();
    QVERIFY(!tools->isVisible() && !window->statusBar()->isVisible());
    OpenClearPicture({128, 64});
    QVERIFY(tools->isVisible() && window->statusBar()->isVisible());
    // The picture keeps the room it had: the window grew by the bars and more.
    QVERIFY(window->height() > designed.height() + tools->height() + window->statusBar()->height());
    const auto status = [this](const char *name) {
        return window->findChild<QLabel *>(QString::fromLatin1(name))->text();
    };
    const struct {
        const char *tool;
        Tool chosen;
    } cases[] = {{"Line (L)", Tool::Line}, {"Fill (F)", Tool::Fill}, {"Pencil (P)", Tool::Pencil}};
    for (const auto &c : cases) {
        QAction *button = nullptr;
        for (QAction *action : tools->actions()) {
            if (action->toolTip() == QString::fromLatin1(c.tool))
                button = action;
        }
        QVERIFY2(button != nullptr, c.tool);
        QTest::mouseClick(tools->widgetForAction(button), Qt::LeftButton);
        QCOMPARE(window->Session().CurrentTool(), c.chosen);
        QVERIFY(qobject_cast<QToolButton *>(tools->widgetForAction(button))->isChecked());
        QCOMPARE(status("statusTool") + " (" + button->shortcut().toString() + ")", QString::fromLatin1(c.tool));
    }
    // The tools stand before the canvas in the tab order, and Space chooses one.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), tools->widgetForAction(action(QStringLiteral("Draw Clear Dots"))));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), tools->widgetForAction(action(QStringLiteral("Select"))));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(window->Session().CurrentTool(), Tool::Select);
    QCOMPARE(status("statusSize"), QStringLiteral("128 x 64"));
    const std::string_view display = Displays()[window->Session().PreviewDisplay()].name;
    QCOMPARE(status("statusDisplay"), QString::fromUtf8(display.data(), static_cast<qsizetype>(display.size())));
    QMouseEvent move(QEvent::MouseMove, At({3, 4}), view()->mapToGlobal(At({3, 4})), Qt::NoButton, {}, {});
    QApplication::sendEvent(view(), &move);
    QVERIFY(!status("statusPointer").isEmpty());
    QCOMPARE(status("statusPointer"), window->findChild<QLabel *>(QStringLiteral("lbPointer"))->text());
    action(QStringLiteral("Zoom In"))->trigger();
    QCOMPARE(status("statusZoom"), QStringLiteral("Zoom %1%").arg(view()->CellPixels() * 100));
    const QString module = tempDir->filePath(QStringLiteral("module.Lcd"));
    QVERIFY(SavePicture(DotGrid(), module.toStdString()));
    window->OpenFile(module);
    QVERIFY(!tools->isVisible() && !window->statusBar()->isVisible());
}

void CanvasWindowTest::theWindowGrownForALargerPictureComesBackAsDesignedForTheModules()
{
    const QRect designed = window->geometry();
    const QString module = tempDir->filePath(QStringLiteral("module.Lcd"));
    QVERIFY(SavePicture(DotGrid(), module.toStdString()));
    for (const bool userResized : {false, true}) {
        OpenClearPicture({128, 64});
        QVERIFY(window->width() > designed.width() && window->height() > designed.height());
        if (userResized)
            window->resize(window->size() - QSize(10, 10));
        const QSize left = window->size();
        window->OpenFile(module);
        QCOMPARE(window->size(), userResized ? left : designed.size()); // what the user sized stays theirs
        QVERIFY(userResized || window->geometry() == designed);
        QVERIFY(window->findChild<QWidget *>(QStringLiteral("Frame2"))->isEnabled());
    }
}
