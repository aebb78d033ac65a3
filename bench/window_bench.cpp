// The window's response on the offscreen platform: a type switch and a dot
// toggle, each with the repaint it causes, against repainting a plain widget
// of the grid's size.
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
        });
}
