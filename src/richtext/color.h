#pragma once
// Colour values (base/color.h) turned into the RGB values the rich-edit control takes.
#include <cstdint>

#include "base/color.h"

namespace pelmora {

// The platform's system-colour lookup: index (0-255) to an RGB value.
using SystemColorLookup = std::uint32_t (*)(int index);

// The RGB value of a colour: a system-colour code is looked up by its low byte, any other
// value is already RGB.
std::uint32_t ColorToRGB(TColor color, SystemColorLookup system_color);

}  // namespace pelmora
