#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessaldo {

// The two module families. The value is what the drawing file stores, so the
// numbers are part of the file format.
enum class LcdType : std::int16_t {
    Column = 0, // HLCD112, HLCD114: dots 0..15 form the leftmost column
    Row = 1,    // HLCD154, HLCD168: dots 0..15 form the top row
};

inline constexpr int kLcdTypeCount = 2;

// The caption of the type's option button, naming the modules it serves.
inline constexpr std::string_view kColumnTypeCaption = "HLCD112, HLCD114";
inline constexpr std::string_view kRowTypeCaption = "HLCD154, HLCD168";
std::string_view LcdTypeCaption(LcdType type);

// "type 0 (HLCD112, HLCD114)": how a message names the type.
std::string LcdTypeName(LcdType type);

// The type with that stored value, or nothing for a value that names no type.
std::optional<LcdType> LcdTypeFromValue(double value);

constexpr std::int16_t LcdTypeValue(LcdType type)
{
    return static_cast<std::int16_t>(type);
}

} // namespace tessaldo
