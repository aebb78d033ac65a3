#include "core/model/PictureName.h"

#include <algorithm>
#include <iterator>

namespace tessaldo {
namespace {

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

} // namespace

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

bool IsUsableName(std::string_view name)
{
    return !name.empty() && name.size() <= kMaxNameLength && !IsDigit(name.front())
           && std::all_of(name.begin(), name.end(), IsNameChar) && !IsReserved(name);
}

std::string DistinctName(const std::string &base, const std::function<bool(const std::string &)> &taken)
{
    std::string whole = base.substr(0, kMaxNameLength);
    if (!taken(whole))
        return whole;
    std::string stem = whole;
    if (const std::size_t cut = stem.find_last_not_of("0123456789");
        cut != std::string::npos && cut + 1 < stem.size() && stem[cut] == '_')
        stem.erase(cut);
    for (int number = 2;; ++number) {
        const std::string suffix = "_" + std::to_string(number);
        std::string name = stem.substr(0, kMaxNameLength - suffix.size()) + suffix;
        if (!taken(name))
            return name;
    }
}

std::string NameRuleBroken(std::string_view name)
{
    if (IsUsableName(name))
        return {};
    if (name.size() > kMaxNameLength)
        return "is longer than " + std::to_string(kMaxNameLength) + " characters";
    const auto isNameChar = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    };
    if (name.empty() || (name.front() >= '0' && name.front() <= '9')
        || !std::all_of(name.begin(), name.end(), isNameChar))
        return "is no C identifier: letters, digits and '_', not starting with a digit";
    return "is a keyword of C or C++";
}

std::size_t FrameDigits(std::size_t count)
{
    return std::max<std::size_t>(3, std::to_string(count == 0 ? 0 : count - 1).size());
}

std::string FrameNumberText(std::size_t index, std::size_t count)
{
    const std::size_t digits = FrameDigits(count);
    std::string number = std::to_string(index);
    number.insert(0, digits - std::min(digits, number.size()), '0');
    return number;
}

std::string DrawingFileName(std::string_view stem)
{
    return std::string(stem) + std::string(kDrawingSuffix);
}

std::string_view PictureFileSuffix(PictureSize size)
{
    return IsModuleSize(size) ? kDrawingSuffix : std::string_view(".pbm");
}

std::string PictureFileName(std::string_view stem, PictureSize size)
{
    return std::string(stem) + std::string(PictureFileSuffix(size));
}

namespace {

bool EndsInSuffix(std::string_view name, std::string_view suffix)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return name.size() >= suffix.size()
           && std::equal(suffix.begin(), suffix.end(), name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                         [&](char want, char got) { return lower(want) == lower(got); });
}

} // namespace

bool EndsInDrawingSuffix(std::string_view name)
{
    return EndsInSuffix(name, kDrawingSuffix);
}

std::string_view PictureFormatSuffix(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Drawing:
        return kDrawingSuffix;
    case PictureFormat::Pbm:
        return ".pbm";
    case PictureFormat::Xbm:
        return ".xbm";
    case PictureFormat::Png:
        return ".png";
    }
    return {};
}

std::optional<PictureFormat> PictureFormatOfName(std::string_view name)
{
    for (const PictureFormat format :
         {PictureFormat::Drawing, PictureFormat::Pbm, PictureFormat::Xbm, PictureFormat::Png}) {
        if (EndsInSuffix(name, PictureFormatSuffix(format)))
            return format;
    }
    return std::nullopt;
}

} // namespace tessaldo
