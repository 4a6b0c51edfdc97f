#pragma once
// Engine images as the platform's device-independent bitmaps: a BITMAPINFO describing an
// image's memory exactly, for GetDIBits, SetDIBits and StretchDIBits.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "raster/image.h"

namespace pelmora::win {

class DibInfo {
 public:
  // Describes the image's rows as they lie in memory (its own orientation), with its colour
  // table, or its masks for bit fields. Rows must be padded to 32 bits, as the engine keeps
  // them.
  explicit DibInfo(const raster::Image& image);

  BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(storage_.data()); }
  const BITMAPINFO* Get() const { return reinterpret_cast<const BITMAPINFO*>(storage_.data()); }

 private:
  std::vector<std::uint8_t> storage_;
};

}  // namespace pelmora::win
