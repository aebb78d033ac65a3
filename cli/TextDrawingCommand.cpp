#include "QtCommands.h"

#include "CommandShared.h"
#include "core/convert/GlyphNames.h"
#include "core/formats/DrawingFile.h"
#include "core/platform/FileIo.h"
#include "image/TextImage.h"

#include <ostream>

// text: characters of an installed font drawn as the module shows them.
namespace tessaldo {
namespace {

// "X,Y": whole dots right and down, each within the picture's width and height either way.
void ReadOffset(const std::string &value, PictureSize size, TextOptions &text)
{
    const std::size_t comma = value.find(',');
    try {
        if (comma == std::string::npos)
            throw UsageError("");
        text.offsetX = NumberValue("--offset", value.substr(0, comma), -size.width, size.width);
        text.offsetY = NumberValue("--offset", value.substr(comma + 1), -size.height, size.height);
    } catch (const UsageError &) {
        const auto range = [](int side) { return "from -" + std::to_string(side) + " to " + std::to_string(side); };
        throw UsageError("--offset must be X,Y, whole dots "
                         + (size.width == size.height
                                ? range(size.width)
                                : range(size.width) + " across and " + range(size.height) + " down")
                         + ", not '" + value + "'");
    }
}

// --size gives the font's pixel size as a number (12) and the picture's size
// as WxH (128x64), once each: a value with an x is the picture's size, any
// other the font's. The one of that form, if given.
std::optional<std::string> SizeValue(const Arguments &arguments, bool pictureSize)
{
    std::optional<std::string> found;
    for (const std::string &value : arguments.Values("--size")) {
        if ((value.find_first_of("xX") != std::string::npos) != pictureSize)
            continue;
        if (found)
            throw UsageError("option '--size' is given twice");
        found = value;
    }
    return found;
}

// The size of the picture the text is drawn on: --size WxH's, or 16 x 16.
PictureSize TextPictureSize(const Arguments &arguments)
{
    const std::optional<std::string> value = SizeValue(arguments, true);
    return value ? PictureSizeValue("--size", *value) : kModuleSize;
}

TextOptions ReadTextOptions(const Arguments &arguments, PictureSize size)
{
    TextOptions text;
    text.invert = arguments.Has("--invert");
    text.threshold = NumberOption(arguments, "--threshold", text.threshold, 0, 255);
    if (const std::optional<std::string> pixels = SizeValue(arguments, false))
        text.pixelSize = NumberValue("--size", *pixels, 1, 256);
    if (const std::optional<std::string> family = arguments.Value("--font"))
        text.family = QString::fromStdString(*family);
    if (const std::optional<std::string> align = arguments.Value("--align")) {
        if (*align != "left" && *align != "center")
            throw UsageError("--align must be center or left, not '" + *align + "'");
        text.alignLeft = *align == "left";
    }
    if (const std::optional<std::string> offset = arguments.Value("--offset"))
        ReadOffset(*offset, size, text);
    text.onto = arguments.Has("--onto");
    return text;
}

int ListFonts(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectOperands({});
    if (arguments.options.size() > 1)
        throw UsageError("--list-fonts takes no other option");
    for (const QString &family : TextFamilies())
        streams.out << family.toStdString() << '\n';
    return kExitOk;
}

// The text as a message quotes it: control characters as U+XXXX, which a terminal would act on or hide.
std::string Shown(const QString &text)
{
    QString shown;
    for (const char32_t codePoint : text.toUcs4()) {
        if (QChar::category(codePoint) == QChar::Other_Control)
            shown += QString::fromStdString(CodePointName(codePoint));
        else
            shown += QString::fromUcs4(&codePoint, 1);
    }
    return shown.toStdString();
}

} // namespace

int Text(const Arguments &arguments, Streams &streams)
{
    if (arguments.Has("--list-fonts"))
        return ListFonts(arguments, streams);
    const std::optional<std::string> each = arguments.EachFolder("TEXT");
    const PictureSize size = TextPictureSize(arguments);
    DotGrid base;
    base.SetAllDots(Dots(size));
    if (const std::optional<std::string> onto = arguments.Value("--onto")) {
        if (const FileStatus loaded = LoadFresh(*onto, streams.in, base); !loaded)
            return Refused(streams.err, loaded.message());
        // The text goes onto the picture as it is: its size is FILE's.
        if (const std::optional<std::string> asked = SizeValue(arguments, true); asked && base.Size() != size)
            throw UsageError("--onto " + *onto + " is " + PictureSizeText(base.Size())
                             + ", and the text goes onto it at that size; leave out --size " + *asked);
    }
    const TextOptions text = ReadTextOptions(arguments, base.Size());
    ApplyTypeOption(arguments, base);
    // Drawn on the picture as the import draws an image: same threshold, same invert.
    const auto draw = [&](const QString &what, const std::string &shown, DotGrid &picture) {
        TextExtent extent;
        std::string problem;
        if (!PutText(picture, what, text, extent, problem))
            return Refused(streams.err, "Cannot draw \"" + shown + "\": " + problem + ".");
        if (extent.cut)
            streams.err << "The text \"" << shown << "\" " << CutNote(extent.width, picture.Size()) << ".\n";
        if (!extent.faded.empty())
            streams.err << FadedNote(extent.faded, text.pixelSize) << '\n';
        return int{kExitOk};
    };
    const QString line = QString::fromStdString(arguments.operands[1]);
    if (line.isEmpty())
        throw UsageError("TEXT is empty; give at least one character");
    if (!each) {
        ExpectPictureName(arguments, arguments.operands[2], kImageCommandFormats);
        DotGrid picture = base;
        if (const int drawn = draw(line, Shown(line), picture); drawn != kExitOk)
            return drawn;
        return WritePictureFile(picture, arguments.operands[2], streams);
    }
    // Every character is drawn and every file checked before the first is written.
    std::vector<FileToWrite> drawn;
    const std::vector<std::string> inputs(arguments.Value("--onto") ? 1 : 0, arguments.Value("--onto").value_or(""));
    for (const char32_t codePoint : line.toUcs4()) {
        const QString character = QString::fromUcs4(&codePoint, 1);
        DotGrid picture = base;
        if (const int status = draw(character, Shown(character), picture); status != kExitOk)
            return status;
        const std::filesystem::path file = std::filesystem::path(*each) / CharacterFileName(codePoint, picture.Size());
        if (const FileStatus writable = EachFileIsWritable(file, inputs); !writable)
            return Refused(streams.err, writable.message());
        drawn.push_back({file, PictureFileBytes(picture, file).value()});
    }
    std::error_code made;
    std::filesystem::create_directories(*each, made);
    const FileStatus saved = WriteFilesAtomically(drawn);
    return saved ? kExitOk : Refused(streams.err, saved.message());
}

} // namespace tessaldo
