#pragma once
// Colour values as the views and the font dialog hold them: 32 bits, either an RGB colour
// 0x00BBGGRR or a system-colour code, 0x80000000 plus the platform's system-colour index.
#include <cstdint>

namespace pelmora {

using TColor = std::uint32_t;

inline constexpr TColor kSystemColorFlag = 0x80000000u;
// The system window-text colour; as a text colour it means "automatic colour".
inline constexpr TColor clWindowText = 0x80000008u;
// The system window (background) colour.
inline constexpr TColor clWindow = 0x80000005u;

constexpr bool IsSystemColor(TColor color) { return (color & kSystemColorFlag) != 0; }

}  // namespace pelmora
