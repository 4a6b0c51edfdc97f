// Loads any bytes as a BMP and writes back what loaded, and reads them as a packed bitmap of
// the clipboard, under the sanitizers: a file may fail to load with one of the program's
// errors, but never read or write out of bounds.
#include <cstddef>
#include <cstdint>

#include "base/errors.h"
#include "base/stream.h"
#include "picture/bitmap.h"
#include "raster/image.h"

// The same paths as with the full ceiling, at a size that lets the fuzzer run fast.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pelmora::raster::SetMaxPixelBytes(std::uint64_t{4} << 20);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pelmora;
  // The same bytes as a packed bitmap from another program's clipboard, whose alpha is read.
  try {
    TBitmap packed;
    packed.LoadFromDib(data, size);
    if (packed.HasAlpha()) packed.FlattenOnWhite();
  } catch (const Exception&) {
  }
  TBitmap bitmap;
  try {
    TSpanStream in(data, size);
    bitmap.LoadFromStream(in);
  } catch (const Exception&) {
    return 0;
  }
  try {
    TMemoryStream out;
    bitmap.SaveToStream(out);
    // Whatever was written must load again.
    out.SetPosition(0);
    TBitmap again;
    again.LoadFromStream(out);
    if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()) __builtin_trap();
    if (!bitmap.Empty()) bitmap.ScanLine(bitmap.Height() - 1);
  } catch (const Exception&) {
    __builtin_trap();  // a bitmap that loaded must save and load again
  }
  return 0;
}
