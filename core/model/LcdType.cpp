#include "core/model/LcdType.h"

namespace tessaldo {

std::string_view LcdTypeCaption(LcdType type)
{
    return type == LcdType::Column ? kColumnTypeCaption : kRowTypeCaption;
}

std::string LcdTypeName(LcdType type)
{
    return "type " + std::to_string(LcdTypeValue(type)) + " (" + std::string(LcdTypeCaption(type)) + ")";
}

std::optional<LcdType> LcdTypeFromValue(double value)
{
    if (value == 0)
        return LcdType::Column;
    if (value == 1)
        return LcdType::Row;
    return std::nullopt;
}

} // namespace tessaldo
