#include "raster/decode.h"

#include <algorithm>
#include <cstring>

#include "raster/operations.h"
#include "raster/pixels.h"

namespace pelmora::raster {

namespace {

// Writes decoded palette indices into a 32-bit image that starts black, bottom row first
// as RLE data runs. Every write outside the image is dropped.
class RleTarget {
 public:
  RleTarget(Image& image, std::span<const Rgb> table) : image_(image) {
    const std::size_t limit = std::min<std::size_t>(table.size(), 256);
    std::copy_n(table.begin(), limit, table_.begin());
  }

  bool Done() const { return y_ >= image_.Height(); }
  void Put(std::uint8_t index) {
    if (x_ < image_.Width() && y_ < image_.Height()) {
      std::uint8_t* p = image_.MemoryRow(y_) + 4 * static_cast<std::size_t>(x_);
      const Rgb& c = table_[index];
      p[0] = c.blue;
      p[1] = c.green;
      p[2] = c.red;
    }
    if (x_ < image_.Width()) ++x_;  // past the row's end the position stays put: clipped
    else x_ = image_.Width();
  }
  void EndOfLine() {
    x_ = 0;
    ++y_;
  }
  void Delta(int dx, int dy) {
    x_ = std::min(x_ + dx, image_.Width());
    y_ = std::min(y_ + dy, image_.Height());
  }

 private:
  Image& image_;
  std::array<Rgb, 256> table_{};
  int x_ = 0;
  int y_ = 0;
};

// RLE8 and RLE4 data as the BMP format defines them: pairs (count, value) for runs, and
// escapes 0-0 (end of line), 0-1 (end of image), 0-2 (delta), 0-n (n literal pixels,
// padded to 16 bits).
void DecodeRle(std::span<const std::uint8_t> data, bool four_bits, RleTarget& out) {
  std::size_t pos = 0;
  const std::size_t n = data.size();
  while (pos + 1 < n && !out.Done()) {
    const std::uint8_t count = data[pos];
    const std::uint8_t value = data[pos + 1];
    pos += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        out.Put(four_bits ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
      }
      continue;
    }
    switch (value) {
      case 0:
        out.EndOfLine();
        break;
      case 1:
        return;
      case 2:
        if (pos + 1 >= n) return;
        out.Delta(data[pos], data[pos + 1]);
        pos += 2;
        break;
      default: {
        const std::size_t bytes = four_bits ? (value + 1u) / 2 : value;
        for (int i = 0; i < value; ++i) {
          const std::size_t at = pos + (four_bits ? i / 2 : i);
          if (at >= n) return;
          const std::uint8_t b = data[at];
          out.Put(four_bits ? ((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
        }
        pos += bytes + (bytes & 1);
        break;
      }
    }
  }
}

}  // namespace

std::shared_ptr<Image> DecodeToDisplay(const InfoHeader& header, std::span<const Rgb> colours,
                                       const Masks& masks, std::span<const std::uint8_t> data) {
  CheckImageForm(header);
  const int width = header.width;
  const int height = static_cast<int>(RowCount(header));

  if (header.compression == kBiRgb || header.compression == kBiBitfields) {
    auto section = Image::MakeSection(header, colours, masks);
    std::memcpy(section->Bits(), data.data(), std::min(data.size(), section->PixelBytes()));
    auto display = Image::MakeDisplay(width, height, false);
    Convert(*section, *display);
    return display;
  }

  const bool rle4 = header.compression == kBiRle4;
  std::vector<Rgb> table(std::size_t{1} << header.bit_count, kBlack);
  std::copy_n(colours.begin(), std::min(colours.size(), table.size()), table.begin());
  auto display = Image::MakeDisplay(width, height, false);
  const bool plain32 =
      display->BitCount() == 32 && display->BitMasks() == Masks{0xFF0000, 0xFF00, 0xFF};
  if (plain32) {
    // The usual screen: decode straight into the display bitmap.
    RleTarget target(*display, table);
    DecodeRle(data, rle4, target);
    return display;
  }
  InfoHeader plain;
  plain.size = kInfoHeaderSize;
  plain.width = width;
  plain.height = height;
  plain.planes = 1;
  plain.bit_count = 32;
  auto decoded = Image::MakeSection(plain);
  RleTarget target(*decoded, table);
  DecodeRle(data, rle4, target);
  Convert(*decoded, *display);
  return display;
}

}  // namespace pelmora::raster
