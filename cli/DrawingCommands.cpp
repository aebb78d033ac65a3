#include "TextCommands.h"

#include "CommandShared.h"
#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"
#include "core/model/Transform.h"

#include <ostream>

// code, show and edit: one drawing file in, its code, its dots or another drawing out.
namespace tessaldo {
namespace {

void PrintPicture(const DotGrid &grid, std::ostream &out)
{
    // The type says where a 16 x 16 picture's dots are shown; at any other size it plays no part.
    if (IsModuleSize(grid.Size()))
        out << "type " << LcdTypeValue(grid.nLCDType()) << '\n';
    else
        out << "size " << PictureSizeText(grid.Size()) << '\n';
    for (int row = 0; row < grid.Size().height; ++row)
        out << ShownRow(grid.AllDots(), grid.nLCDType(), row) << '\n';
}
std::string NameValue(const Arguments &arguments, const std::string &fallback)
{
    const std::optional<std::string> name = arguments.Value("--name");
    if (name && !IsUsableName(*name))
        throw UsageError("--name must be a C identifier that is no keyword of C or C++, not '" + *name + "'");
    return name.value_or(fallback);
}

} // namespace

int Code(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectOperands({"FILE"});
    const std::string &file = arguments.operands[1];
    const CodeFormat format = ChoiceValue<CodeFormat>("--format", arguments.Value("--format").value_or("ccs"),
                                                      CodeFormatFromName, "ccs, c, raw, xbm, gfx or pages");
    const std::string name = NameValue(arguments, ArrayName(file));
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(file, streams.in, grid); !loaded)
        return Refused(streams.err, loaded.message());
    streams.out << PictureCode({grid, name, file == kStandardStream ? "" : file}, format);
    return kExitOk;
}
int Show(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectOperands({"FILE"});
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(arguments.operands[1], streams.in, grid); !loaded)
        return Refused(streams.err, loaded.message());
    PrintPicture(grid, streams.out);
    return kExitOk;
}
int Edit(const Arguments &arguments, Streams &streams)
{
    if (arguments.operands.size() < 3)
        arguments.ExpectOperands({"FILE", "OUT"});
    std::vector<Transform> transforms;
    for (auto word = arguments.operands.begin() + 3; word != arguments.operands.end(); ++word) {
        const std::optional<Transform> transform = TransformFromName(*word);
        if (!transform)
            throw UsageError("unknown operation '" + *word
                             + "' (invert, shift-up, shift-down, shift-left, shift-right, flip-h, flip-v, "
                               "rotate-cw, rotate-ccw)");
        transforms.push_back(*transform);
    }
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(arguments.operands[1], streams.in, grid); !loaded)
        return Refused(streams.err, loaded.message());
    for (const Transform transform : transforms)
        ApplyTransform(grid, transform);
    return WriteDrawing(grid, arguments.operands[2], streams.out, streams.err);
}

} // namespace tessaldo
