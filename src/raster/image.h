#pragma once
// Images in memory we own: display bitmaps (in the screen's format, or monochrome) and
// sections (an info header, a colour table and addressable pixel rows).
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "raster/palette.h"

namespace pelmora::raster {

// Compression values of an info header.
inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;

inline constexpr std::uint32_t kInfoHeaderSize = 40;
inline constexpr std::uint32_t kCoreHeaderSize = 12;

// No image may hold more pixel memory than this.
inline constexpr std::uint64_t kMaxPixelBytes = std::uint64_t{1} << 30;
// The ceiling in force: kMaxPixelBytes, unless a fuzz target or test lowers it to explore
// the same paths with less memory.
std::uint64_t MaxPixelBytes();
void SetMaxPixelBytes(std::uint64_t bytes);

// The fields of a BMP info header, as the file holds them.
struct InfoHeader {
  std::uint32_t size = 0;  // 0: no device-independent form is asked for
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows lie top-down in memory
  std::uint16_t planes = 0;
  std::uint16_t bit_count = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t size_image = 0;
  std::int32_t x_pels_per_meter = 0;
  std::int32_t y_pels_per_meter = 0;
  std::uint32_t clr_used = 0;
  std::uint32_t clr_important = 0;
};

// What any image reports of itself: width, height (always positive), bytes per row,
// planes, bits per pixel and, for a section, the address of its pixel memory.
struct BitmapFacts {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t width_bytes = 0;
  std::uint16_t planes = 0;
  std::uint16_t bits_pixel = 0;
  std::uint8_t* bits = nullptr;
};

using Masks = std::array<std::uint32_t, 3>;  // red, green, blue

// The full description of an image: the bitmap facts, the info header (size 0 for a
// display bitmap) and the three colour masks.
struct Description {
  BitmapFacts bitmap;
  InfoHeader header;
  Masks masks{};
};

// The masks a 16- or 32-bit bit-field image gets when none are given.
Masks DefaultBitfieldMasks(int bit_count);

// Fails with EInvalidGraphic "invalid bitmap image": the one failure for an image form the
// engine cannot hold or decode.
[[noreturn]] void InvalidImage();

// Checks the form an info header gives an image: a width above zero, a height other than
// zero whose magnitude fits (not -2^31), a bit count of 1, 4, 8, 16, 24 or 32, and a
// compression that fits the bit count (bit fields at 16 or 32 bits, RLE8 at 8, RLE4 at 4;
// run-length rows only bottom-up). Fails with InvalidImage.
void CheckImageForm(const InfoHeader& header);

// A 32-bit image whose masks are the usual blue, green and red bytes (BI_RGB, or bit fields
// with those masks): its fourth byte is free to hold alpha.
bool HasByteMasks(int bit_count, const Masks& masks);

// The number of rows an info header gives, whichever way they lie.
inline std::uint32_t RowCount(const InfoHeader& header) {
  return header.height < 0 ? 0u - static_cast<std::uint32_t>(header.height)
                           : static_cast<std::uint32_t>(header.height);
}

class Image {
 public:
  enum class Kind { Display, Section };

  // A section from an info header (width, height with its sign, bit count 1, 4, 8, 16, 24
  // or 32, compression BI_RGB or BI_BITFIELDS), up to 256 colours for its colour table
  // (the rest of the table is black) and the masks for BI_BITFIELDS (zero masks take the
  // defaults). The pixel memory starts zero. Fails with EInvalidGraphic for a header it
  // cannot make, and with EOutOfResources "the picture is too large" for pixel memory above
  // MaxPixelBytes() or memory the system does not give.
  static std::shared_ptr<Image> MakeSection(const InfoHeader& header,
                                            std::span<const Rgb> colours = {},
                                            const Masks& masks = {});
  // A display bitmap: in the screen's format, or monochrome (black and white). Its pixels
  // start black; a zero width or height gives an empty one without pixels. Fails like
  // MakeSection.
  static std::shared_ptr<Image> MakeDisplay(int width, int height, bool monochrome);

  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  ~Image();

  Kind kind() const { return kind_; }
  bool IsSection() const { return kind_ == Kind::Section; }
  bool IsMonochrome() const { return bit_count_ == 1; }

  // The description as the platform reports it: for a display bitmap only the bitmap
  // facts (no pixel address, rows padded to 16 bits), the rest zero.
  Description Describe() const;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool TopDown() const { return top_down_; }
  int BitCount() const { return bit_count_; }
  std::uint32_t Compression() const { return header_.compression; }
  const InfoHeader& Header() const { return header_; }
  const Masks& BitMasks() const { return masks_; }
  std::size_t RowBytes() const { return row_bytes_; }
  std::size_t PixelBytes() const { return row_bytes_ * static_cast<std::size_t>(height_); }

  std::uint8_t* Bits() { return bits_.get(); }
  const std::uint8_t* Bits() const { return bits_.get(); }
  // A row as it lies in memory (0 = first in memory).
  std::uint8_t* MemoryRow(int index) { return bits_.get() + RowOffset(index); }
  const std::uint8_t* MemoryRow(int index) const { return bits_.get() + RowOffset(index); }
  // A row of the picture (0 = top).
  std::uint8_t* Row(int y) { return MemoryRow(top_down_ ? y : height_ - 1 - y); }
  const std::uint8_t* Row(int y) const { return MemoryRow(top_down_ ? y : height_ - 1 - y); }

  // The colour table: up to 8 bits, 2^bits entries or the header's smaller colours-used;
  // none above 8 bits. Pixel values past its end show black.
  std::span<const Rgb> ColourTable() const {
    return std::span<const Rgb>(colours_).first(colour_count_);
  }
  // The whole table of 2^bits entries (for decoding pixels of any value).
  std::span<const Rgb> FullColourTable() const { return colours_; }
  // Sets entries from `first` on; returns how many were set.
  int SetColourTable(int first, std::span<const Rgb> colours);

  // The colour of one pixel (x, y from the top-left corner).
  Rgb Pixel(int x, int y) const;
  void SetPixel(int x, int y, Rgb colour);

  // The fourth byte of each pixel of a 32-bit section is straight alpha (0 transparent, 255
  // opaque) rather than unused: set for pictures with transparency. Colours written through
  // the generic pixel paths (fills, conversions) are then opaque. Only a 32-bit section
  // with the usual byte masks takes it; for any other image it stays false.
  bool HasAlpha() const { return alpha_; }
  void SetAlpha(bool value);

  // Fills the whole image with a colour (nearest entry of the colour table up to 8 bits).
  void Fill(Rgb colour);
  // Fills picture rows [first, last) with a colour.
  void FillRows(int first, int last, Rgb colour);
  void FillWhite() { Fill(kWhite); }

 private:
  Image() = default;
  std::size_t RowOffset(int index) const {
    return static_cast<std::size_t>(index) * row_bytes_;
  }

  struct FreeDeleter {
    void operator()(std::uint8_t* p) const;
  };

  Kind kind_ = Kind::Section;
  InfoHeader header_;
  Masks masks_{};
  int width_ = 0;
  int height_ = 0;
  bool top_down_ = false;
  int bit_count_ = 0;
  std::size_t row_bytes_ = 0;
  std::vector<Rgb> colours_;
  std::size_t colour_count_ = 0;
  bool alpha_ = false;
  std::unique_ptr<std::uint8_t[], FreeDeleter> bits_;
};

}  // namespace pelmora::raster
