#pragma once
// The display's facts, read from the platform once at start-up for the raster engine.
#include "raster/screen.h"

namespace pelmora {

raster::ScreenFacts ReadScreenFacts();

}  // namespace pelmora
