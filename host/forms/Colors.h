// Colour values as the host stores them.
//
// A stored colour (`TColor`) keeps its components in blue-green-red order: 0x00BBGGRR. A value
// whose high byte is 0xFF names a system colour by its index in the low byte (0xFF000005 is the
// window background); the host draws those in its own fixed palette. Control colours (`Color` of
// a control, the Davinci colour) are plain 0xRRGGBB values; ColorToRGB takes a stored colour there.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quil {

using TColor = int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clWhite = 0xFFFFFF;
//! System colours: the window background and the face of buttons.
inline constexpr TColor clWindow = static_cast<TColor>(0xFF000005u);
inline constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000Fu);

bool IsSystemColor(TColor color);
//! The colour as 0xRRGGBB; a system colour as the host draws it (an unknown one as white).
int32_t ColorToRGB(TColor color);
//! A 0xRRGGBB value as a stored colour.
TColor RGBToColor(int32_t rgb);
//! "#rrggbb" of ColorToRGB.
std::string ColorToHtml(TColor color);
//! Parses "#rrggbb" (case-insensitive) into a stored colour; false when the text is not one.
bool HtmlToColor(std::string_view text, TColor& color);

}  // namespace quil
