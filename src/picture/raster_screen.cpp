#include "picture/raster_screen.h"

#include <atomic>

namespace pelmora::raster {

namespace {
// Written at start-up (or by a test) and read everywhere after; atomics keep a test that
// sets them from another thread well-defined.
std::atomic<int> g_bits_per_pixel{32};
std::atomic<int> g_planes{1};
std::atomic<int> g_pixels_per_inch{96};
}  // namespace

ScreenFacts Screen() {
  return ScreenFacts{g_bits_per_pixel.load(), g_planes.load(), g_pixels_per_inch.load()};
}

void SetScreen(const ScreenFacts& facts) {
  g_bits_per_pixel.store(facts.bits_per_pixel);
  g_planes.store(facts.planes);
  g_pixels_per_inch.store(facts.pixels_per_inch);
}

}  // namespace pelmora::raster
