#include "core/session/Workspace.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(WorkspaceTest, TextReadsBackAndToleratesWhatDoesNotFit)
{
    const Workspace defaults;
    EXPECT_TRUE(SameOptions(defaults.importOptions, DotOptions{}));
    EXPECT_EQ(defaults.sendBaud, kDefaultBaud);
    EXPECT_EQ(defaults.arrayForm, CodeFormat::C);
    EXPECT_TRUE(SameWorkspace(WorkspaceFromText(""), defaults));

    Workspace chosen;
    chosen.importOptions = {Fit::Stretch, 255, Dither::Bayer, true};
    chosen.sendPort = "COM3";
    chosen.sendBaud = 115200;
    chosen.arrayForm = CodeFormat::Pages;
    chosen.setFileName = "my icons=v2.lcdset";
    EXPECT_TRUE(SameWorkspace(WorkspaceFromText(WorkspaceText(chosen)), chosen));
    EXPECT_EQ(WorkspaceText(defaults), "importImage/fit=contain\nimportImage/threshold=128\nimportImage/dither=none\n"
                                       "importImage/invert=false\nsendToModule/port=\nsendToModule/baud=9600\n"
                                       "copyAsCArray/form=c\nset/fileName=\n");

    // A form "Copy as C Array" does not copy, a rate no module is set to, a
    // threshold past 255, an unknown key and a line with no '=' all leave the defaults.
    const Workspace tolerated = WorkspaceFromText("copyAsCArray/form=raw\nsendToModule/baud=9601\r\n"
                                                  "importImage/threshold=256\nimportImage/invert=yes\n"
                                                  "importImage/fit=\nwindow/colour=red\nno equals sign\n"
                                                  "sendToModule/port=/dev/ttyUSB0\r\n");
    Workspace expected;
    expected.sendPort = "/dev/ttyUSB0";
    EXPECT_TRUE(SameWorkspace(tolerated, expected));
    EXPECT_FALSE(SetWorkspaceValue(expected, "importImage/threshold", "-1"));
    EXPECT_TRUE(SetWorkspaceValue(expected, "importImage/threshold", "0"));
    EXPECT_EQ(expected.importOptions.threshold, 0);
}
