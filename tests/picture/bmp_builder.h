#pragma once
// Builds BMP files byte by byte, so that tests can describe every variant (and every
// broken one) exactly.
#include <cstdint>
#include <vector>

#include "raster/palette.h"

namespace pelmora::test {

struct BmpSpec {
  std::uint32_t header_size = 40;  // 12 writes a core header
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t planes = 1;
  std::uint16_t bit_count = 24;
  std::uint32_t compression = 0;
  // Image size field; UINT32_MAX: rows x row bytes, or the data's size when compressed.
  std::uint32_t size_image = UINT32_MAX;
  std::int32_t x_pels_per_meter = 0;
  std::int32_t y_pels_per_meter = 0;
  std::uint32_t clr_used = 0;
  std::uint32_t clr_important = 0;
  std::vector<std::uint32_t> masks;       // written after a 40-byte header, or inside a longer one
  std::vector<raster::Rgb> colours;       // 4 bytes each, 3 with a core header
  std::vector<std::uint8_t> gap;          // bytes between colour table and pixels
  std::vector<std::uint8_t> pixels;
  std::uint16_t type = 0x4D42;
};

inline void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

inline std::uint32_t RowBytesOf(std::int32_t width, int bits) {
  return static_cast<std::uint32_t>((static_cast<std::int64_t>(width) * bits + 31) / 32 * 4);
}

inline std::vector<std::uint8_t> BuildBmp(const BmpSpec& s) {
  std::vector<std::uint8_t> head;
  if (s.header_size == 12) {
    Put32(head, 12);
    Put16(head, static_cast<std::uint32_t>(s.width));
    Put16(head, static_cast<std::uint32_t>(s.height));
    Put16(head, s.planes);
    Put16(head, s.bit_count);
  } else {
    const std::uint32_t rows = static_cast<std::uint32_t>(s.height < 0 ? -s.height : s.height);
    const bool rle = s.compression == 1 || s.compression == 2;
    const std::uint32_t size_image =
        s.size_image != UINT32_MAX ? s.size_image
        : rle                      ? static_cast<std::uint32_t>(s.pixels.size())
                                   : RowBytesOf(s.width, s.bit_count) * rows;
    Put32(head, s.header_size);
    Put32(head, static_cast<std::uint32_t>(s.width));
    Put32(head, static_cast<std::uint32_t>(s.height));
    Put16(head, s.planes);
    Put16(head, s.bit_count);
    Put32(head, s.compression);
    Put32(head, size_image);
    Put32(head, static_cast<std::uint32_t>(s.x_pels_per_meter));
    Put32(head, static_cast<std::uint32_t>(s.y_pels_per_meter));
    Put32(head, s.clr_used);
    Put32(head, s.clr_important);
    if (s.header_size > 40) {
      for (std::uint32_t m : s.masks) Put32(head, m);
      // Sizes beyond any real header are written as given but not padded out.
      if (s.header_size <= 4096) head.resize(s.header_size, 0);
    } else {
      for (std::uint32_t m : s.masks) Put32(head, m);
    }
  }
  for (const raster::Rgb& c : s.colours) {
    head.push_back(c.blue);
    head.push_back(c.green);
    head.push_back(c.red);
    if (s.header_size != 12) head.push_back(0);
  }
  head.insert(head.end(), s.gap.begin(), s.gap.end());

  std::vector<std::uint8_t> file;
  const auto offset = static_cast<std::uint32_t>(14 + head.size());
  Put16(file, s.type);
  Put32(file, offset + static_cast<std::uint32_t>(s.pixels.size()));
  Put32(file, 0);
  Put32(file, offset);
  file.insert(file.end(), head.begin(), head.end());
  file.insert(file.end(), s.pixels.begin(), s.pixels.end());
  return file;
}

}  // namespace pelmora::test

namespace pelmora::test {

// The same bitmap as another program places it on the clipboard: without the file header.
inline std::vector<std::uint8_t> BuildDib(const BmpSpec& s) {
  std::vector<std::uint8_t> file = BuildBmp(s);
  return std::vector<std::uint8_t>(file.begin() + 14, file.end());
}

}  // namespace pelmora::test
