#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A zip archive of files stored as they are, uncompressed: what a browser
// that writes no folder downloads in place of a file per picture. Every
// system's archive tool opens it.
namespace tessaldo {

// The CRC-32 of ISO 3309, which zip archives and PNG files carry.
std::uint32_t Crc32(std::string_view bytes);

struct ZipEntry {
    std::string name; // ASCII, '/' between folders
    std::string bytes;
};

// When the files were made, as the archive records it: from 1980 on, to two seconds.
struct ZipTime {
    int year = 1980;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// A zip holds at most this many files without the extensions that not every tool reads.
inline constexpr std::size_t kMostZipEntries = 0xFFFF;

// The archive's bytes, or why it cannot be made (a sentence for the user): too many files, or too large.
struct ZipMade {
    std::string bytes;
    std::string problem;
};
ZipMade StoredZip(const std::vector<ZipEntry> &entries, const ZipTime &time);

} // namespace tessaldo
