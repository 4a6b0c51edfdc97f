// PNG load on arbitrary bytes, under the sanitizers: a load decodes the whole file, which
// may fail with one of the program's errors but never read or write out of bounds or leak.
// What loaded is drawn over the checkerboard, put on white, and saved as PNG again, which
// must load back to the same pixels.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/errors.h"
#include "base/stream.h"
#include "picture/bitmap.h"
#include "picture/canvas.h"
#include "picture/png_image.h"
#include "raster/image.h"

namespace {

using namespace pelmora;

// Saving costs time under the sanitizers, not coverage: larger pictures are only decoded.
constexpr std::int64_t kMaxSavedPixels = std::int64_t{1} << 16;

bool SameRows(const raster::Image& a, const raster::Image& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.BitCount() != b.BitCount()) {
    return false;
  }
  const std::size_t used = static_cast<std::size_t>(a.Width()) * a.BitCount() / 8;
  for (int y = 0; y < a.Height(); ++y) {
    if (std::memcmp(a.Row(y), b.Row(y), used) != 0) return false;
  }
  return true;
}

}  // namespace

// The same paths as with the full ceiling, at a size that lets the fuzzer run fast.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  raster::SetMaxPixelBytes(std::uint64_t{16} << 20);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TPngImage image;
  try {
    TSpanStream in(data, size);
    image.LoadFromStream(in);
  } catch (const Exception&) {
    return 0;
  }
  TBitmap& bitmap = image.Bitmap();
  if (bitmap.Empty()) return 0;
  try {
    raster::InfoHeader header{40, 24, 16, 1, 24};
    TImageCanvas canvas(raster::Image::MakeSection(header));
    bitmap.Draw(canvas, TRect{3, 2, 3 + std::min(bitmap.Width(), 19), 2 + std::min(bitmap.Height(), 13)});
    if (std::int64_t{bitmap.Width()} * bitmap.Height() > kMaxSavedPixels) return 0;
    TBitmap flat;
    flat.Assign(&bitmap);
    flat.FlattenOnWhite();

    TPngImage again;
    again.Assign(&bitmap);
    TMemoryStream out;
    again.SaveToStream(out);
    out.SetPosition(0);
    TPngImage back;
    back.LoadFromStream(out);
    if (back.Bitmap().HasAlpha() != bitmap.HasAlpha() ||
        !SameRows(*back.Bitmap().Image(), *bitmap.Image())) {
      __builtin_trap();
    }
  } catch (const Exception&) {
    __builtin_trap();  // a picture that loaded must draw, save and load again
  }
  return 0;
}
