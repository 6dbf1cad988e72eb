#pragma once
// The named colours of the about dialog and its link labels, 0x00BBGGRR; a value with the top bit
// set names a system colour by its low byte.
#include <cstdint>

namespace ramvel {

inline constexpr std::uint32_t clBlue = 0xFF0000;
inline constexpr std::uint32_t clRed = 0x0000FF;
inline constexpr std::uint32_t clNavy = 0x800000;
inline constexpr std::uint32_t clWhite = 0xFFFFFF;
inline constexpr std::uint32_t clMaroon = 0x000080;
inline constexpr std::uint32_t clWindowText = 0xFF000008;

}  // namespace ramvel
