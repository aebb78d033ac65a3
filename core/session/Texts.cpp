#include "core/session/Texts.h"

#include "core/model/LcdType.h"
#include "core/platform/FileIo.h"
#include "core/session/ProgramTexts.h"
#include "core/session/Version.h"

#include <algorithm>
#include <array>

namespace tessaldo {

namespace {

// In TextId's order, which Text relies on.
constexpr std::array kTexts = std::to_array<TextEntry>({
    {TextId::ProgramTitle, "title", kProgramTitle},
    {TextId::Author, "author", kAuthorLine},
    {TextId::Licence, "licence", kLicenceLine},
    {TextId::Manual, "manual", kManualLine},
    {TextId::Copy, "copy", kCopyCaption},
    {TextId::NoTextOnClipboard, "noText", kNoTextOnClipboard},
    {TextId::RenameQuestion, "renameQuestion", kRenameQuestion},
    {TextId::LayoutChoiceTitle, "layoutChoiceTitle", kLayoutChoiceTitle},
    {TextId::LayoutQuestion, "layoutQuestion", kLayoutQuestion},
    {TextId::SetLayoutQuestion, "setLayoutQuestion", kSetLayoutQuestion},
    {TextId::DelayQuestion, "delayQuestion", kDelayQuestion},
    {TextId::Close, "close", kCloseCaption},
    {TextId::DotForDot, "dotForDot", kDotForDotNote},
    {TextId::Usage, "usage", kUsageNote},
    {TextId::NameNeeded, "nameNeeded", kNameNeeded},
    {TextId::Type0, "type0", kColumnTypeCaption},
    {TextId::Type1, "type1", kRowTypeCaption},
    {TextId::SendToModule, "sendToModule", "Send to Module"},
    {TextId::PlayOnModule, "playOnModule", "Play on Module"},
    {TextId::RenamePicture, "renamePicture", "Rename Picture"},
    {TextId::PictureDelay, "pictureDelay", "Picture Delay"},
    {TextId::InsertText, "insertText", "Insert Text"},
    {TextId::ImportImage, "importImage", "Import Image"},
    {TextId::Play, "play", "Play"},
    {TextId::Pause, "pause", "Pause"},
    {TextId::Stop, "stop", "Stop"},
    {TextId::FitLabel, "fitLabel", "Fit:"},
    {TextId::FitContain, "fitContain", "Contain: all of the image, white margins"},
    {TextId::FitCover, "fitCover", "Cover: fill every cell, cut the rest"},
    {TextId::FitStretch, "fitStretch", "Stretch: fill every cell, change the aspect"},
    {TextId::ThresholdLabel, "thresholdLabel", "Threshold:"},
    {TextId::Threshold, "threshold", "Threshold"},
    {TextId::ThresholdTip, "thresholdTip", "A cell darker than this is set (0 to 255)"},
    {TextId::DitheringLabel, "ditheringLabel", "Dithering:"},
    {TextId::DitherNone, "ditherNone", "None"},
    {TextId::DitherFloydSteinberg, "ditherFloydSteinberg", "Floyd-Steinberg"},
    {TextId::DitherAtkinson, "ditherAtkinson", "Atkinson"},
    {TextId::DitherBayer, "ditherBayer", "Bayer 4 x 4"},
    {TextId::Invert, "invert", "Invert"},
    {TextId::PortLabel, "portLabel", "Port:"},
    {TextId::BaudLabel, "baudLabel", "Baud rate:"},
    {TextId::CodeStale, "codeStale", "The picture has changed since Run"},
    {TextId::TextLabel, "textLabel", "Text:"},
    {TextId::FontLabel, "fontLabel", "Font:"},
    {TextId::AlignmentLabel, "alignmentLabel", "Alignment:"},
    {TextId::PlacementLabel, "placementLabel", "Placement:"},
    {TextId::OffsetLabel, "offsetLabel", "Offset (dots):"},
    {TextId::ReplacePicture, "replacePicture", "Replace the picture"},
    {TextId::OntoPicture, "ontoPicture", "Onto the picture"},
    {TextId::TextMoveTip, "textMoveTip", "Arrow keys move the text by one dot"},
    {TextId::TextExample, "textExample", "가, 한, 温, A1 ..."},
    {TextId::CannotSendTo, "cannotSendTo", "Cannot send to \"%1\": %2."},
    {TextId::SentBytes, "sentBytes", "Sent %1 bytes to %2 at %3 baud."},
    {TextId::PlayingOn, "playingOn", "Playing on %1 at %2 baud."},
    {TextId::PictureGoesOut, "pictureGoesOut",
     "The picture goes out as %1 bytes, 8 data bits, no parity, one stop bit, no flow control."},
    {TextId::CannotDraw, "cannotDraw", "Cannot draw this: %1."},
    {TextId::CannotImport, "cannotImport", "Cannot import \"%1\": %2."},
    {TextId::Importing, "importing", "Importing \"%1\"…"},
    {TextId::TurnInSet, "turnInSet",
     "A %1 picture cannot turn within a set, whose pictures share one size, unless the set is resized to a square "
     "first."},
    {TextId::OtherSize, "otherSize",
     "A %1 picture cannot join this set, whose pictures are all %2; resize one or the other first."},
    {TextId::SizeOutOfRange, "sizeOutOfRange", "A picture is 1 to %1 dots wide and high, so it cannot be %2."},
    {TextId::SizeNotWhole, "sizeNotWhole",
     "A picture's width and height are each a whole number of dots from 1 to %1."},
    {TextId::EnlargedTooFar, "enlargedTooFar",
     "Enlarged %1 times, the %2 pictures would be wider or higher than %3 dots."},
    {TextId::ScaleFactor, "scaleFactor", "A picture is scaled by a whole factor of 1 or more, not %1."},
    {TextId::PasteTooLarge, "pasteTooLarge",
     "Cannot paste a %1 picture into a %2 one; make the picture larger with Picture Size first."},
    {TextId::PreviewReadAs, "previewReadAs",
     "The %1 display takes its frame buffer in %2, so it shows the bytes of the %3 array as they are here."},
    {TextId::PreviewPlaced, "previewPlaced", "The picture is %1 and the display %2; it is shown at the top left."},
    {TextId::SizePresetLabel, "sizePresetLabel", "Display:"},
    {TextId::AnySize, "anySize", "Any size"},
    {TextId::WidthLabel, "widthLabel", "Width:"},
    {TextId::HeightLabel, "heightLabel", "Height:"},
    {TextId::CropOrExtend, "cropOrExtend", "Crop or extend, keeping the picture at:"},
    {TextId::ScaleUp, "scaleUp", "Scale up, each dot made this many dots each way:"},
    {TextId::ScaleDown, "scaleDown", "Scale down, this many dots each way made one:"},
    {TextId::PreviewColoursLabel, "previewColoursLabel", "Colours:"},
    {TextId::PbmFilter, "pbmFilter", "PBM Picture"},
    {TextId::XbmFilter, "xbmFilter", "X BitMap"},
    {TextId::PicturesFilter, "picturesFilter", "Pictures"},
    {TextId::CommandKeyTip, "commandKeyTip", "%1 (%2)"},
    {TextId::ZoomPercent, "zoomPercent", "Zoom %1%"},
    {TextId::SizedDotForDot, "sizedDotForDot",
     "A bitmap of the picture's size is taken dot for dot: fit, threshold, dithering and invert do not change it."},
    {TextId::PreviewNotForModule, "previewNotForModule",
     "The module's array cannot be shown on a display: the module shows %1 pictures and this one is %2."},
    {TextId::PointerCell, "pointerCell", "x %1, y %2"},
    {TextId::CanvasCellSet, "canvasCellSet", "x %1, y %2, set"},
    {TextId::CanvasCellClear, "canvasCellClear", "x %1, y %2, clear"},
    {TextId::LinkTooLong, "linkTooLong",
     "The link is %1 characters long, and mail and chat programs pass on no more than %2: save the picture as a "
     "file and send the file instead."},
    {TextId::DisplayTakesForm, "displayTakesForm", "The %1 takes the %2 form; the array here is %3."},
    {TextId::UseDisplaysForm, "useDisplaysForm", "Use %1"},
    {TextId::CopiedArray, "copiedArray", "Copied the %1 picture as %2: %3 bytes."},
    {TextId::TypeOnlyAtModuleSize, "typeOnlyAtModuleSize",
     "The LCD type places the dots of a %1 picture only, and this one is %2."},
    // Added under About's usage note, which speaks of the module's 16 x 16 only.
    {TextId::AboutEverySize, "aboutEverySize",
     "At any other size, up to 1024 x 1024 dots, Tessaldo draws for OLED, LCD and e-paper displays: it shows the "
     "picture as the display does and copies it as the array the display's library takes (XBM for u8g2, Adafruit "
     "GFX, SSD1306 pages or u8x8 tiles)."},
    {TextId::FontUnnamedPicture, "fontUnnamedPicture",
     "Cannot make the font: the picture %1 of %2 names no character; a glyph's picture is named U_XXXX, or its file "
     "U+XXXX.Lcd."},
    {TextId::FontDrawnTwice, "fontDrawnTwice", "Cannot make the font: %1 and %2 both draw %3."},
    {TextId::FontSizesDiffer, "fontSizesDiffer",
     "Cannot make the font: its glyphs share one size, but the picture %1 of %2 is %3 and %4 of %5 is %6."},
    {TextId::FontNoneChosen, "fontNoneChosen", "Cannot make the font: the glyphs chosen are none of the font's."},
    {TextId::FontNoPictures, "fontNoPictures", "none of its glyphs makes a picture"},
    {TextId::FontManyGlyphs, "fontManyGlyphs",
     "it holds %1 glyphs; --each FOLDER writes a drawing of each, an OUT ending in .h a header of them all"},
    {TextId::FontNeedsFreeType, "fontNeedsFreeType",
     "TrueType and OpenType fonts are drawn by the build of Tessaldo that has FreeType"},
    {TextId::FontPictureNoGlyph, "fontPictureNoGlyph",
     "Cannot save the font: the picture %1 is no glyph; name it by its character (U_XXXX), or add the glyph with Add "
     "Glyph…."},
    {TextId::GlyphExists, "glyphExists", "The font has a glyph for %1 already: the picture %2."},
    {TextId::AddGlyph, "addGlyph", "Add Glyph"},
    {TextId::AddGlyphQuestion, "addGlyphQuestion", "The character of the new glyph:"},
    {TextId::GlyphsFromText, "glyphsFromText", "Glyphs from Text"},
    {TextId::GlyphsFromTextQuestion, "glyphsFromTextQuestion", "Keep only the glyphs this text draws:"},
    {TextId::FontPixelSize, "fontPixelSize", "Font Size"},
    {TextId::FontPixelSizeQuestion, "fontPixelSizeQuestion", "The size in pixels to draw %1 at:"},
    {TextId::SampleTextLabel, "sampleTextLabel", "Sample:"},
    {TextId::BdfFontFilter, "bdfFontFilter", "BDF Font"},
    {TextId::U8g2FontFilter, "u8g2FontFilter", "u8g2 Font (C source)"},
    {TextId::GfxFontFilter, "gfxFontFilter", "Adafruit GFX Font (header)"},
    {TextId::FontsFilter, "fontsFilter", "Fonts"},
    {TextId::U8g2ModeLabel, "u8g2ModeLabel", "u8g2 build mode:"},
    {TextId::U8g2Proportional, "u8g2Proportional", "Proportional"},
    {TextId::U8g2CommonHeight, "u8g2CommonHeight", "Common height"},
    {TextId::U8g2Monospace, "u8g2Monospace", "Monospace"},
    {TextId::FontTakenFromFirst, "fontTakenFromFirst",
     "Note: later sources also have %1 of the characters chosen; each was taken from the first source that has it."},
    {TextId::FontTextEmpty, "fontTextEmpty", "Cannot make the font: the text is empty, so it chooses no glyphs."},
    {TextId::FontSourceNoU8g2, "fontSourceNoU8g2",
     "Cannot make the font: %1 holds no u8g2 font (an array marked U8G2_FONT_SECTION) and no glyph pictures."},
    {TextId::FontSourceNoGfx, "fontSourceNoGfx",
     "Cannot make the font: %1 holds no GFXfont (a bitmap array, a GFXglyph table and the GFXfont) and no glyph "
     "pictures."},
    {TextId::FontSourceNoFont, "fontSourceNoFont",
     "Cannot make the font: %1 holds no u8g2 font (an array marked U8G2_FONT_SECTION), no GFXfont and no glyph "
     "pictures."},
    {TextId::FontSourceGfxCutShort, "fontSourceGfxCutShort",
     "Cannot make the font: %1 is a GFX header cut short, with a GFXglyph table but not the GFXfont that follows "
     "it."},
    {TextId::FontSizeNotForBitmapFont, "fontSizeNotForBitmapFont",
     "--size applies to images and to TrueType and OpenType fonts, as their pixel size; a BDF, u8g2 or GFX font's "
     "glyphs are taken dot for dot"},
    {TextId::ProgramHeading, "programHeading",
     "16 x 16 pictures for serial graphic LCD modules, and pictures of any size for OLED, LCD and e-paper displays, "
     "with their C code"},
});

constexpr bool InIdOrder()
{
    for (std::size_t index = 0; index < kTexts.size(); ++index)
        if (static_cast<std::size_t>(kTexts[index].id) != index)
            return false;
    return true;
}
static_assert(InIdOrder(), "the table lists the texts in TextId's order");

} // namespace

std::string_view Text(TextId id)
{
    return kTexts[static_cast<std::size_t>(id)].text;
}

std::span<const TextEntry> AllTexts()
{
    return kTexts;
}

std::string FilledText(std::string_view text, std::initializer_list<std::string_view> parts)
{
    std::string filled;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const std::size_t part =
            at + 1 < text.size() && text[at] == '%' ? std::size_t(text[at + 1] - '1') : parts.size();
        if (part < parts.size()) {
            filled += parts.begin()[part];
            ++at;
        } else {
            filled += text[at];
        }
    }
    return filled;
}

std::string FilledText(TextId id, std::initializer_list<std::string_view> parts)
{
    return FilledText(Text(id), parts);
}

std::string CannotSendTo(std::string_view port, std::string_view reason)
{
    return FilledText(TextId::CannotSendTo, {port, reason});
}

} // namespace tessaldo
