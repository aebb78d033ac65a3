// Rules both faces follow, as the page asks them: the grid's gesture, the canvas's zoom, the
// endings of the files a set is read from and how Open Set reads them; what
// the user reads of inserted text's width.
#include "core/convert/TextPlacement.h"
#include "core/model/PictureName.h"
#include "core/session/Canvas.h"
#include "core/session/GridGesture.h"
#include "core/session/Incoming.h"
#include "core/session/OpenSetPlan.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <array>
#include <string>
#include <vector>

using namespace tessaldo;
using emscripten::val;

namespace {

void PressGesture(GridGesture &gesture, int dot, double x, double y, int type)
{
    gesture.Press(dot, {x, y}, type == 1 ? LcdType::Row : LcdType::Column);
}

// `dots`: the picture as 256 characters, '1' for a set dot. Gives the dots to paint as an array.
val MoveGesture(GridGesture &gesture, int dot, double x, double y, const std::string &dots)
{
    DotGrid grid;
    for (int at = 0; at < kDotCount && at < static_cast<int>(dots.size()); ++at)
        grid.SetDot(at, dots[static_cast<std::size_t>(at)] == '1' ? DotState::Set : DotState::Clear);
    val painted = val::array();
    for (const int changed : gesture.Move(dot, {x, y}, grid))
        painted.call<void>("push", changed);
    return painted;
}

bool PaintsSet(const GridGesture &gesture)
{
    return gesture.PaintState() == DotState::Set;
}

// 'click', 'stroke' or '' for nothing.
std::string EndName(GridGesture::End end)
{
    switch (end) {
    case GridGesture::End::Click:
        return "click";
    case GridGesture::End::Stroke:
        return "stroke";
    case GridGesture::End::Nothing:
        break;
    }
    return "";
}

std::string ReleaseGesture(GridGesture &gesture, int dot)
{
    return EndName(gesture.Release(dot));
}

std::string CancelGesture(GridGesture &gesture)
{
    return EndName(gesture.Cancel());
}

std::string DrawingSuffix()
{
    return std::string(kDrawingSuffix);
}

// ".h" first, as a picker lists them.
val SourceSuffixes()
{
    val suffixes = val::array();
    for (const std::string_view suffix : SourceFileSuffixes())
        suffixes.call<void>("push", std::string(suffix));
    return suffixes;
}

// `files`: [{name, isImage}], the page's chosen files, none a folder. Gives
// {reader: 'drawings', 'image', 'source' or 'refused', refusal}.
val PlanOpenSetOf(const val &files)
{
    const auto count = files["length"].as<std::size_t>();
    std::vector<std::string> names;
    for (std::size_t at = 0; at < count; ++at)
        names.push_back(files[at]["name"].as<std::string>());
    std::vector<ChosenFile> chosen;
    for (std::size_t at = 0; at < count; ++at)
        chosen.push_back({names.at(at), false, files[at]["isImage"].as<bool>()});
    const OpenSetPlan plan = PlanOpenSet(chosen);
    static constexpr std::array<const char *, 5> kReaders{"drawings", "folder", "image", "source", "refused"};
    val answer = val::object();
    answer.set("reader", std::string(kReaders.at(static_cast<std::size_t>(plan.reader))));
    answer.set("refusal", plan.refusal);
    return answer;
}

// The largest whole cell at which a `width` x `height` picture fits `roomWidth` x `roomHeight` pixels.
int FitCell(int width, int height, int roomWidth, int roomHeight)
{
    return FitCellPixels({width, height}, roomWidth, roomHeight);
}

// The width of Insert Text's line on the picture being edited, width x height.
std::string TextWidthNoteAt(int width, bool cut, int pictureWidth, int pictureHeight)
{
    return TextWidthNote(width, cut, {pictureWidth, pictureHeight});
}

} // namespace

EMSCRIPTEN_BINDINGS(rules)
{
    emscripten::function("fitCellPixels", &FitCell);
    // The whole-pixel steps the page zooms through.
    emscripten::function("zoomedIn", emscripten::select_overload<int(int)>(&ZoomedIn));
    emscripten::function("zoomedOut", emscripten::select_overload<int(int)>(&ZoomedOut));
    emscripten::function("showsGridLines", &ShowsGridLines);
    emscripten::function("canvasPixels", &CanvasPixels);
    emscripten::function("planOpenSet", &PlanOpenSetOf);
    emscripten::function("drawingSuffix", &DrawingSuffix);
    emscripten::function("sourceFileSuffixes", &SourceSuffixes);
    emscripten::function("textWidthNote", &TextWidthNoteAt);
    emscripten::class_<GridGesture>("GridGesture")
        .constructor<double>()
        .function("press", &PressGesture)
        .function("isPressed", &GridGesture::IsPressed)
        .function("move", &MoveGesture)
        .function("paintsSet", &PaintsSet)
        .function("release", &ReleaseGesture)
        .function("cancel", &CancelGesture)
        .function("clickedDot", &GridGesture::ClickedDot);
}
