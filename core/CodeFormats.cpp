#include "CodeFormats.h"

#include "BitLayout.h"
#include "CodeGenerator.h"

#include <algorithm>
#include <iterator>
#include <span>

namespace tessaldo {
namespace {

constexpr int kBytesPerLine = 8;

constexpr std::array<std::string_view, 6> kFormatNames{"ccs", "c", "raw", "xbm", "gfx", "pages"};

// Keywords of C (up to C23) and C++ (up to C++20), with the alternative
// tokens; `main` too, which compilers warn about as an object's name.
// clang-format off
constexpr std::string_view kReserved[] = {
    "_Alignas", "_Alignof", "_Atomic", "_BitInt", "_Bool", "_Complex", "_Decimal128", "_Decimal32", "_Decimal64",
    "_Generic", "_Imaginary", "_Noreturn", "_Pragma", "_Static_assert", "_Thread_local", "alignas", "alignof", "and",
    "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break", "case", "catch", "char", "char16_t", "char32_t",
    "char8_t", "class", "co_await", "co_return", "co_yield", "compl", "concept", "const", "const_cast", "consteval",
    "constexpr", "constinit", "continue", "decltype", "default", "delete", "do", "double", "dynamic_cast", "else",
    "enum", "explicit", "export", "extern", "false", "float", "for", "friend", "goto", "if", "inline",
    "int", "long", "main", "mutable", "namespace", "new", "noexcept", "not", "not_eq", "nullptr", "operator", "or",
    "or_eq", "private", "protected", "public", "register", "reinterpret_cast", "requires", "restrict", "return",
    "short", "signed", "sizeof", "static", "static_assert", "static_cast", "struct", "switch", "template", "this",
    "thread_local", "throw", "true", "try", "typedef", "typeid", "typename", "typeof", "typeof_unqual", "union",
    "unsigned", "using", "virtual", "void", "volatile", "wchar_t", "while", "xor", "xor_eq",
};
// clang-format on

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsReserved(std::string_view name)
{
    return std::find(std::begin(kReserved), std::end(kReserved), name) != std::end(kReserved);
}

// Text that may stand inside a C comment: printable ASCII, and never the end of the comment.
std::string CommentSafe(std::string_view text)
{
    std::string safe;
    for (const char c : text) {
        const bool printable = c >= ' ' && c <= '~';
        if (c == '/' && !safe.empty() && safe.back() == '*')
            safe += ' ';
        safe += printable ? c : '?';
    }
    return safe;
}

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

// A set of a thousand pictures is 33,000 of these: no formatted printing.
void AppendHex(std::string &text, unsigned byte, std::string_view digits = kHexDigits)
{
    text += "0x";
    text += digits[(byte >> 4) & 0xF];
    text += digits[byte & 0xF];
}

// `bytes` `perLine` to a line, each line indented, a comma after every byte but the last.
void AppendLines(std::string &text, std::span<const std::uint8_t> bytes, const std::string &indent,
                 std::size_t perLine = kBytesPerLine, std::string_view digits = kHexDigits)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 0)
            text += indent;
        else if (i % perLine == 0)
            (text += ",\n") += indent;
        else
            text += ", ";
        AppendHex(text, bytes[i], digits);
    }
}

// "NAME, from FILE", what each array's comment begins with.
std::string Origin(const NamedPicture &picture)
{
    const std::string from = picture.source.empty() ? "standard input" : CommentSafe(picture.source);
    return CommentSafe(picture.name) + ", from " + from;
}

// Adafruit GFX's drawBitmap reads the bytes from flash with pgm_read_byte on
// AVR, so they must be put there; elsewhere, a plain compiler included,
// PROGMEM means nothing and is defined away.
std::string GfxArray(const NamedPicture &picture)
{
    const std::string &name = picture.name;
    const std::string side = " " + std::to_string(kGridSide) + "\n";
    return "/* " + Origin(picture) + ": 16 x 16 dots for Adafruit GFX,\n   display.drawBitmap(x, y, " + name + ", "
           + name + "_WIDTH, " + name
           + "_HEIGHT, color);\n"
             "   rows top to bottom, two bytes a row, the leftmost dot in bit 7. On AVR\n"
             "   outside Arduino, include <avr/pgmspace.h> first. */\n"
           + kProgmemWherever + "#define " + name + "_WIDTH" + side + "#define " + name + "_HEIGHT" + side
           + "static const unsigned char PROGMEM " + name + "[" + std::to_string(kBlockCount) + "] = {\n"
           + LayoutByteLines(picture.grid, BitLayout::Rows, "    ") + "\n};\n";
}

std::string PagesArray(const NamedPicture &picture)
{
    return "/* " + Origin(picture)
           + ": 16 x 16 dots for SSD1306, SH1106,\n"
             "   ST7565 and PCD8544 displays, page by page: bytes 0 to 15 the top eight\n"
             "   rows, 16 to 31 the bottom eight, each byte a column, left to right, its\n"
             "   top dot in bit 0. */\n"
             "static const unsigned char "
           + picture.name + "[" + std::to_string(kBlockCount) + "] = {\n"
           + LayoutByteLines(picture.grid, BitLayout::Pages, "    ") + "\n};\n";
}

} // namespace

std::string_view CodeFormatName(CodeFormat format)
{
    return kFormatNames.at(static_cast<std::size_t>(format));
}

std::optional<CodeFormat> CodeFormatFromName(std::string_view name)
{
    const auto found = std::find(kFormatNames.begin(), kFormatNames.end(), name);
    if (found == kFormatNames.end())
        return std::nullopt;
    return static_cast<CodeFormat>(found - kFormatNames.begin());
}

std::optional<CodeFormat> ArrayFormFromName(std::string_view name)
{
    const std::optional<CodeFormat> format = CodeFormatFromName(name);
    if (!format || std::find(kArrayForms.begin(), kArrayForms.end(), *format) == kArrayForms.end())
        return std::nullopt;
    return format;
}

bool IsUsableName(std::string_view name)
{
    return !name.empty() && name.size() <= kMaxNameLength && !IsDigit(name.front())
           && std::all_of(name.begin(), name.end(), IsNameChar) && !IsReserved(name);
}

std::string NameFromFileName(const std::filesystem::path &file)
{
    const std::u8string stem = file.stem().u8string();
    std::string name;
    bool inRun = false;
    for (const char8_t c : stem) {
        const bool keep = IsNameChar(static_cast<char>(c));
        if (keep)
            name += static_cast<char>(c);
        else if (!inRun)
            name += '\x01'; // stands for a '_' this rule made, which may go at either end
        inRun = !keep;
    }
    if (!name.empty() && name.front() == '\x01')
        name.erase(0, 1);
    if (!name.empty() && name.back() == '\x01')
        name.pop_back();
    std::replace(name.begin(), name.end(), '\x01', '_');
    if (name.empty())
        return "picture";
    if (IsDigit(name.front()) || IsReserved(name))
        name.insert(0, "lcd_");
    name.resize(std::min(name.size(), kMaxNameLength));
    return name;
}

std::string LowerCase(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return name;
}

std::string IncludeGuard(std::string_view source)
{
    std::string guard;
    for (const char c : source)
        guard += IsNameChar(c) ? static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c) : '_';
    guard.erase(0, guard.find_first_not_of('_')); // names that start with '_' and a capital are reserved
    if (guard.empty() || IsDigit(guard.front()))
        guard = "LCD_" + guard;
    return guard;
}

std::string ByteLines(const DotGrid &grid, const std::string &indent)
{
    const ModuleBytes bytes = PictureModuleBytes(grid);
    std::string text = indent;
    constexpr std::size_t kCharsPerByte = 6; // "0xA4, "
    constexpr std::size_t kLines = 5;
    text.reserve(std::size_t{kModuleByteCount} * kCharsPerByte + kLines * indent.size());
    AppendHex(text, bytes[0]);
    text += ",\n";
    AppendLines(text, std::span(bytes).subspan(1), indent);
    return text;
}

std::string LayoutByteLines(const DotGrid &grid, BitLayout layout, const std::string &indent)
{
    std::string text;
    AppendLines(text, LayoutBytes(grid, layout), indent);
    return text;
}

std::string CArray(const NamedPicture &picture)
{
    std::string text = "/* " + Origin(picture)
                       + ": the 33 bytes a serial graphic LCD module takes for one\n"
                         "   16 x 16 picture, the command 0xA4 and then the picture, byte k holding\n"
                         "   dots 8k to 8k+7 with the lowest dot in bit 0. */\n";
    return text + "static const unsigned char " + picture.name + "[" + std::to_string(kModuleByteCount) + "] = {\n"
           + ByteLines(picture.grid, "    ") + "\n};\n";
}

std::string XbmText(const DotGrid &grid, std::string_view name)
{
    // As X11's XWriteBitmapFile writes it, which every XBM reader takes:
    // lower-case hex, twelve to a line after three spaces.
    constexpr std::size_t kXbmBytesPerLine = 12;
    const std::string size = " " + std::to_string(kGridSide) + "\n";
    std::string text = "#define " + std::string(name) + "_width" + size + "#define " + std::string(name) + "_height"
                       + size + "static unsigned char " + std::string(name) + "_bits[] = {\n";
    AppendLines(text, LayoutBytes(grid, BitLayout::Xbm), "   ", kXbmBytesPerLine, "0123456789abcdef");
    return text + "};\n";
}

std::string PictureCode(const NamedPicture &picture, CodeFormat format)
{
    switch (format) {
    case CodeFormat::Ccs:
        return LCDtoCODE(picture.grid) + "\r\n";
    case CodeFormat::C:
        return CArray(picture);
    case CodeFormat::Raw: {
        const ModuleBytes bytes = PictureModuleBytes(picture.grid);
        return {bytes.begin(), bytes.end()};
    }
    case CodeFormat::Xbm:
        return XbmText(picture.grid, picture.name);
    case CodeFormat::Gfx:
        return GfxArray(picture);
    case CodeFormat::Pages:
        return PagesArray(picture);
    }
    return {};
}

std::string Guarded(const std::string &declarations, std::string_view command, std::string_view guardSource)
{
    const std::string guard = IncludeGuard(guardSource);
    return "/* Made by " + CommentSafe(command) + " */\n#ifndef " + guard + "\n#define " + guard + "\n" + declarations
           + "\n#endif /* " + guard + " */\n";
}

} // namespace tessaldo
