#include "clipboard/win/bitmap_handle.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/errors.h"
#include "base/strings.h"
#include "base/win/system_error.h"
#include "clipboard/win/dib.h"

namespace pelmora::win {

namespace {

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(strings::kInvalidBitmap); }

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

  std::vector<raster::Rgb> colours;
  if (header.bit_count <= 8) {
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc) RaiseOutOfResources();
    HGDIOBJ old = ::SelectObject(dc.Get(), handle);
    RGBQUAD table[256];
    UINT count = ::GetDIBColorTable(dc.Get(), 0, 256, table);
    ::SelectObject(dc.Get(), old);
    colours.resize(count);
    std::memcpy(colours.data(), table, count * sizeof(RGBQUAD));
  }
  raster::Masks masks{section.dsBitfields[0], section.dsBitfields[1], section.dsBitfields[2]};
  auto image = raster::Image::MakeSection(header, colours, masks);

  // Same header, so the same memory layout: copy the rows in memory order.
  const auto* source = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
  const std::size_t source_stride = static_cast<std::size_t>(section.dsBm.bmWidthBytes);
  const std::size_t row = std::min(source_stride, image->RowBytes());
  ::GdiFlush();
  for (int y = 0; y < image->Height(); ++y) {
    std::memcpy(image->MemoryRow(y), source + static_cast<std::size_t>(y) * source_stride, row);
  }
  return image;
}

std::shared_ptr<raster::Image> CopyDeviceBitmap(HBITMAP handle, const BITMAP& bitmap) {
  const bool monochrome = bitmap.bmPlanes == 1 && bitmap.bmBitsPixel == 1;
  auto image = raster::Image::MakeDisplay(bitmap.bmWidth, bitmap.bmHeight, monochrome);
  if (image->Width() == 0 || image->Height() == 0) return image;
  DibInfo info(*image);
  WindowDc screen(nullptr);
  int rows = ::GetDIBits(screen.Get(), handle, 0, static_cast<UINT>(image->Height()),
                         image->Bits(), info.Get(), DIB_RGB_COLORS);
  // The handle was checked a moment ago, but another program may have emptied the
  // clipboard and so destroyed the bitmap since.
  if (rows == 0) InvalidBitmap();
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
