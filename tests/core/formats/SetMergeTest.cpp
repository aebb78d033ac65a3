#include "core/formats/SetMerge.h"

#include <gtest/gtest.h>

using namespace tessaldo;

namespace {

Picture Named(const std::string &name, int delayMs = kDefaultDelayMs)
{
    Picture picture;
    picture.name = name;
    picture.delayMs = delayMs;
    return picture;
}

} // namespace

TEST(SetMergeTest, IconsNeedNamesApartWithoutCaseAndOneType)
{
    SetMerge merge(std::nullopt);
    EXPECT_EQ(merge.Add({"\"a.h\"", {Named("Logo")}, LcdType::Row, std::nullopt, BitLayout::Xbm}), "");
    EXPECT_EQ(merge.Type(), LcdType::Row); // what the next file is read in
    EXPECT_EQ(merge.Add({"standard input", {Named("logo")}, std::nullopt, std::nullopt, BitLayout::Module}),
              "Cannot make the header: \"a.h\" and standard input give the array names Logo and logo, which some "
              "file systems take for one file name.");
    EXPECT_EQ(merge.Add({"\"c.Lcd\"", {Named("Logo")}, std::nullopt, std::nullopt, BitLayout::Module}),
              "Cannot make the header: \"a.h\" and \"c.Lcd\" both give the array name Logo.");
    EXPECT_EQ(merge.Add({"\"d.Lcd\"", {Named("bell")}, LcdType::Column, std::nullopt, BitLayout::Module}),
              "Cannot make the header: \"d.Lcd\" is drawn for " + LcdTypeName(LcdType::Column)
                  + ", the files before it for " + LcdTypeName(LcdType::Row) + "; one header holds one type.");
    EXPECT_EQ(merge.Layout(), BitLayout::Xbm); // the first file's
    EXPECT_EQ(merge.FramesName(), std::nullopt);
}

TEST(SetMergeTest, FramesMayRepeatAPictureAndTakeTheFirstFilesAnimation)
{
    SetMerge merge(std::nullopt);
    EXPECT_EQ(
        merge.Add({"\"blink.h\"", {Named("on", 30), Named("on_2", 40)}, std::nullopt, "blink", BitLayout::Module}), "");
    EXPECT_EQ(merge.Add({"\"on.Lcd\"", {Named("ON")}, std::nullopt, std::nullopt, BitLayout::Module}), "");
    EXPECT_EQ(merge.FramesName(), "blink");
    const Document set = merge.Finish(std::nullopt);
    EXPECT_EQ(set.form, SetForm::Frames);
    ASSERT_EQ(set.pictures.size(), 3U);
    EXPECT_EQ(set.pictures[1].name, "on_2");
    EXPECT_EQ(set.pictures[2].name, "ON_3");
    EXPECT_EQ(set.pictures[0].delayMs, 30);
    EXPECT_EQ(SetMerge("f").Finish(7).form, SetForm::Frames);

    SetMerge delayed("f");
    EXPECT_EQ(delayed.Add({"\"a.Lcd\"", {Named("a", 30)}, std::nullopt, "ignored", BitLayout::Module}), "");
    EXPECT_EQ(delayed.FramesName(), "f"); // --frames beats the file's
    EXPECT_EQ(delayed.Finish(7).pictures.front().delayMs, 7);
}

TEST(SetMergeTest, OneHeaderHoldsPicturesOfOneSize)
{
    Picture oled = Named("splash");
    oled.dots = Dots(PictureSize{128, 64});
    SetMerge merge(std::nullopt);
    EXPECT_EQ(merge.Add({"\"a.h\"", {oled, Named("bell")}, std::nullopt, std::nullopt, BitLayout::Pages}),
              "Cannot make the header: bell in \"a.h\" is 16 x 16 and splash in \"a.h\" 128 x 64; one header holds "
              "pictures of one size.");
}
