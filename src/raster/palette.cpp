#include "raster/palette.h"

#include <limits>

namespace pelmora::raster {

Palette::Palette(std::vector<Rgb> entries, bool halftone)
    : entries_(std::move(entries)), halftone_(halftone) {
  if (entries_.size() > kMaxPaletteEntries) entries_.resize(kMaxPaletteEntries);
  for (Rgb& entry : entries_) entry.reserved = 0;
}

std::shared_ptr<Palette> Palette::MakeHalftone() {
  // A 6 x 6 x 6 colour cube (levels 0, 51, ..., 255) and 40 grays between its gray steps,
  // so that colour images and gray ramps both find near entries.
  std::vector<Rgb> entries;
  entries.reserve(kMaxPaletteEntries);
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 6; ++g) {
      for (int b = 0; b < 6; ++b) {
        entries.push_back(MakeRgb(static_cast<std::uint8_t>(r * 51),
                                  static_cast<std::uint8_t>(g * 51),
                                  static_cast<std::uint8_t>(b * 51)));
      }
    }
  }
  for (int step = 0; step < 5; ++step) {
    for (int i = 1; i <= 8; ++i) {
      auto v = static_cast<std::uint8_t>(step * 51 + (i * 51 + 4) / 9);
      entries.push_back(MakeRgb(v, v, v));
    }
  }
  return std::make_shared<Palette>(std::move(entries), true);
}

std::shared_ptr<Palette> Palette::System16() {
  static const std::shared_ptr<Palette> kSystem16 = std::make_shared<Palette>(std::vector<Rgb>{
      MakeRgb(0, 0, 0),       MakeRgb(128, 0, 0),   MakeRgb(0, 128, 0),
      MakeRgb(128, 128, 0),   MakeRgb(0, 0, 128),   MakeRgb(128, 0, 128),
      MakeRgb(0, 128, 128),   MakeRgb(192, 192, 192), MakeRgb(128, 128, 128),
      MakeRgb(255, 0, 0),     MakeRgb(0, 255, 0),   MakeRgb(255, 255, 0),
      MakeRgb(0, 0, 255),     MakeRgb(255, 0, 255), MakeRgb(0, 255, 255),
      MakeRgb(255, 255, 255)});
  return kSystem16;
}

int NearestIndex(std::span<const Rgb> table, Rgb colour) {
  int best = 0;
  int best_distance = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < table.size(); ++i) {
    int dr = int{table[i].red} - colour.red;
    int dg = int{table[i].green} - colour.green;
    int db = int{table[i].blue} - colour.blue;
    int distance = dr * dr + dg * dg + db * db;
    if (distance < best_distance) {
      best_distance = distance;
      best = static_cast<int>(i);
      if (distance == 0) break;
    }
  }
  return best;
}

}  // namespace pelmora::raster
