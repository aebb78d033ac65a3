// The window's response on the offscreen platform: a type switch, a dot
// toggle, a transform and an undo, each with the repaint it causes, against
// repainting a plain widget of the grid's size.
#include "BenchReport.h"
#include "DotGridView.h"
#include "frmMain.h"

#include <QApplication>

namespace {

frmMain *Window()
{
    static frmMain *window = [] {
        auto *created = new frmMain;
        created->show();
        QCoreApplication::processEvents();
        return created;
    }();
    return window;
}

void BM_TypeSwitchRepaint(benchmark::State &state)
{
    int type = 0;
    for (auto _ : state) {
        type = 1 - type;
        Window()->optType_Click(type);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_TypeSwitchRepaint)->UseRealTime();

void BM_DotToggleRepaint(benchmark::State &state)
{
    int dot = 0;
    for (auto _ : state) {
        Window()->lbDot_Click(dot);
        dot = (dot + 37) % 256;
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_DotToggleRepaint)->UseRealTime();

// A quarter turn changes nearly every dot of a picture with no symmetry, so
// every step repaints most of the grid.
void DrawAsymmetricPicture()
{
    Window()->tbarMain_ButtonClick(QStringLiteral("new"));
    for (int dot = 0; dot < 256; dot += 3)
        Window()->lbDot_Click(dot);
    QCoreApplication::processEvents();
}

void BM_TransformRepaint(benchmark::State &state)
{
    DrawAsymmetricPicture();
    for (auto _ : state) {
        Window()->ApplyTransform(tessaldo::Transform::RotateClockwise);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_TransformRepaint)->UseRealTime();

void BM_UndoRepaint(benchmark::State &state)
{
    DrawAsymmetricPicture();
    Window()->ApplyTransform(tessaldo::Transform::Invert);
    QCoreApplication::processEvents();
    bool undo = true;
    for (auto _ : state) {
        // Back and forth over one inversion, so every walk changes every dot.
        undo ? Window()->Undo() : Window()->Redo();
        undo = !undo;
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_UndoRepaint)->UseRealTime();

void BM_PlainWidgetRepaint(benchmark::State &state)
{
    QWidget plain;
    plain.setFixedSize(Window()->findChild<DotGridView *>()->size());
    plain.setAutoFillBackground(true);
    plain.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        plain.update();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_PlainWidgetRepaint)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RatioReporter::RunAll(
        argc, argv,
        {
            {"BM_TypeSwitchRepaint", "type switch with repaint", "BM_PlainWidgetRepaint", "us"},
            {"BM_DotToggleRepaint", "dot toggle with repaint", "BM_PlainWidgetRepaint", "us"},
            {"BM_TransformRepaint", "transform with repaint", "BM_PlainWidgetRepaint", "us"},
            {"BM_UndoRepaint", "undo with repaint", "BM_PlainWidgetRepaint", "us"},
        });
}
