#include "core/model/Document.h"

#include <gtest/gtest.h>

using namespace tessaldo;

TEST(DocumentTest, GifFramesAskingForUnder20MsShowForTheDefaultTime)
{
    EXPECT_EQ(GifFrameDelayMs(-1), kDefaultDelayMs);
    EXPECT_EQ(GifFrameDelayMs(0), kDefaultDelayMs);
    EXPECT_EQ(GifFrameDelayMs(10), kDefaultDelayMs);
    EXPECT_EQ(GifFrameDelayMs(19), kDefaultDelayMs);
    EXPECT_EQ(GifFrameDelayMs(20), 20);
    EXPECT_EQ(GifFrameDelayMs(kLongestDelayMs), kLongestDelayMs);
}

TEST(DocumentTest, AccessibleNameTellsThePlaceAndOnlyFramesTellTheirDelay)
{
    Document set;
    set.pictures = {{"A", 40, {}}, {"B", 0, {}}};
    EXPECT_EQ(PictureAccessibleName(set, 1), "B, picture 2 of 2");
    EXPECT_EQ(PictureAccessibleDescription(set, 0), "");
    set.form = SetForm::Frames;
    EXPECT_EQ(PictureAccessibleName(set, 0), "A, picture 1 of 2");
    EXPECT_EQ(PictureAccessibleDescription(set, 0), "40 ms");
    EXPECT_EQ(PictureAccessibleDescription(set, 1), "0 ms");
}

TEST(DocumentTest, FramesOpenAsAnAnimationAndAStillImageAsOnePicture)
{
    const Document animation = SetOfFrames({{"", 0, {}}, {"", 40, {}}}, LcdType::Row, "spin");
    EXPECT_EQ(animation.form, SetForm::Frames);
    EXPECT_EQ(animation.type, LcdType::Row);
    EXPECT_EQ(animation.pictures[0].name, "spin_000");
    EXPECT_EQ(animation.pictures[1].name, "spin_001");
    EXPECT_EQ(animation.pictures[0].delayMs, 0);
    const Document still = SetOfFrames({{"", 40, {}}}, LcdType::Column, "logo");
    EXPECT_EQ(still.form, SetForm::Pictures);
    EXPECT_EQ(still.pictures, (std::vector<Picture>{{"logo", kDefaultDelayMs, {}}}));
}
