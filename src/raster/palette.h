#pragma once
// Logical palettes: up to 256 colours. A palette never changes once made, so bitmaps and
// clipboard forms can share one freely.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace pelmora::raster {

// A colour table entry as BMP files and sections hold it: blue, green, red, reserved.
struct Rgb {
  std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb MakeRgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return Rgb{blue, green, red, 0};
}
inline constexpr Rgb kBlack = MakeRgb(0, 0, 0);
inline constexpr Rgb kWhite = MakeRgb(255, 255, 255);

inline constexpr int kMaxPaletteEntries = 256;

class Palette {
 public:
  // Entries beyond 256 are dropped.
  explicit Palette(std::vector<Rgb> entries, bool halftone = false);

  // A newly generated halftone palette (a colour cube with gray steps, 256 entries).
  static std::shared_ptr<Palette> MakeHalftone();
  // The system's 16-colour palette, one shared instance.
  static std::shared_ptr<Palette> System16();

  const std::vector<Rgb>& Entries() const { return entries_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  bool IsHalftone() const { return halftone_; }

 private:
  std::vector<Rgb> entries_;
  bool halftone_;
};

// Finds the entry of a colour table nearest to a colour (squared distance in RGB; the
// first of equally near entries wins). A table without entries gives 0.
int NearestIndex(std::span<const Rgb> table, Rgb colour);

}  // namespace pelmora::raster
