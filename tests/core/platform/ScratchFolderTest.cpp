#include "core/platform/ScratchFolder.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace tessaldo;

TEST(ScratchFolderTest, HoldsFilesByTheirNamesUntilDoneThenGoesWithThem)
{
    const TempDir root;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::path made;
    {
        const ScratchFolder folder(root.path());
        made = std::filesystem::current_path();
        EXPECT_EQ(made.parent_path(), std::filesystem::canonical(root.path()));
        EXPECT_TRUE(ScratchFolder::Put("smiley.Lcd", "dots"));
        EXPECT_EQ(ScratchFolder::Read("smiley.Lcd", 3), "dot");
        EXPECT_FALSE(ScratchFolder::Read("missing.Lcd", 3));
    }
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_FALSE(std::filesystem::exists(made));
}
