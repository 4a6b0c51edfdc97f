#pragma once
// Loading and saving bitmaps from bytes, for the bitmap tests; naming failures comes with
// the shared error helpers.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/stream.h"
#include "picture/bitmap.h"
#include "raster/image.h"
#include "support/error_message.h"

namespace pelmora::test {

inline std::unique_ptr<TBitmap> LoadBitmap(const std::vector<std::uint8_t>& bytes) {
  auto bitmap = std::make_unique<TBitmap>();
  TSpanStream stream(bytes.data(), bytes.size());
  bitmap->LoadFromStream(stream);
  return bitmap;
}

// A 24-bit bitmap of the given size, its pixels white, for a test to fill.
inline std::unique_ptr<TBitmap> Bitmap24(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(TPixelFormat::Bit24);
  bitmap->SetWidth(width);
  bitmap->SetHeight(height);
  return bitmap;
}

inline std::vector<std::uint8_t> SaveBitmap(TBitmap& bitmap) {
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  return stream.Bytes();
}

// Lowers the raster engine's pixel ceiling for one test, so that pictures too large for
// it are refused without a large allocation.
struct ScopedPixelCeiling {
  explicit ScopedPixelCeiling(std::uint64_t bytes) { raster::SetMaxPixelBytes(bytes); }
  ~ScopedPixelCeiling() { raster::SetMaxPixelBytes(raster::kMaxPixelBytes); }
  ScopedPixelCeiling(const ScopedPixelCeiling&) = delete;
  ScopedPixelCeiling& operator=(const ScopedPixelCeiling&) = delete;
};

inline raster::Rgb PixelOf(const TBitmap& bitmap, int x, int y) {
  return bitmap.Image()->Pixel(x, y);
}

// Every used byte of every row, the fourth byte of 32-bit pixels included.
inline std::vector<std::uint8_t> RowsOf(const TBitmap& bitmap) {
  std::shared_ptr<const raster::Image> image = bitmap.Image();
  std::vector<std::uint8_t> rows;
  const std::size_t used = static_cast<std::size_t>(image->Width()) * image->BitCount() / 8;
  for (int y = 0; y < image->Height(); ++y) rows.insert(rows.end(), image->Row(y), image->Row(y) + used);
  return rows;
}

}  // namespace pelmora::test
