// The displays the page offers a picture's size from and shows the preview
// on, the colours their panels come in, and the places a resized picture is
// kept at, as the core lists them, and a typed size read as the core reads it.
#include "core/model/Displays.h"
#include "core/model/Resize.h"
#include "core/session/EditSession.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <string>

namespace {

using emscripten::val;
using namespace tessaldo;

// [{name, width, height, pitchMm, colours}], smallest first; the colours an index into panelColours().
val DisplaysValue()
{
    val list = val::array();
    for (const Display &display : Displays()) {
        val entry = val::object();
        entry.set("name", std::string(display.name));
        entry.set("width", display.size.width);
        entry.set("height", display.size.height);
        entry.set("pitchMm", display.pitchMm);
        entry.set("colours", static_cast<int>(std::find(kPanelColours.begin(), kPanelColours.end(), display.colours)
                                              - kPanelColours.begin()));
        list.call<void>("push", entry);
    }
    return list;
}

// The colours' names, in the order the preview's choice takes them.
val PanelColoursValue()
{
    val list = val::array();
    for (const PanelColours colours : kPanelColours)
        list.call<void>("push", std::string(PanelColoursName(colours)));
    return list;
}

// The nine anchors' names, row by row from the top left, as AnchorFromName reads them.
val AnchorsValue()
{
    val list = val::array();
    for (int anchor = 0; anchor <= static_cast<int>(Anchor::BottomRight); ++anchor)
        list.call<void>("push", std::string(AnchorName(static_cast<Anchor>(anchor))));
    return list;
}

// The size typed in New Picture… or Picture Size…: {width, height, problem}, the problem '' for a size.
val TypedSizeValue(const std::string &width, const std::string &height)
{
    const Result<PictureSize> typed = TypedPictureSize(width, height);
    val result = val::object();
    result.set("width", typed ? typed.value().width : 0);
    result.set("height", typed ? typed.value().height : 0);
    result.set("problem", typed ? std::string() : typed.message());
    return result;
}

} // namespace

EMSCRIPTEN_BINDINGS(tessaldo_displays)
{
    emscripten::function("displays", &DisplaysValue);
    emscripten::function("panelColours", &PanelColoursValue);
    emscripten::function("anchors", &AnchorsValue);
    emscripten::function("typedPictureSize", &TypedSizeValue);
}
