// The window's response on the offscreen platform: a type switch, a dot
// toggle, a transform, an undo and the import preview following a threshold
// change, each with the repaint it causes, against repainting a plain widget
// of the grid's size. Also importing a 24-megapixel JPEG with tessaldo-cli
// against ImageMagick reducing the same file to 16 x 16, both as processes.
// At 800 x 480, in a large window: a stroke, a fill, an undo and a zoom step,
// each with its repaint, against repainting a plain widget of the canvas's size.
#include "BenchReport.h"
#include "image/PictureImage.h"
#include "ui/canvas/DotGridView.h"
#include "ui/dialogs/ImportImageDialog.h"
#include "ui/window/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QSpinBox>
#include <QTemporaryDir>

#include <cstdlib>
#include <random>

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

// Undo and Redo by turns over the window's last step, each shown before the next.
void UndoAndRedoInTurn(benchmark::State &state, frmMain *window)
{
    bool undo = true;
    for (auto _ : state) {
        undo ? window->Undo() : window->Redo();
        undo = !undo;
        QCoreApplication::processEvents();
    }
}

void BM_UndoRepaint(benchmark::State &state)
{
    DrawAsymmetricPicture();
    Window()->ApplyTransform(tessaldo::Transform::Invert);
    QCoreApplication::processEvents();
    // Back and forth over one inversion, so every walk changes every dot.
    UndoAndRedoInTurn(state, Window());
}
BENCHMARK(BM_UndoRepaint)->UseRealTime();

// A photo-sized JPEG, made once: gradients, shapes and noise, so it
// compresses like a photo rather than like a flat test card.
const QString &Photo()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        QImage image(6000, 4000, QImage::Format_RGB32);
        QPainter painter(&image);
        QLinearGradient sky(0, 0, 6000, 4000);
        sky.setColorAt(0, QColor(20, 40, 90));
        sky.setColorAt(1, QColor(250, 220, 180));
        painter.fillRect(image.rect(), sky);
        std::mt19937 random(6);
        for (int i = 0; i < 400; ++i) {
            painter.setBrush(QColor::fromRgb(random() | 0xFF000000));
            painter.drawEllipse(int(random() % 6000), int(random() % 4000), int(random() % 600), int(random() % 600));
        }
        painter.end();
        const QString file = folder.filePath(QStringLiteral("photo.jpg"));
        image.save(file, "JPEG", 90);
        return file;
    }();
    return path;
}

int Run(const QString &command)
{
    return std::system(command.toLocal8Bit().constData());
}

// Times `command` as a process, once per iteration; `failure` says what broke.
void TimeCommand(benchmark::State &state, const QString &command, const char *failure)
{
    for (auto _ : state) {
        if (Run(command) != 0)
            state.SkipWithError(failure);
    }
}

void BM_ImportJpegWithCli(benchmark::State &state)
{
    QTemporaryDir out;
    const QString command = QStringLiteral("'%1' import '%2' '%3'")
                                .arg(QStringLiteral(TESSALDO_CLI), Photo(), out.filePath(QStringLiteral("out.Lcd")));
    TimeCommand(state, command, "tessaldo-cli import failed");
}
BENCHMARK(BM_ImportJpegWithCli)->UseRealTime()->Iterations(1);

void BM_ImageMagickResize(benchmark::State &state)
{
    QTemporaryDir out;
    const QString command = QStringLiteral("convert '%1' -resize 16x16 -threshold 50%% '%2'")
                                .arg(Photo(), out.filePath(QStringLiteral("out.png")));
    TimeCommand(state, command, "ImageMagick's convert failed (is imagemagick installed?)");
}
BENCHMARK(BM_ImageMagickResize)->UseRealTime()->Iterations(1);

// A 320 x 240 animation of 100 frames, a square turning, made by ImageMagick.
const QString &Animation()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("turning.gif"));
        Run(QStringLiteral("convert -size 320x240 xc:white -fill black -draw 'rectangle 110,70 210,170' -duplicate 99 "
                           "-virtual-pixel white -distort SRT '%%[fx:t*3.6]' -set delay 4 '%1'")
                .arg(file));
        return file;
    }();
    return path;
}

void BM_ImportGifWithCli(benchmark::State &state)
{
    QTemporaryDir out;
    const QString command = QStringLiteral("'%1' import '%2' --each '%3' >/dev/null")
                                .arg(QStringLiteral(TESSALDO_CLI), Animation(), out.filePath(QStringLiteral("frames")));
    TimeCommand(state, command, "tessaldo-cli import --each failed");
}
BENCHMARK(BM_ImportGifWithCli)->UseRealTime()->Iterations(1);

void BM_ImageMagickGif(benchmark::State &state)
{
    QTemporaryDir out;
    const QString command = QStringLiteral("convert '%1' -coalesce -resize 16x16 -threshold 50%% '%2'")
                                .arg(Animation(), out.filePath(QStringLiteral("frame-%03d.png")));
    TimeCommand(state, command, "ImageMagick's convert failed (is imagemagick installed?)");
}
BENCHMARK(BM_ImageMagickGif)->UseRealTime()->Iterations(1);

void BM_PreviewFollowsThreshold(benchmark::State &state)
{
    tessaldo::FrameGreys frame;
    std::string problem;
    if (!tessaldo::ReadFirstFrame(Photo(), frame, problem)) {
        state.SkipWithError(problem.c_str());
        return;
    }
    ImportImageDialog dialog({frame}, QStringLiteral("photo"), tessaldo::LcdType::Column, {});
    dialog.show();
    QCoreApplication::processEvents();
    auto *threshold = dialog.findChild<QSpinBox *>(QStringLiteral("threshold"));
    int value = 0;
    for (auto _ : state) {
        value = (value + 37) % 256;
        threshold->setValue(value);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_PreviewFollowsThreshold)->UseRealTime();

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

// A window as large as a desktop's, holding an 800 x 480 picture opened from a PBM.
frmMain *LargeWindow()
{
    static QTemporaryDir folder;
    static frmMain *window = [] {
        const QString path = folder.filePath(QStringLiteral("large.pbm"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("P1\n800 480\n" + QByteArray(800 * 480, '0'));
        file.close();
        auto *created = new frmMain;
        created->resize(1200, 900);
        created->show();
        created->OpenFile(path);
        QCoreApplication::processEvents();
        return created;
    }();
    return window;
}

DotGridView *LargeView()
{
    return LargeWindow()->findChild<DotGridView *>();
}

void ChooseTool(const QString &caption)
{
    for (QAction *action : LargeWindow()->findChildren<QAction *>()) {
        if (action->text() == caption)
            action->trigger();
    }
}

void Click(QPoint at)
{
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, LargeView()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {});
        QApplication::sendEvent(LargeView(), &event);
    }
}

void BM_LargeStrokeRepaint(benchmark::State &state)
{
    int dot = 0;
    for (auto _ : state) {
        // What a drag's move does: the next dot along a row, shown.
        LargeWindow()->lbDot_Paint(dot, tessaldo::DotState::Set);
        dot = (dot + 1) % (800 * 480);
        QCoreApplication::processEvents();
    }
    LargeWindow()->tbarMain_ButtonClick(QStringLiteral("new"));
}
BENCHMARK(BM_LargeStrokeRepaint)->UseRealTime();

void BM_LargeFillRepaint(benchmark::State &state)
{
    ChooseTool(QStringLiteral("Fill"));
    for (auto _ : state) {
        // The whole picture flips each time: the largest fill there is.
        Click(LargeView()->CellRect(0).center());
        QCoreApplication::processEvents();
    }
    ChooseTool(QStringLiteral("Pencil"));
}
BENCHMARK(BM_LargeFillRepaint)->UseRealTime();

void BM_LargeUndoRepaint(benchmark::State &state)
{
    ChooseTool(QStringLiteral("Fill"));
    Click(LargeView()->CellRect(0).center());
    ChooseTool(QStringLiteral("Pencil"));
    QCoreApplication::processEvents();
    UndoAndRedoInTurn(state, LargeWindow());
}
BENCHMARK(BM_LargeUndoRepaint)->UseRealTime();

void BM_LargeZoomStepRepaint(benchmark::State &state)
{
    bool in = true;
    for (auto _ : state) {
        in ? LargeView()->ZoomIn() : LargeView()->ZoomOut();
        in = !in;
        QCoreApplication::processEvents();
    }
    LargeView()->ZoomToFit();
}
BENCHMARK(BM_LargeZoomStepRepaint)->UseRealTime();

void BM_LargePlainWidgetRepaint(benchmark::State &state)
{
    QWidget plain;
    plain.setFixedSize(LargeView()->size());
    plain.setAutoFillBackground(true);
    plain.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        plain.update();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_LargePlainWidgetRepaint)->UseRealTime();

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
            {"BM_PreviewFollowsThreshold", "import preview following a threshold change", "BM_PlainWidgetRepaint",
             "us"},
            {"BM_LargeStrokeRepaint", "800 x 480: stroke step with repaint", "BM_LargePlainWidgetRepaint", "us"},
            {"BM_LargeFillRepaint", "800 x 480: fill of the whole picture with repaint", "BM_LargePlainWidgetRepaint",
             "us"},
            {"BM_LargeUndoRepaint", "800 x 480: undo of a fill with repaint", "BM_LargePlainWidgetRepaint", "us"},
            {"BM_LargeZoomStepRepaint", "800 x 480: zoom step with repaint", "BM_LargePlainWidgetRepaint", "us"},
            {"BM_ImportJpegWithCli", "import of a 24-megapixel JPEG", "BM_ImageMagickResize", "ms"},
            {"BM_ImportGifWithCli", "import of a 100-frame GIF", "BM_ImageMagickGif", "ms"},
        });
}
