#include "QtCommands.h"

#include "CommandShared.h"
#include "TextImage.h"
#include "core/convert/GlyphNames.h"
#include "core/formats/DrawingFile.h"
#include "core/platform/FileIo.h"

#include <ostream>

// text: characters of an installed font drawn as the module shows them.
namespace tessaldo {
namespace {

// "X,Y": whole dots right and down, each within the picture's width either way.
void ReadOffset(const std::string &value, TextOptions &text)
{
    const std::size_t comma = value.find(',');
    try {
        if (comma == std::string::npos)
            throw UsageError("");
        text.offsetX = NumberValue("--offset", value.substr(0, comma), -kGridSide, kGridSide);
        text.offsetY = NumberValue("--offset", value.substr(comma + 1), -kGridSide, kGridSide);
    } catch (const UsageError &) {
        throw UsageError("--offset must be X,Y, whole dots from -16 to 16, not '" + value + "'");
    }
}

TextOptions ReadTextOptions(const Arguments &arguments)
{
    TextOptions text;
    text.invert = arguments.Has("--invert");
    text.threshold = NumberOption(arguments, "--threshold", text.threshold, 0, 255);
    text.pixelSize = NumberOption(arguments, "--size", text.pixelSize, 1, 256);
    if (const std::optional<std::string> family = arguments.Value("--font"))
        text.family = QString::fromStdString(*family);
    if (const std::optional<std::string> align = arguments.Value("--align")) {
        if (*align != "left" && *align != "center")
            throw UsageError("--align must be center or left, not '" + *align + "'");
        text.alignLeft = *align == "left";
    }
    if (const std::optional<std::string> offset = arguments.Value("--offset"))
        ReadOffset(*offset, text);
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
    const TextOptions text = ReadTextOptions(arguments);
    DotGrid base;
    if (const std::optional<std::string> onto = arguments.Value("--onto")) {
        if (const FileStatus loaded = LoadFresh(*onto, streams.in, base); !loaded)
            return Refused(streams.err, loaded.message());
    }
    ApplyTypeOption(arguments, base);
    // Drawn on the picture as the import draws an image: same threshold, same invert.
    const auto draw = [&](const QString &what, const std::string &shown, DotGrid &picture) {
        TextExtent extent;
        std::string problem;
        if (!PutText(picture, what, text, extent, problem))
            return Refused(streams.err, "Cannot draw \"" + shown + "\": " + problem + ".");
        if (extent.cut)
            streams.err << "The text \"" << shown << "\" " << CutNote(extent.width) << ".\n";
        return int{kExitOk};
    };
    const QString line = QString::fromStdString(arguments.operands[1]);
    if (line.isEmpty())
        throw UsageError("TEXT is empty; give at least one character");
    if (!each) {
        DotGrid picture = base;
        if (const int drawn = draw(line, Shown(line), picture); drawn != kExitOk)
            return drawn;
        return WriteDrawing(picture, arguments.operands[2], streams.out, streams.err);
    }
    // Every character is drawn and every file checked before the first is written.
    std::vector<FileToWrite> drawn;
    const std::vector<std::string> inputs(arguments.Value("--onto") ? 1 : 0, arguments.Value("--onto").value_or(""));
    for (const char32_t codePoint : line.toUcs4()) {
        const QString character = QString::fromUcs4(&codePoint, 1);
        DotGrid picture = base;
        if (const int status = draw(character, Shown(character), picture); status != kExitOk)
            return status;
        const std::filesystem::path file = std::filesystem::path(*each) / CharacterFileName(codePoint);
        if (const FileStatus writable = EachFileIsWritable(file, inputs); !writable)
            return Refused(streams.err, writable.message());
        drawn.push_back({file, FormatDrawing(picture)});
    }
    std::error_code made;
    std::filesystem::create_directories(*each, made);
    const FileStatus saved = WriteFilesAtomically(drawn);
    return saved ? kExitOk : Refused(streams.err, saved.message());
}

} // namespace tessaldo
