#include "raster/screen.h"

#include <atomic>

namespace pelmora::raster {

namespace {
// Written at start-up (or by a test) and read everywhere after; atomics keep a test that
// sets them from another thread well-defined.
std::atomic<int> g_bits_per_pixel{32};
std::atomic<int> g_planes{1};
}  // namespace

ScreenFacts Screen() {
  return ScreenFacts{g_bits_per_pixel.load(), g_planes.load()};
}

void SetScreen(const ScreenFacts& facts) {
  g_bits_per_pixel.store(facts.bits_per_pixel);
  g_planes.store(facts.planes);
}

}  // namespace pelmora::raster
