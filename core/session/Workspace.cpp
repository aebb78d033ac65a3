#include "core/session/Workspace.h"

#include <charconv>

namespace tessaldo {

namespace {

std::optional<int> WholeNumber(std::string_view text)
{
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

std::optional<bool> TrueOrFalse(std::string_view text)
{
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    return std::nullopt;
}

// Puts the value where it fits; false where it does not.
template <typename Value> bool Take(Value &part, const std::optional<Value> &value)
{
    if (value)
        part = *value;
    return value.has_value();
}

std::optional<int> StandardBaud(std::string_view text)
{
    const std::optional<int> baud = WholeNumber(text);
    return baud && IsStandardBaud(*baud) ? baud : std::nullopt;
}

std::optional<int> Threshold(std::string_view text)
{
    const std::optional<int> threshold = WholeNumber(text);
    return threshold && *threshold >= 0 && *threshold <= 255 ? threshold : std::nullopt;
}

} // namespace

bool SetWorkspaceValue(Workspace &workspace, std::string_view key, std::string_view value)
{
    DotOptions &options = workspace.importOptions;
    if (key == kArrayFormKey)
        return Take(workspace.arrayForm, ArrayFormFromName(value));
    if (key == kSendBaudKey)
        return Take(workspace.sendBaud, StandardBaud(value));
    if (key == kImportFitKey)
        return Take(options.fit, FitFromName(value));
    if (key == kImportThresholdKey)
        return Take(options.threshold, Threshold(value));
    if (key == kImportDitherKey)
        return Take(options.dither, DitherFromName(value));
    if (key == kImportInvertKey)
        return Take(options.invert, TrueOrFalse(value));
    if (key == kSendPortKey)
        workspace.sendPort = value;
    else if (key == kSetFileNameKey)
        workspace.setFileName = value;
    else
        return false;
    return true;
}

std::string WorkspaceValue(const Workspace &workspace, std::string_view key)
{
    const DotOptions &options = workspace.importOptions;
    if (key == kImportFitKey)
        return std::string(FitName(options.fit));
    if (key == kImportThresholdKey)
        return std::to_string(options.threshold);
    if (key == kImportDitherKey)
        return std::string(DitherName(options.dither));
    if (key == kImportInvertKey)
        return options.invert ? "true" : "false";
    if (key == kSendPortKey)
        return workspace.sendPort;
    if (key == kSendBaudKey)
        return std::to_string(workspace.sendBaud);
    if (key == kArrayFormKey)
        return std::string(CodeFormatName(workspace.arrayForm));
    if (key == kSetFileNameKey)
        return workspace.setFileName;
    return {};
}

} // namespace tessaldo
