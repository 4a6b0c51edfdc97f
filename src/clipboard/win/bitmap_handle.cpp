#include "clipboard/win/bitmap_handle.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/errors.h"
#include "base/strings.h"
#include "base/win/system_error.h"
#include "raster/win/dib.h"

namespace pelmora::win {

namespace {

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(strings::kInvalidBitmap); }

// Reads the bitmap's rows through the platform, straight into the image's memory, in the
// image's own form. Returns the colour table the platform gave with them.
std::vector<raster::Rgb> ReadRows(HBITMAP handle, raster::Image& image) {
  DibInfo info(image);
  WindowDc screen(nullptr);
  const int rows = ::GetDIBits(screen.Get(), handle, 0, static_cast<UINT>(image.Height()),
                               image.Bits(), info.Get(), DIB_RGB_COLORS);
  // The handle was checked a moment ago, but another program may have emptied the
  // clipboard and so destroyed the bitmap since.
  if (rows == 0) InvalidBitmap();
  std::vector<raster::Rgb> colours;
  if (image.BitCount() <= 8) {
    colours.resize(image.ColourTable().size());
    std::memcpy(colours.data(), info.Get()->bmiColors, colours.size() * sizeof(RGBQUAD));
  }
  return colours;
}

// A DIB section keeps its header, depth and colours. Its pixel pointer belongs to the
// program that made it, so its rows are read through the platform, never from that
// address: a section placed by another program points into that program's memory.
std::shared_ptr<raster::Image> CopySection(HBITMAP handle, const DIBSECTION& section) {
  raster::InfoHeader header;
  header.size = raster::kInfoHeaderSize;
  header.width = section.dsBmih.biWidth;
  header.height = section.dsBmih.biHeight;
  header.planes = 1;
  header.bit_count = section.dsBmih.biBitCount;
  header.compression = section.dsBmih.biCompression;
  header.x_pels_per_meter = section.dsBmih.biXPelsPerMeter;
  header.y_pels_per_meter = section.dsBmih.biYPelsPerMeter;
  header.clr_used = section.dsBmih.biClrUsed;
  header.clr_important = section.dsBmih.biClrImportant;
  raster::Masks masks{section.dsBitfields[0], section.dsBitfields[1], section.dsBitfields[2]};
  auto image = raster::Image::MakeSection(header, {}, masks);
  const std::vector<raster::Rgb> colours = ReadRows(handle, *image);
  image->SetColourTable(0, colours);
  return image;
}

std::shared_ptr<raster::Image> CopyDeviceBitmap(HBITMAP handle, const BITMAP& bitmap) {
  const bool monochrome = bitmap.bmPlanes == 1 && bitmap.bmBitsPixel == 1;
  auto image = raster::Image::MakeDisplay(bitmap.bmWidth, bitmap.bmHeight, monochrome);
  if (image->Width() == 0 || image->Height() == 0) return image;
  ReadRows(handle, *image);
  return image;
}

}  // namespace

std::shared_ptr<raster::Image> ImageFromBitmapHandle(HBITMAP handle) {
  DIBSECTION section{};
  int size = handle ? ::GetObjectW(handle, sizeof(section), &section) : 0;
  if (size < static_cast<int>(sizeof(BITMAP)) || ::GetObjectType(handle) != OBJ_BITMAP) {
    InvalidBitmap();
  }
  if (section.dsBm.bmBits != nullptr && size >= static_cast<int>(sizeof(DIBSECTION))) {
    return CopySection(handle, section);
  }
  return CopyDeviceBitmap(handle, section.dsBm);
}

UniqueBitmap BitmapHandleFromImage(const raster::Image& image) {
  WindowDc screen(nullptr);
  UniqueBitmap bitmap(image.IsMonochrome() && !image.IsSection()
                          ? ::CreateBitmap(image.Width(), image.Height(), 1, 1, nullptr)
                          : ::CreateCompatibleBitmap(screen.Get(), image.Width(), image.Height()));
  if (!bitmap) RaiseOutOfResources();
  if (image.Width() > 0 && image.Height() > 0) {
    DibInfo info(image);
    if (::SetDIBits(screen.Get(), bitmap.Get(), 0, static_cast<UINT>(image.Height()),
                    image.Bits(), info.Get(), DIB_RGB_COLORS) == 0) {
      RaiseOutOfResources();
    }
  }
  return bitmap;
}

}  // namespace pelmora::win
