// The numbers the page shares with the window, handed to it whole: the
// window's geometry in twips, the grid's size, the import's defaults, the
// serial rate and timeout, how soon a long task shows its progress, and the
// endings of the font files Open takes.
#include "core/convert/PixelsToDots.h"
#include "core/model/Layout.h"
#include "core/model/PictureSize.h"
#include "core/session/GlyphSet.h"
#include "core/session/SerialRates.h"
#include "core/session/WindowLayout.h"

#include <emscripten/bind.h>

#include <string>
#include <string_view>

namespace {

using emscripten::val;
using namespace tessaldo;

// {left, top, width, height} in twips.
val BoxValue(const TwipsBox &box)
{
    val value = val::object();
    value.set("left", box.left);
    value.set("top", box.top);
    value.set("width", box.width);
    value.set("height", box.height);
    return value;
}

val WindowValue()
{
    val window = val::object();
    window.set("width", kWindowWidthTwips);
    window.set("height", kWindowHeightTwips);
    window.set("toolbar", BoxValue(kToolbarBox));
    window.set("typeFrame", BoxValue(kTypeFrameBox));
    val options = val::array();
    for (const TwipsBox &box : kTypeOptionBoxes)
        options.call<void>("push", BoxValue(box));
    window.set("typeOptions", options);
    window.set("dotFrame", BoxValue(kDotFrameBox));
    window.set("codeBox", BoxValue(kCodeBoxBox));
    window.set("copyButton", BoxValue(kCopyButtonBox));
    window.set("gridLeft", kGridLeftTwips);
    window.set("gridTop", kGridTopTwips);
    return window;
}

// The options an import starts from, named as the page's choices are.
val ImportDefaultsValue()
{
    const DotOptions defaults{};
    val options = val::object();
    options.set("fit", std::string(FitName(defaults.fit)));
    options.set("threshold", defaults.threshold);
    options.set("dither", std::string(DitherName(defaults.dither)));
    options.set("invert", defaults.invert);
    return options;
}

val Constants()
{
    val constants = val::object();
    constants.set("twipsPerPixel", kTwipsPerPixel);
    constants.set("window", WindowValue());
    constants.set("gridSide", kGridSide);
    constants.set("dotCount", kDotCount);
    constants.set("largestSide", kLargestSide);
    constants.set("importDefaults", ImportDefaultsValue());
    constants.set("progressAfterMs", kProgressAfterMs);
    constants.set("defaultBaud", kDefaultBaud);
    constants.set("writeTimeoutMs", kWriteTimeoutMs);
    val fontEndings = val::array();
    for (const std::string_view ending : kFontFileEndings)
        fontEndings.call<void>("push", std::string(ending));
    constants.set("fontFileEndings", fontEndings);
    return constants;
}

} // namespace

EMSCRIPTEN_BINDINGS(constants)
{
    emscripten::function("constants", &Constants);
}
