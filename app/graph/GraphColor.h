// Colours as the graph document stores them.
#pragma once

#include <cstdint>

// Red in bits 0-7, green in bits 8-15, blue in bits 16-23. A negative value (top bit set) is a
// system colour whose index is in the low byte; it follows the desktop's palette.
using GraphColor = std::int32_t;

constexpr GraphColor rgbColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return red | green << 8 | blue << 16;
}

constexpr GraphColor systemColor(std::uint8_t index) {
  return static_cast<GraphColor>(0x80000000u | index);
}

inline constexpr GraphColor kBlack = rgbColor(0, 0, 0);
inline constexpr GraphColor kWhite = rgbColor(255, 255, 255);
inline constexpr GraphColor kWindowText = systemColor(8);
inline constexpr GraphColor kBlue = rgbColor(0, 0, 255);
inline constexpr GraphColor kRed = rgbColor(255, 0, 0);
inline constexpr GraphColor kGreen = rgbColor(0, 128, 0);
inline constexpr GraphColor kNavy = rgbColor(0, 0, 128);
inline constexpr GraphColor kMaroon = rgbColor(128, 0, 0);
inline constexpr GraphColor kLightYellow = rgbColor(255, 255, 224);
