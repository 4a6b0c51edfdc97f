#include "raster/win/dib.h"

#include <cstring>
#include <stdexcept>

#include "raster/checked_math.h"

namespace pelmora::win {

DibInfo::DibInfo(const raster::Image& image)
    : storage_(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0) {
  const auto row_bytes = raster::PaddedRowBytes(static_cast<std::uint64_t>(image.Width()),
                                                static_cast<std::uint64_t>(image.BitCount()));
  if (!row_bytes || image.RowBytes() != *row_bytes) {
    throw std::logic_error("engine rows are not padded to 32 bits");
  }
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(storage_.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = image.Width();
  header->biHeight = image.TopDown() ? -image.Height() : image.Height();
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(image.BitCount());
  const bool bitfields = image.Compression() == raster::kBiBitfields &&
                         (image.BitCount() == 16 || image.BitCount() == 32);
  header->biCompression = bitfields ? BI_BITFIELDS : BI_RGB;
  header->biSizeImage = static_cast<DWORD>(image.PixelBytes());
  auto* table = storage_.data() + sizeof(BITMAPINFOHEADER);
  if (bitfields) {
    std::memcpy(table, image.BitMasks().data(), sizeof(raster::Masks));
  } else if (image.BitCount() <= 8) {
    auto colours = image.ColourTable();
    header->biClrUsed = static_cast<DWORD>(colours.size());
    std::memcpy(table, colours.data(), colours.size() * sizeof(RGBQUAD));
  }
}

}  // namespace pelmora::win
