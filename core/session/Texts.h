#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// Every caption, message and note the window and the page both show, each
// under an id and a key, so that a translation replaces one table. A text
// whose parts vary holds %1, %2, ... where they go, and is filled whole here.
namespace tessaldo {

enum class TextId {
    ProgramTitle,
    Author,
    Licence,
    Manual,
    Copy,
    NoTextOnClipboard,
    RenameQuestion,
    LayoutChoiceTitle,
    LayoutQuestion,
    SetLayoutQuestion,
    DelayQuestion,
    Close,
    DotForDot,
    Usage,
    NameNeeded,
    Type0,
    Type1,
    SendToModule,
    PlayOnModule,
    RenamePicture,
    PictureDelay,
    InsertText,
    ImportImage,
    Play,
    Pause,
    Stop,
    FitLabel,
    FitContain,
    FitCover,
    FitStretch,
    ThresholdLabel,
    Threshold,
    ThresholdTip,
    DitheringLabel,
    DitherNone,
    DitherFloydSteinberg,
    DitherAtkinson,
    DitherBayer,
    Invert,
    PortLabel,
    BaudLabel,
    CodeStale,
    TextLabel,
    FontLabel,
    AlignmentLabel,
    PlacementLabel,
    OffsetLabel,
    ReplacePicture,
    OntoPicture,
    TextMoveTip,
    TextExample,
    CannotSendTo,
    SentBytes,
    PlayingOn,
    PictureGoesOut,
    CannotDraw,
    CannotImport,
    Importing,
    TurnInSet,
    OtherSize,
    SizeOutOfRange,
    SizeNotWhole,
    EnlargedTooFar,
    ScaleFactor,
    PasteTooLarge,
    PreviewReadAs,
    PreviewPlaced,
    SizePresetLabel,
    AnySize,
    WidthLabel,
    HeightLabel,
    CropOrExtend,
    ScaleUp,
    ScaleDown,
    PreviewColoursLabel,
    PbmFilter,
    XbmFilter,
    PicturesFilter,
    CommandKeyTip,
    ZoomPercent,
    SizedDotForDot,
    PreviewNotForModule,
    PointerCell,
    CanvasCellSet,
    CanvasCellClear,
    LinkTooLong,
    DisplayTakesForm,
    UseDisplaysForm,
    CopiedArray,
    TypeOnlyAtModuleSize,
    AboutEverySize,
    FontUnnamedPicture,
    FontDrawnTwice,
    FontSizesDiffer,
    FontNoneChosen,
    FontNoPictures,
    FontManyGlyphs,
    FontNeedsFreeType,
    FontPictureNoGlyph,
    GlyphExists,
    AddGlyph,
    AddGlyphQuestion,
    GlyphsFromText,
    GlyphsFromTextQuestion,
    FontPixelSize,
    FontPixelSizeQuestion,
    SampleTextLabel,
    BdfFontFilter,
    U8g2FontFilter,
    GfxFontFilter,
    FontsFilter,
    U8g2ModeLabel,
    U8g2Proportional,
    U8g2CommonHeight,
    U8g2Monospace,
    FontTakenFromFirst,
    FontTextEmpty,
    FontSourceNoU8g2,
    FontSourceNoGfx,
    FontSourceNoFont,
    FontSourceGfxCutShort,
    FontSizeNotForBitmapFont,
    ProgramHeading,
};

struct TextEntry {
    TextId id;
    std::string_view key; // how the page asks for it
    std::string_view text;
};

std::string_view Text(TextId id);
std::span<const TextEntry> AllTexts();

// The text with its %1, %2, ... replaced by the parts in order.
std::string FilledText(std::string_view text, std::initializer_list<std::string_view> parts);
std::string FilledText(TextId id, std::initializer_list<std::string_view> parts);

// "Cannot send to "COM3": the port is busy.": why nothing reached the module on that port.
std::string CannotSendTo(std::string_view port, std::string_view reason);

} // namespace tessaldo
