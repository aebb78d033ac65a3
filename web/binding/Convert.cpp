#include "web/binding/Convert.h"

#include "core/model/BitLayout.h"

#include <cstdint>

using emscripten::val;

namespace tessaldo::page {

LcdType TypeOf(int type)
{
    return type == 1 ? LcdType::Row : LcdType::Column;
}

DotGrid GridFrom(int type, const std::string &dots)
{
    DotGrid grid;
    grid.SetLCDType(TypeOf(type));
    for (int dot = 0; dot < kDotCount && dot < static_cast<int>(dots.size()); ++dot)
        grid.SetDot(dot, dots[static_cast<std::size_t>(dot)] == '1' ? DotState::Set : DotState::Clear);
    return grid;
}

std::string DotsOf(const DotGrid::Dots &dots)
{
    std::string text(dots.size(), '0');
    for (std::size_t dot = 0; dot < dots.size(); ++dot)
        text[dot] = dots[dot] == DotState::Set ? '1' : '0';
    return text;
}

std::string BytesOf(const val &array)
{
    const std::vector<std::uint8_t> bytes = emscripten::convertJSArrayToNumberVector<std::uint8_t>(array);
    return {bytes.begin(), bytes.end()};
}

val Uint8Array(std::string_view bytes)
{
    val array = val::global("Uint8Array").new_(bytes.size());
    array.call<void>(
        "set", val(emscripten::typed_memory_view(bytes.size(), reinterpret_cast<const std::uint8_t *>(bytes.data()))));
    return array;
}

val PictureValue(const Picture &picture)
{
    val result = val::object();
    result.set("name", picture.name);
    result.set("delayMs", picture.delayMs);
    result.set("dots", DotsOf(picture.dots));
    result.set("width", picture.dots.Size().width);
    result.set("height", picture.dots.Size().height);
    return result;
}

Dots DotsFrom(const std::string &text, PictureSize size)
{
    Dots dots(size);
    for (std::size_t dot = 0; dot < dots.size() && dot < text.size(); ++dot)
        dots[dot] = text[dot] == '1' ? DotState::Set : DotState::Clear;
    return dots;
}

Picture PictureFrom(const val &value)
{
    const std::string dots = value["dots"].as<std::string>();
    // A picture that gives no size is the module's, as pictures crossed before they had sizes.
    const PictureSize size = value["width"].isNumber()
                                 ? PictureSize{value["width"].as<int>(), value["height"].as<int>()}
                                 : PictureSize{kGridSide, kGridSide};
    return {value["name"].as<std::string>(), value["delayMs"].as<int>(), DotsFrom(dots, size)};
}

std::optional<BitLayout> AnsweredLayout(const std::string &name)
{
    return name.empty() ? std::nullopt : BitLayoutFromName(name);
}

val ChoicesValue(const std::vector<LayoutChoice> &choices)
{
    val result = val::array();
    for (const LayoutChoice &choice : choices) {
        val entry = val::object();
        entry.set("name", LayoutChoiceName(choice));
        entry.set("layout", std::string(BitLayoutName(choice.layouts.front())));
        val pictures = val::array();
        for (const DotGrid::Dots &dots : choice.shown)
            pictures.call<void>("push", DotsOf(dots));
        entry.set("pictures", pictures);
        entry.set("width", choice.size.width);
        entry.set("height", choice.size.height);
        entry.set("size", PictureSizeText(choice.size));
        result.call<void>("push", entry);
    }
    return result;
}

} // namespace tessaldo::page
