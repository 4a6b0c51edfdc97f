#pragma once
// Facts about the display that images are made for. The Windows shell sets them from the
// platform at start-up; tests set them to whatever they need.
namespace pelmora::raster {

struct ScreenFacts {
  int bits_per_pixel = 32;
  int planes = 1;

  // The display's depth: bits per pixel times colour planes.
  int Depth() const { return bits_per_pixel * planes; }
};

ScreenFacts Screen();
void SetScreen(const ScreenFacts& facts);

// Sets the screen facts for one scope and puts the old ones back at its end.
class ScopedScreen {
 public:
  explicit ScopedScreen(const ScreenFacts& facts) : saved_(Screen()) { SetScreen(facts); }
  ~ScopedScreen() { SetScreen(saved_); }
  ScopedScreen(const ScopedScreen&) = delete;
  ScopedScreen& operator=(const ScopedScreen&) = delete;

 private:
  ScreenFacts saved_;
};

}  // namespace pelmora::raster
