// The catalogue of texts, handed to the page whole, and the filling of the
// texts whose parts vary, so that the page words its sentences as the window.
#include "core/session/Texts.h"

#include <emscripten/bind.h>

#include <string>

namespace {

using emscripten::val;
using namespace tessaldo;

val TextTable()
{
    val texts = val::object();
    for (const TextEntry &entry : AllTexts())
        texts.set(std::string(entry.key), std::string(entry.text));
    return texts;
}

// parts: the page's array of strings, in the order of %1, %2, %3.
std::string FillText(const std::string &text, const val &parts)
{
    const auto strings = emscripten::vecFromJSArray<std::string>(parts);
    const auto part = [&strings](std::size_t index) -> std::string_view {
        return index < strings.size() ? std::string_view(strings[index]) : std::string_view();
    };
    return FilledText(text, {part(0), part(1), part(2)});
}

} // namespace

EMSCRIPTEN_BINDINGS(texts)
{
    emscripten::function("texts", &TextTable);
    emscripten::function("fillText", &FillText);
}
