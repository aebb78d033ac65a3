#pragma once

#include "core/session/Version.h"

#include <string>
#include <string_view>

// The texts both faces of the program show, the window and the page, in UTF-8.
namespace tessaldo {

inline constexpr std::string_view kAuthorLine = "by the Tessaldo developers";
// Under the author in About, where contact addresses stood: what is true of
// every copy, its licence (LICENSE) and where its manual is, in the room of an address.
inline constexpr std::string_view kLicenceLine = "MIT License";
inline constexpr std::string_view kManualLine = "Manual: man tessaldo";
inline constexpr std::string_view kCopyCaption = "클립보드로 복사 (Ctl+C)";
inline constexpr std::string_view kNoTextOnClipboard = "클립보드에 텍스트가 없습니다.";
// Said instead of copying an empty code box, by the copy button and its key alike.
inline constexpr std::string_view kEmptyCodeBoxNote =
    "The code box is empty: press Run for the picture's code, then copy it. The clipboard keeps what it held.";
inline constexpr std::string_view kRenameQuestion = "The picture's name, as its code calls it:";
inline constexpr std::string_view kDelayQuestion = "How long the picture stays, in milliseconds:";
// Under Import Image's preview, with its options disabled, for an XBM or PBM file of 16 x 16 pixels.
inline constexpr std::string_view kDotForDotNote =
    "A 16 x 16 bitmap is taken dot for dot: fit, threshold, dithering and invert do not change it.";
inline constexpr std::string_view kLayoutChoiceTitle = "Which Layout?";
inline constexpr std::string_view kLayoutQuestion =
    "The values do not say which display's layout they are in. Pick the picture they are meant as; the likeliest "
    "comes first.";
// The same question for a set's arrays, answered once for all of them.
inline constexpr std::string_view kSetLayoutQuestion =
    "The arrays do not say which display's layout they are in. Pick how they are all meant, shown by the first "
    "pictures; the likeliest comes first.";
inline constexpr std::string_view kCloseCaption = "닫기";
// Asked before unsaved work is closed or replaced.
inline constexpr std::string_view kSavePictureQuestion = "Save changes to the picture?";
inline constexpr std::string_view kSaveSetQuestion = "Save changes to the set?";

// The title that names the file being edited, with Qt's "[*]" where an
// unsaved change is marked: "bell.Lcd[*] - Tessaldo 1.1", or the program's
// title alone while no file is named.
inline std::string TitleNaming(std::string_view fileName)
{
    if (fileName.empty())
        return std::string(kProgramTitle) + "[*]";
    return std::string(fileName) + "[*] - " + std::string(kProgramTitle);
}

// That title as shown: "[*]" becomes "*" while there are unsaved changes and goes otherwise, as Qt shows it.
inline std::string ShownTitle(std::string_view fileName, bool unsaved)
{
    std::string title = TitleNaming(fileName);
    title.replace(title.find("[*]"), 3, unsaved ? "*" : "");
    return title;
}
inline constexpr std::string_view kUsageNote =
    "Tessaldo는 시리얼 그래픽 LCD에 쓸 이미지를 만드는 시간을 줄여 줍니다. "
    "사용하는 LCD 종류를 고르고 그림을 그린 뒤 \"Run\"을 누르면 C 소스가 만들어지며, "
    "그대로 복사해서 쓸 수 있습니다.\n"
    "\n"
    "만들어지는 코드는 CCS C 컴파일러와 모듈 제조사의 LCD 모듈에 맞춘 것입니다. "
    "앞으로 더 많은 기능이 추가될 예정입니다.\n"
    "\n"
    "버전 1.1에서 바뀐 점\n"
    "- 버전 1.0은 HLCD112, HLCD114만 지원했으나, 버전 1.1은 HLCD154, HLCD168도 지원합니다.\n"
    "- 저장한 파일 이름에 확장자 lcd가 두 번 붙던 오류를 고쳤습니다.\n"
    "\n"
    "이전 버전에서 만든 그림 파일도 그대로 열 수 있습니다.";

} // namespace tessaldo
