// A text font, as the graph document stores it.
#pragma once

#include "GraphColor.h"

#include <cstdint>
#include <string>

// The bits of `TFont::Style`.
enum FontStyleBits : std::uint8_t {
  FontBold = 1,
  FontItalic = 2,
  FontUnderline = 4,
  FontStrikeOut = 8,
};

// A stored style number as a reader takes it: its low four bits.
constexpr std::uint8_t fontStyleFromStored(std::int32_t value) {
  return value & 15;
}

inline constexpr std::uint8_t kShiftJisCharset = 128;

// Character set, colour, typeface name (UTF-8), size in points and style bits. A new font is
// the desktop's default font: "ＭＳ Ｐゴシック", 9 points, Shift-JIS, window-text colour, plain.
struct TFont {
  std::uint8_t Charset = kShiftJisCharset;
  GraphColor Color = kWindowText;
  std::string Name = "ＭＳ Ｐゴシック";
  std::int32_t Size = 9;
  std::uint8_t Style = 0;

  bool operator==(const TFont&) const = default;
};
