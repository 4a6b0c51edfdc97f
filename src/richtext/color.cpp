#include "richtext/color.h"

namespace pelmora {

std::uint32_t ColorToRGB(TColor color, SystemColorLookup system_color) {
  if (!IsSystemColor(color)) return color;
  return system_color(static_cast<int>(color & 0xFFu));
}

}  // namespace pelmora
