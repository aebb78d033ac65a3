#include "core/session/Workspace.h"

#include <gtest/gtest.h>

#include <utility>

using namespace tessaldo;

namespace {

bool SameOptions(const DotOptions &a, const DotOptions &b)
{
    return a.fit == b.fit && a.threshold == b.threshold && a.dither == b.dither && a.invert == b.invert;
}

bool SameWorkspace(const Workspace &a, const Workspace &b)
{
    return SameOptions(a.importOptions, b.importOptions) && a.sendPort == b.sendPort && a.sendBaud == b.sendBaud
           && a.arrayForm == b.arrayForm && a.setFileName == b.setFileName;
}

// Each part as the window's settings keep it, stored under its key.
Workspace ReadBack(const Workspace &stored)
{
    Workspace read;
    for (const std::string_view key : kWorkspaceKeys)
        SetWorkspaceValue(read, key, WorkspaceValue(stored, key));
    return read;
}

} // namespace

TEST(WorkspaceTest, PartsReadBackAndWhatDoesNotFitKeepsTheDefault)
{
    const Workspace defaults;
    EXPECT_TRUE(SameOptions(defaults.importOptions, DotOptions{}));
    EXPECT_EQ(defaults.sendBaud, kDefaultBaud);
    EXPECT_EQ(defaults.arrayForm, CodeFormat::C);
    EXPECT_EQ(WorkspaceValue(defaults, kArrayFormKey), "c");
    EXPECT_EQ(WorkspaceValue(defaults, kSendBaudKey), "9600");
    EXPECT_EQ(WorkspaceValue(defaults, kImportFitKey), "contain");
    EXPECT_EQ(WorkspaceValue(defaults, "window/colour"), "");

    Workspace chosen;
    chosen.importOptions = {Fit::Stretch, 255, Dither::Bayer, true};
    chosen.sendPort = "COM3";
    chosen.sendBaud = 115200;
    chosen.arrayForm = CodeFormat::Pages;
    chosen.setFileName = "my icons=v2.lcdset";
    EXPECT_TRUE(SameWorkspace(ReadBack(chosen), chosen));

    // A form "Copy as C Array" does not copy, a rate no module is set to, a
    // threshold past 255 and an unknown key all leave the workspace as it was.
    Workspace tolerated;
    for (const auto &[key, value] : {std::pair{"copyAsCArray/form", "raw"},
                                     {"sendToModule/baud", "9601"},
                                     {"importImage/threshold", "256"},
                                     {"importImage/threshold", "-1"},
                                     {"importImage/invert", "yes"},
                                     {"importImage/fit", ""},
                                     {"window/colour", "red"}})
        EXPECT_FALSE(SetWorkspaceValue(tolerated, key, value)) << key << '=' << value;
    EXPECT_TRUE(SameWorkspace(tolerated, defaults));
    EXPECT_TRUE(SetWorkspaceValue(tolerated, "importImage/threshold", "0"));
    EXPECT_EQ(tolerated.importOptions.threshold, 0);
}
