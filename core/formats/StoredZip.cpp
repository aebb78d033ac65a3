#include "core/formats/StoredZip.h"

#include <array>
#include <limits>

namespace tessaldo {
namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kEndOfCentral = 0x06054b50;
constexpr std::uint16_t kVersionStored = 10; // 1.0: stored files, no folders of their own
constexpr std::uint16_t kMadeOnDos = 20;     // 2.0 on MS-DOS: attributes as DOS gives them

void Put16(std::string &out, std::uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

void Put32(std::string &out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::uint16_t DosTime(const ZipTime &time)
{
    return static_cast<std::uint16_t>(time.hour << 11 | time.minute << 5 | time.second / 2);
}

std::uint16_t DosDate(const ZipTime &time)
{
    return static_cast<std::uint16_t>((time.year - 1980) << 9 | time.month << 5 | time.day);
}

// What the local and the central header of a file share, from "version needed" to the name's length.
void PutCommon(std::string &out, const ZipEntry &entry, const ZipTime &time)
{
    Put16(out, kVersionStored);
    Put16(out, 0); // no flags
    Put16(out, 0); // stored
    Put16(out, DosTime(time));
    Put16(out, DosDate(time));
    Put32(out, Crc32(entry.bytes));
    Put32(out, static_cast<std::uint32_t>(entry.bytes.size())); // the size stored
    Put32(out, static_cast<std::uint32_t>(entry.bytes.size())); // the size unpacked, the same
    Put16(out, static_cast<std::uint32_t>(entry.name.size()));
    Put16(out, 0); // no extra field
}

} // namespace

std::uint32_t Crc32(std::string_view bytes)
{
    static const std::array<std::uint32_t, 256> kTable = [] {
        std::array<std::uint32_t, 256> made{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            made[n] = c;
        }
        return made;
    }();
    std::uint32_t c = 0xFFFFFFFFU;
    for (const char byte : bytes)
        c = kTable[(c ^ static_cast<std::uint8_t>(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFU;
}

ZipMade StoredZip(const std::vector<ZipEntry> &entries, const ZipTime &time)
{
    if (entries.size() > kMostZipEntries)
        return {{},
                "A zip archive holds at most " + std::to_string(kMostZipEntries) + " files; the set has "
                    + std::to_string(entries.size()) + " pictures."};
    std::string archive;
    std::string central;
    for (const ZipEntry &entry : entries) {
        const std::size_t offset = archive.size();
        if (offset > std::numeric_limits<std::uint32_t>::max() - entry.bytes.size() - 1024)
            return {{}, "A zip archive holds at most 4 GiB; the set's files are more."};
        Put32(archive, kLocalHeader);
        PutCommon(archive, entry, time);
        archive += entry.name;
        archive += entry.bytes;
        Put32(central, kCentralHeader);
        Put16(central, kMadeOnDos);
        PutCommon(central, entry, time);
        Put16(central, 0); // no comment
        Put16(central, 0); // on the first disk
        Put16(central, 0); // no internal attributes
        Put32(central, 0); // no external attributes
        Put32(central, static_cast<std::uint32_t>(offset));
        central += entry.name;
    }
    const auto centralAt = static_cast<std::uint32_t>(archive.size());
    archive += central;
    Put32(archive, kEndOfCentral);
    Put16(archive, 0); // this disk
    Put16(archive, 0); // the disk the central directory starts on
    Put16(archive, static_cast<std::uint32_t>(entries.size()));
    Put16(archive, static_cast<std::uint32_t>(entries.size()));
    Put32(archive, static_cast<std::uint32_t>(central.size()));
    Put32(archive, centralAt);
    Put16(archive, 0); // no comment
    return {std::move(archive), {}};
}

} // namespace tessaldo
