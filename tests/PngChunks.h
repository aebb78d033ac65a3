#pragma once

#include <cstdint>
#include <string>

// PNG files made byte by byte, to reach what an encoder would never write.
inline std::uint32_t Crc32(const std::string &bytes)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

inline std::string BigEndian(std::uint32_t value)
{
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

inline std::string PngChunk(const std::string &type, const std::string &data)
{
    return BigEndian(static_cast<std::uint32_t>(data.size())) + type + data + BigEndian(Crc32(type + data));
}

// The signature and header of a PNG of that size and kind, before its other chunks.
inline std::string PngStart(std::uint32_t width, std::uint32_t height, int depth, int colour, bool interlaced = false)
{
    return std::string("\x89PNG\r\n\x1a\n", 8)
           + PngChunk("IHDR", BigEndian(width) + BigEndian(height)
                                  + std::string{static_cast<char>(depth), static_cast<char>(colour), 0, 0,
                                                static_cast<char>(interlaced)});
}
