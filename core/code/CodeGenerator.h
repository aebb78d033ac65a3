#pragma once

#include "core/model/DotGrid.h"

#include <array>
#include <cstdint>
#include <string>

namespace tessaldo {

// Eight consecutive dots make one byte of the picture; the lowest-numbered
// dot is bit 0.
inline constexpr int kDotsPerBlock = 8;
inline constexpr int kBlockCount = kDotCount / kDotsPerBlock;
// The module takes 0xA4 and then 32 bytes; the first printf carries 0xA4 and
// blocks 0..13, the second blocks 14..31.
inline constexpr int kBlocksInFirstStatement = 14;

// The hex text of the block starting at `nStartDot`: upper-case digits, no
// leading zeros, no prefix ("0", "8", "1F", "FF").
std::string BlockCODE(const DotGrid &grid, std::int16_t nStartDot);

// Where a dot's bit lands in the generated code, in one line:
// "Dot 37: byte 4 (first printf), bit 5 = 0x20".
std::string DescribeDotBit(int dot);

// What the module receives for one picture: the command byte, then the blocks.
inline constexpr std::uint8_t kPictureCommand = 0xA4;
inline constexpr int kModuleByteCount = 1 + kBlockCount;
using ModuleBytes = std::array<std::uint8_t, kModuleByteCount>;
ModuleBytes PictureModuleBytes(const DotGrid &grid);

// The two CCS C statements that send the picture, joined by CR LF, with no
// line end after the second. Depends on the dots only, never on the type.
std::string LCDtoCODE(const DotGrid &grid);

} // namespace tessaldo
