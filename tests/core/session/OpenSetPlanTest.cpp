#include "core/session/OpenSetPlan.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tessaldo;

namespace {

SetReader ReaderOf(const std::vector<ChosenFile> &files)
{
    return PlanOpenSet(files).reader;
}

} // namespace

TEST(OpenSetPlanTest, DrawingsGatherTheChosenAndOnlyOneOtherFileMakesASet)
{
    EXPECT_EQ(ReaderOf({{"readme.txt"}, {"b.LCD"}}), SetReader::Drawings);
    EXPECT_EQ(ReaderOf({{"a.Lcd"}}), SetReader::Drawings);
    EXPECT_EQ(ReaderOf({{"icons", true}}), SetReader::Folder);
    EXPECT_EQ(ReaderOf({{"walk.gif", false, true}}), SetReader::Image);
    EXPECT_EQ(ReaderOf({{"icons.h"}}), SetReader::Source);
    EXPECT_EQ(ReaderOf({{"sketch.ino"}}), SetReader::Source);
    const OpenSetPlan mixed = PlanOpenSet(std::vector<ChosenFile>{{"icons.h"}, {"walk.gif", false, true}});
    EXPECT_EQ(mixed.reader, SetReader::Refused);
    EXPECT_EQ(mixed.refusal, "Cannot open these files as one set: choose one header, C source or image, or drawing "
                             "files (.Lcd) alone.");
    EXPECT_TRUE(PlanOpenSet(std::vector<ChosenFile>{{"icons.h"}}).refusal.empty());
}
