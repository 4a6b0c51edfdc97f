#include "raster/win/screen_facts.h"

#include <windows.h>

#include "base/win/handles.h"

namespace pelmora {

raster::ScreenFacts ReadScreenFacts() {
  raster::ScreenFacts facts;
  win::WindowDc screen(nullptr);
  if (!screen) return facts;
  facts.bits_per_pixel = ::GetDeviceCaps(screen.Get(), BITSPIXEL);
  facts.planes = ::GetDeviceCaps(screen.Get(), PLANES);
  return facts;
}

}  // namespace pelmora
