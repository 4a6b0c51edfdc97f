#include "app/win/screen_facts.h"

#include <windows.h>

#include "base/win/handles.h"
#include "base/win/window.h"

namespace pelmora {

raster::ScreenFacts ReadScreenFacts() {
  raster::ScreenFacts facts;
  win::WindowDc screen(nullptr);
  if (!screen) return facts;
  facts.bits_per_pixel = ::GetDeviceCaps(screen.Get(), BITSPIXEL);
  facts.planes = ::GetDeviceCaps(screen.Get(), PLANES);
  facts.pixels_per_inch = win::ScreenPixelsPerInch();
  return facts;
}

}  // namespace pelmora
