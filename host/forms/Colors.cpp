#include "host/forms/Colors.h"

#include <cstdio>

namespace quil {

namespace {

//! The system colours the host draws, by index: the light palette of a plain desktop.
struct SystemColor {
  unsigned index;
  int32_t rgb;
};
constexpr SystemColor kSystemColors[] = {
    {0, 0xC8C8C8},   // scroll bar
    {1, 0x3A6EA5},   // desktop
    {2, 0x99B4D1},   // active caption
    {4, 0xF0F0F0},   // menu
    {5, 0xFFFFFF},   // window
    {8, 0x000000},   // window text
    {13, 0x0078D7},  // highlight
    {14, 0xFFFFFF},  // highlight text
    {15, 0xF0F0F0},  // button face
    {16, 0xA0A0A0},  // button shadow
    {17, 0x6D6D6D},  // grey text
    {18, 0x000000},  // button text
    {24, 0xFFFFE1},  // info background
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool IsSystemColor(TColor color) {
  return (static_cast<uint32_t>(color) & 0xFF000000u) == 0xFF000000u;
}

int32_t ColorToRGB(TColor color) {
  const auto value = static_cast<uint32_t>(color);
  if (IsSystemColor(color)) {
    for (const SystemColor& system : kSystemColors) {
      if (system.index == (value & 0xFFu)) return system.rgb;
    }
    return 0xFFFFFF;
  }
  const uint32_t red = value & 0xFFu, green = (value >> 8) & 0xFFu, blue = (value >> 16) & 0xFFu;
  return static_cast<int32_t>((red << 16) | (green << 8) | blue);
}

TColor RGBToColor(int32_t rgb) {
  const auto value = static_cast<uint32_t>(rgb);
  const uint32_t red = (value >> 16) & 0xFFu, green = (value >> 8) & 0xFFu, blue = value & 0xFFu;
  return static_cast<TColor>((blue << 16) | (green << 8) | red);
}

std::string ColorToHtml(TColor color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(ColorToRGB(color)));
  return text;
}

bool HtmlToColor(std::string_view text, TColor& color) {
  if (text.size() != 7 || text[0] != '#') return false;
  int32_t rgb = 0;
  for (char c : text.substr(1)) {
    const int digit = HexDigit(c);
    if (digit < 0) return false;
    rgb = rgb * 16 + digit;
  }
  color = RGBToColor(rgb);
  return true;
}

}  // namespace quil
