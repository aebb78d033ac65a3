#include "TextCommands.h"

#include "CommandShared.h"
#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"
#include "core/model/Resize.h"
#include "core/model/Transform.h"

#include <charconv>
#include <ostream>
#include <variant>

// code, show and edit: one picture file in (a drawing, a PBM or an XBM), its code, its dots or another picture out.
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

// resize WxH[@ANCHOR]: the picture cropped or extended to another size.
struct ResizeStep {
    PictureSize to;
    Anchor anchor = Anchor::TopLeft;
};
// scale N or scale 1/N: each dot made N x N dots, or each N x N block one dot.
struct ScaleStep {
    int factor = 1;
    bool down = false;
};
using EditStep = std::variant<Transform, ResizeStep, ScaleStep>;

ResizeStep ResizeValue(const std::string &value)
{
    const std::size_t at = value.find('@');
    ResizeStep step{PictureSizeValue("resize", value.substr(0, at))};
    if (at == std::string::npos)
        return step;
    const std::optional<Anchor> anchor = AnchorFromName(value.substr(at + 1));
    if (!anchor)
        throw UsageError("resize's anchor must be " + std::string(kAnchorChoices) + ", not '" + value.substr(at + 1)
                         + "'");
    step.anchor = *anchor;
    return step;
}

ScaleStep ScaleValue(const std::string &value)
{
    ScaleStep step{0, value.starts_with("1/")};
    const std::string_view digits = std::string_view(value).substr(step.down ? 2 : 0);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), step.factor);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() || step.factor < 1
        || step.factor > kLargestSide)
        throw UsageError("scale must be N or 1/N, a whole factor from 1 to " + std::to_string(kLargestSide) + ", not '"
                         + value + "'");
    return step;
}

// The operations from `word` on: the transforms by name, resize and scale each with the word after it.
std::vector<EditStep> EditSteps(std::vector<std::string>::const_iterator word,
                                std::vector<std::string>::const_iterator end)
{
    std::vector<EditStep> steps;
    for (; word != end; ++word) {
        if (*word == "resize" || *word == "scale") {
            if (word + 1 == end)
                throw UsageError(*word + " needs its value after it: "
                                 + (*word == "resize" ? "resize WxH[@ANCHOR]" : "scale N or scale 1/N"));
            const std::string &value = *++word;
            steps.push_back(*(word - 1) == "resize" ? EditStep(ResizeValue(value)) : EditStep(ScaleValue(value)));
            continue;
        }
        const std::optional<Transform> transform = TransformFromName(*word);
        if (!transform)
            throw UsageError("unknown operation '" + *word
                             + "' (invert, shift-up, shift-down, shift-left, shift-right, flip-h, flip-v, "
                               "rotate-cw, rotate-ccw)");
        steps.push_back(*transform);
    }
    return steps;
}

// Takes the step, or says why it cannot be taken.
FileStatus TakeStep(DotGrid &grid, const EditStep &step)
{
    if (const auto *transform = std::get_if<Transform>(&step)) {
        ApplyTransform(grid, *transform);
    } else if (const auto *resize = std::get_if<ResizeStep>(&step)) {
        grid.SetAllDots(ResizedDots(grid.AllDots(), grid.nLCDType(), resize->to, resize->anchor));
    } else {
        const auto &scale = std::get<ScaleStep>(step);
        const std::optional<Dots> scaled = scale.down ? ReducedDots(grid.AllDots(), grid.nLCDType(), scale.factor)
                                                      : EnlargedDots(grid.AllDots(), grid.nLCDType(), scale.factor);
        if (!scaled)
            return FileStatus::Failed("Cannot scale the " + PictureSizeText(grid.Size()) + " picture "
                                      + std::to_string(scale.factor) + " times: a picture is at most "
                                      + std::to_string(kLargestSide) + " dots each way.");
        grid.SetAllDots(*scaled);
    }
    return FileStatus::Ok();
}

} // namespace

int Code(const Arguments &arguments, Streams &streams)
{
    arguments.ExpectOperands({"FILE"});
    const std::string &file = arguments.operands[1];
    const CodeFormat format = ChoiceValue<CodeFormat>("--format", arguments.Value("--format").value_or("ccs"),
                                                      CodeFormatFromName, "ccs, c, raw, xbm, gfx, pages or u8x8");
    const std::string name = NameValue(arguments, ArrayName(file));
    DotGrid grid;
    if (const FileStatus loaded = LoadFresh(file, streams.in, grid); !loaded)
        return Refused(streams.err, loaded.message());
    const Result<std::string> code = PictureCode({std::move(grid), name, file == kStandardStream ? "" : file}, format);
    if (!code)
        return Refused(streams.err, code.message());
    streams.out << code.value();
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
    // With --size the picture is new, and OUT comes first.
    const std::optional<PictureSize> size = SizeOption(arguments);
    const std::size_t firstStep = size ? 2 : 3;
    if (arguments.operands.size() < firstStep)
        size ? arguments.ExpectOperands({"OUT"}) : arguments.ExpectOperands({"FILE", "OUT"});
    const std::vector<EditStep> steps =
        EditSteps(arguments.operands.begin() + static_cast<std::ptrdiff_t>(firstStep), arguments.operands.end());
    ExpectPictureName(arguments, arguments.operands[firstStep - 1], kTextCommandFormats);
    DotGrid grid;
    if (size)
        grid.SetAllDots(Dots(*size));
    else if (const FileStatus loaded = LoadFresh(arguments.operands[1], streams.in, grid); !loaded)
        return Refused(streams.err, loaded.message());
    for (const EditStep &step : steps)
        if (const FileStatus taken = TakeStep(grid, step); !taken)
            return Refused(streams.err, taken.message());
    return WriteDrawing(grid, arguments.operands[firstStep - 1], streams.out, streams.err);
}

} // namespace tessaldo
