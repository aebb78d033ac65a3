// The session's memory: ten thousand pencil strokes on an 800 x 480 picture,
// drawn through the grid's gesture as the faces draw them, against the
// process before its first stroke. Fails above 64 MB, unless --quick.
#include "core/platform/PlatformFile.h"
#include "core/session/EditSession.h"
#include "core/session/GridGesture.h"

#include <cstdio>
#include <cstring>
#include <random>

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
    return 0;
}
