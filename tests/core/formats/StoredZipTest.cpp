#include "core/formats/StoredZip.h"

#include <gtest/gtest.h>

using namespace tessaldo;

namespace {

std::uint32_t Little32(const std::string &bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

} // namespace

// The archive tools' own reading is the page's check (Python's zipfile); here the edges.
TEST(StoredZipTest, TheEndRecordFindsEveryFileAndTooManyAreRefused)
{
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926U); // the check value of CRC-32
    const ZipMade zip = StoredZip({{"set/A.Lcd", " 0\r\n1\r\n"}, {"set/B.Lcd", ""}}, {2026, 12, 9, 3, 5, 58});
    ASSERT_TRUE(zip.problem.empty());
    const std::size_t end = zip.bytes.size() - 22;
    EXPECT_EQ(Little32(zip.bytes, end), 0x06054b50U);
    EXPECT_EQ(Little32(zip.bytes, end + 8), 0x00020002U); // two files on this disk, two in all
    const std::uint32_t central = Little32(zip.bytes, end + 16);
    EXPECT_EQ(Little32(zip.bytes, central), 0x02014b50U);
    EXPECT_EQ(Little32(zip.bytes, central + 42), 0U); // the first file's local header starts the archive
    EXPECT_EQ(Little32(zip.bytes, 0), 0x04034b50U);
    EXPECT_EQ(StoredZip(std::vector<ZipEntry>(kMostZipEntries + 1), {}).problem,
              "A zip archive holds at most 65535 files; the set has 65536 pictures.");
}
