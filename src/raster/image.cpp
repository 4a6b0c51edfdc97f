#include "raster/image.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "base/errors.h"
#include "base/strings.h"
#include "raster/checked_math.h"
#include "raster/pixels.h"
#include "raster/screen.h"

namespace pelmora::raster {

namespace {

[[noreturn]] void TooLarge() { throw EOutOfResources(strings::kPictureTooLarge); }

bool IndexedDepth(int bits) { return bits == 1 || bits == 4 || bits == 8; }

// The masks a BI_RGB image of more than 8 bits implies.
Masks ImpliedMasks(int bit_count) {
  if (bit_count == 16) return {0x7C00, 0x03E0, 0x001F};
  if (bit_count == 24 || bit_count == 32) return {0xFF0000, 0x00FF00, 0x0000FF};
  return {};
}

}  // namespace

namespace {
std::atomic<std::uint64_t> g_max_pixel_bytes{kMaxPixelBytes};
}  // namespace

std::uint64_t MaxPixelBytes() { return g_max_pixel_bytes.load(); }
void SetMaxPixelBytes(std::uint64_t bytes) {
  g_max_pixel_bytes.store(std::min(bytes, kMaxPixelBytes));
}

Masks DefaultBitfieldMasks(int bit_count) {
  if (bit_count == 16) return {0xF800, 0x07E0, 0x001F};
  if (bit_count == 32) return {0xFF0000, 0x00FF00, 0x0000FF};
  return {};
}

bool HasByteMasks(int bit_count, const Masks& masks) {
  return bit_count == 32 && masks == Masks{0xFF0000, 0x00FF00, 0x0000FF};
}

void InvalidImage() { throw EInvalidGraphic(strings::kInvalidBitmap); }

void CheckImageForm(const InfoHeader& header) {
  if (header.width <= 0 || header.height == 0 || header.height == INT32_MIN) InvalidImage();
  const int bits = header.bit_count;
  if (!IndexedDepth(bits) && bits != 16 && bits != 24 && bits != 32) InvalidImage();
  switch (header.compression) {
    case kBiRgb:
      return;
    case kBiBitfields:
      if (bits != 16 && bits != 32) InvalidImage();
      return;
    case kBiRle8:
    case kBiRle4:
      // Run-length data is always stored bottom-up.
      if (bits != (header.compression == kBiRle8 ? 8 : 4) || header.height < 0) InvalidImage();
      return;
    default:
      InvalidImage();
  }
}

void Image::FreeDeleter::operator()(std::uint8_t* p) const { std::free(p); }

Image::~Image() = default;

std::shared_ptr<Image> Image::MakeSection(const InfoHeader& header, std::span<const Rgb> colours,
                                          const Masks& masks) {
  CheckImageForm(header);
  // A section holds its pixels as they are: no run-length data.
  if (header.compression != kBiRgb && header.compression != kBiBitfields) InvalidImage();
  const int bits = header.bit_count;
  const std::uint64_t height = RowCount(header);
  // A sound header whose pixels would pass the ceiling, or memory the system refuses, is
  // a shortage, not a broken picture.
  auto row_bytes = PaddedRowBytes(static_cast<std::uint64_t>(header.width), bits);
  if (!row_bytes) TooLarge();
  auto total = CheckedMul(*row_bytes, height);
  if (!total || *total > MaxPixelBytes()) TooLarge();

  auto* memory = static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(*total), 1));
  if (memory == nullptr) TooLarge();

  std::shared_ptr<Image> image(new Image());
  image->bits_.reset(memory);
  image->kind_ = Kind::Section;
  image->header_ = header;
  image->header_.size = kInfoHeaderSize;
  image->header_.planes = 1;
  image->header_.size_image = static_cast<std::uint32_t>(*total);
  image->width_ = header.width;
  image->height_ = static_cast<int>(height);
  image->top_down_ = header.height < 0;
  image->bit_count_ = bits;
  image->row_bytes_ = static_cast<std::size_t>(*row_bytes);

  if (IndexedDepth(bits)) {
    const std::size_t full = std::size_t{1} << bits;
    image->colours_.assign(full, kBlack);
    std::size_t given = std::min(colours.size(), full);
    std::copy_n(colours.begin(), given, image->colours_.begin());
    for (Rgb& c : image->colours_) c.reserved = 0;
    image->colour_count_ =
        (header.clr_used > 0 && header.clr_used < full) ? header.clr_used : full;
  } else {
    image->header_.clr_used = header.clr_used;
    image->masks_ = ImpliedMasks(bits);
    if (header.compression == kBiBitfields) {
      image->masks_ = masks[0] == 0 && masks[1] == 0 && masks[2] == 0
                          ? DefaultBitfieldMasks(bits)
                          : masks;
    }
  }
  return image;
}

std::shared_ptr<Image> Image::MakeDisplay(int width, int height, bool monochrome) {
  if (width < 0 || height < 0) InvalidImage();
  if (width == 0 || height == 0) {
    // The platform has empty display bitmaps (a 0 x 0 clipboard bitmap): no pixels.
    std::shared_ptr<Image> empty(new Image());
    empty->kind_ = Kind::Display;
    empty->width_ = width;
    empty->height_ = height;
    empty->bit_count_ = monochrome ? 1 : 32;
    return empty;
  }
  const int depth = monochrome ? 1 : Screen().Depth();
  InfoHeader header;
  header.size = kInfoHeaderSize;
  header.width = width;
  header.height = height;
  header.planes = 1;
  std::shared_ptr<Palette> table;
  if (depth <= 1) {
    header.bit_count = 1;
  } else if (depth <= 4) {
    header.bit_count = 4;
    table = Palette::System16();
  } else if (depth <= 8) {
    header.bit_count = 8;
    table = Palette::MakeHalftone();
  } else if (depth <= 15) {
    header.bit_count = 16;
  } else if (depth == 16) {
    header.bit_count = 16;
    header.compression = kBiBitfields;
  } else if (depth <= 24) {
    header.bit_count = 24;
  } else {
    header.bit_count = 32;
  }
  static constexpr Rgb kMono[] = {kBlack, kWhite};
  std::span<const Rgb> colours = table ? std::span<const Rgb>(table->Entries())
                                 : header.bit_count == 1 ? std::span<const Rgb>(kMono)
                                                         : std::span<const Rgb>();
  auto image = MakeSection(header, colours, {});
  image->kind_ = Kind::Display;
  return image;
}

Description Image::Describe() const {
  Description d;
  d.bitmap.width = width_;
  d.bitmap.height = height_;
  d.bitmap.planes = 1;
  d.bitmap.bits_pixel = static_cast<std::uint16_t>(bit_count_);
  if (kind_ == Kind::Display) {
    // A display bitmap reports rows padded to 16 bits and no pixel address.
    d.bitmap.width_bytes = static_cast<std::int32_t>((std::int64_t{width_} * bit_count_ + 15) / 16 * 2);
    return d;
  }
  d.bitmap.width_bytes = static_cast<std::int32_t>(row_bytes_);
  d.bitmap.bits = bits_.get();
  d.header = header_;
  d.masks = masks_;
  return d;
}

int Image::SetColourTable(int first, std::span<const Rgb> colours) {
  if (first < 0 || static_cast<std::size_t>(first) >= colour_count_) return 0;
  std::size_t n = std::min(colours.size(), colour_count_ - static_cast<std::size_t>(first));
  for (std::size_t i = 0; i < n; ++i) {
    colours_[first + i] = colours[i];
    colours_[first + i].reserved = 0;
  }
  return static_cast<int>(n);
}

void Image::SetAlpha(bool value) {
  alpha_ = value && kind_ == Kind::Section && HasByteMasks(bit_count_, masks_);
}

Rgb Image::Pixel(int x, int y) const {
  Rgb out;
  RowReader(*this).Read(y, x, 1, &out);
  return out;
}

void Image::SetPixel(int x, int y, Rgb colour) { RowWriter(*this).Write(y, x, 1, &colour); }

void Image::Fill(Rgb colour) { FillRows(0, height_, colour); }

void Image::FillRows(int first, int last, Rgb colour) {
  first = std::max(first, 0);
  last = std::min(last, height_);
  if (first >= last) return;
  // Write one row through the image's own form, a piece at a time so that a wide row of
  // few bits needs no colour buffer of its width, then repeat its bytes.
  constexpr int kPiece = 1024;
  const std::vector<Rgb> piece(static_cast<std::size_t>(std::min(width_, kPiece)), colour);
  RowWriter writer(*this);
  for (int x = 0, count = 0; x < width_; x += count) {
    count = std::min(kPiece, width_ - x);
    writer.Write(first, x, count, piece.data());
  }
  const std::uint8_t* model = Row(first);
  for (int y = first + 1; y < last; ++y) std::memcpy(Row(y), model, row_bytes_);
}

}  // namespace pelmora::raster
