// The session's memory: ten thousand pencil strokes on an 800 x 480 picture,
// drawn through the grid's gesture as the faces draw them, against the
// process before its first stroke. Fails above 64 MB, unless --quick. Then
// the time the tools take there, each against copying the picture's dots
// once in the same run: a stroke across it, a filled ellipse dragged over
// all of it, a fill of all of it and an undo, and the Display Preview of it.
#include "core/platform/PlatformFile.h"
#include "core/session/DisplayPreview.h"
#include "core/session/EditSession.h"
#include "core/session/GridGesture.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <span>
#include <utility>

using namespace tessaldo;

namespace {

constexpr PictureSize kScreen{800, 480};
constexpr int kStrokes = 10000;
constexpr double kLimitMb = 64;
constexpr double kCell = 1; // the gesture's points are in cells

double Megabytes(std::size_t bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// A stroke as a hand draws one: a press, then a few drags of up to 40 cells
// each way. `shown` is the picture as the face shows it, kept up to date as
// a face keeps its own.
void DrawStroke(EditSession &session, DotGrid &shown, std::mt19937 &random)
{
    GridGesture gesture(kCell);
    const auto along = [&random](double at, int side) {
        const double next = at + static_cast<double>(static_cast<int>(random() % 81) - 40);
        return next < 0 ? 0 : next >= side ? side - 0.5 : next;
    };
    const auto dotAt = [&shown](PointF at) { return shown.DotAt({static_cast<int>(at.x), static_cast<int>(at.y)}); };
    PointF point{static_cast<double>(random() % kScreen.width) + 0.5,
                 static_cast<double>(random() % kScreen.height) + 0.5};
    gesture.Press(dotAt(point), point, shown.nLCDType());
    for (int drag = 0; drag < 4; ++drag) {
        point = {along(point.x, kScreen.width), along(point.y, kScreen.height)};
        const std::vector<int> painted = gesture.Move(dotAt(point), point, shown);
        session.Paint(painted, gesture.PaintState());
        for (const int dot : painted)
            shown.SetDot(dot, gesture.PaintState());
    }
    gesture.Release(dotAt(point));
    session.EndStroke();
}

// The shortest of a few runs of `work`, in milliseconds, `again` undoing it between them untimed.
double Milliseconds(const std::function<void()> &work, const std::function<void()> &again)
{
    constexpr int kRuns = 5;
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
        again();
    }
    return best;
}

// The tools' times on a clear picture of kScreen, printed against the baseline.
void TimeTools()
{
    EditSession session;
    session.TakeDots("New", Dots(kScreen));
    const DotGrid grid = session.Grid();
    Dots copy;
    const double baseline = Milliseconds([&copy, &session] { copy = session.Doc().Edited().dots; }, [] {});
    // A stroke from corner to corner, painted a few dots at a time as a pointer's moves bring them.
    std::vector<int> across;
    for (const Cell cell : LineCells({0, 0}, {kScreen.width - 1, kScreen.height - 1}))
        across.push_back(grid.DotAt(cell));
    const auto undo = [&session] { session.Undo(); };
    const double stroke = Milliseconds(
        [&session, &across] {
            for (std::size_t at = 0; at < across.size(); at += 8)
                session.Paint(std::span(across).subspan(at, std::min<std::size_t>(8, across.size() - at)),
                              DotState::Set);
            session.EndStroke();
        },
        undo);
    session.SetTool(Tool::Ellipse);
    session.SetFilledShapes(true);
    const double ellipse = Milliseconds(
        [&session] {
            session.DragShape({0, 0}, {kScreen.width - 1, kScreen.height - 1}, false);
            session.EndStroke();
        },
        undo);
    const double fill = Milliseconds([&session] { session.Fill({0, 0}); }, undo);
    session.Fill({0, 0});
    const double undone = Milliseconds(undo, [&session] { session.Fill({0, 0}); });
    // The preview of half a picture on the e-paper of its size, which takes rows: written in its own rows, then
    // in pages, which the display reads as rows, as a wrongly chosen form is shown.
    session.Undo();
    session.DragShape({0, 0}, {kScreen.width - 1, kScreen.height - 1}, false);
    session.EndStroke();
    const auto paper = std::ranges::find(Displays(), kScreen, &Display::size);
    const auto preview = [&session, &paper](CodeFormat form) {
        return Milliseconds([&session, &paper, form] { PreviewOnDisplay(session.Grid(), form, *paper); }, [] {});
    };
    const double rows = preview(CodeFormat::Gfx);
    const double pages = preview(CodeFormat::Pages);
    std::printf("baseline: copying the %s picture's dots once takes %.3f ms\n", PictureSizeText(kScreen).c_str(),
                baseline);
    const std::array<std::pair<const char *, double>, 6> figures{
        {{"a pencil stroke across the picture", stroke},
         {"a filled ellipse dragged over the whole picture", ellipse},
         {"a fill of the whole picture", fill},
         {"an undo of that fill", undone},
         {"the preview of a filled ellipse on the e-paper of its size, in its rows", rows},
         {"the same in pages, read as rows", pages}}};
    for (const auto &[what, ms] : figures)
        std::printf("%s: %.3f ms (%.1f x the baseline)\n", what, ms, ms / baseline);
}

} // namespace

int main(int argc, char **argv)
{
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    EditSession session;
    session.TakeDots("New", Dots(kScreen));
    const std::optional<std::size_t> before = PeakMemoryBytes();
    std::mt19937 random(1);
    DotGrid shown = session.Grid();
    for (int stroke = 0; stroke < kStrokes; ++stroke)
        DrawStroke(session, shown, random);
    if (shown != session.Grid()) {
        std::printf("The session's picture is not the one its strokes drew.\n");
        return 1;
    }
    const std::optional<std::size_t> peak = PeakMemoryBytes();
    if (!before || !peak) {
        std::printf("peak memory of %d strokes: this system does not tell a process its peak memory.\n", kStrokes);
        return quick ? 0 : 1;
    }
    const double mb = Megabytes(*peak);
    std::printf("peak memory after %d strokes on an %s picture: %.1f MB (%.2f x the session before its strokes, "
                "%.1f MB; its history keeps %.1f MB of %d steps; at most %.0f MB)\n",
                kStrokes, PictureSizeText(kScreen).c_str(), mb, mb / Megabytes(*before), Megabytes(*before),
                Megabytes(session.Steps().KeptBytes()), session.Steps().Count(), kLimitMb);
    if (!quick && mb > kLimitMb) {
        std::printf("The session held more than %.0f MB.\n", kLimitMb);
        return 1;
    }
    TimeTools();
    return 0;
}
