#include "picture/png_image.h"

#include <vector>

#include "base/strings.h"
#include "picture/png_codec.h"
#include "picture/stream_bytes.h"
#include "raster/image.h"
#include "raster/pixels.h"

namespace pelmora {

void DecodePng(const std::uint8_t* data, std::size_t size, TBitmap& bitmap) {
  png::Decoder decoder(data, size);
  decoder.Start();
  raster::InfoHeader header;
  header.size = raster::kInfoHeaderSize;
  header.width = decoder.Width();
  header.height = decoder.Height();
  header.planes = 1;
  header.bit_count = decoder.HasAlpha() ? 32 : 24;
  std::shared_ptr<raster::Image> image = raster::Image::MakeSection(header);
  // A picture whose every pixel is opaque is held as any other 32-bit bitmap.
  image->SetAlpha(decoder.DecodeRows([&](int y) { return image->Row(y); }));
  bitmap.AdoptImage(std::move(image));
}

TPngImage::TPngImage() : TCompressedImage(strings::kPngCannotResize) {}

TPngImage::~TPngImage() = default;

const GraphicClass& TPngImage::StaticClass() {
  static const GraphicClass kind{"TPngImage", nullptr, [] {
    return std::unique_ptr<TGraphic>(std::make_unique<TPngImage>());
  }};
  return kind;
}

std::shared_ptr<raster::Palette> TPngImage::Palette() {
  return bitmap_ ? bitmap_->Palette() : nullptr;
}

void TPngImage::LoadFromStream(TStream& stream) {
  std::vector<std::uint8_t> bytes = ReadRemainingBytes(stream);
  auto bitmap = std::make_unique<TBitmap>();
  if (!bytes.empty()) DecodePng(bytes.data(), bytes.size(), *bitmap);
  auto file = std::make_shared<File>();
  file->width = bitmap->Width();
  file->height = bitmap->Height();
  file->bytes = std::make_unique<TMemoryStream>(std::move(bytes));
  file_ = std::move(file);
  bitmap_ = std::move(bitmap);
  Changed();
}

std::vector<std::uint8_t> TPngImage::Encode(const TBitmap& bitmap) {
  std::shared_ptr<const raster::Image> image = bitmap.Image();
  const bool alpha = image->HasAlpha();
  const int width = image->Width();
  // A 24-bit or transparent bitmap is read in place; any other form a row at a time
  // through its colours.
  const bool in_place = alpha || image->BitCount() == 24;
  std::vector<raster::Rgb> colours(in_place ? 0 : static_cast<std::size_t>(width));
  std::vector<std::uint8_t> row(in_place ? 0 : static_cast<std::size_t>(width) * 3);
  raster::RowReader reader(*image);
  return png::Encode(width, image->Height(), alpha, [&](int y) -> const std::uint8_t* {
    if (in_place) return image->Row(y);
    reader.Read(y, 0, width, colours.data());
    for (int x = 0; x < width; ++x) {
      row[3 * x] = colours[x].blue;
      row[3 * x + 1] = colours[x].green;
      row[3 * x + 2] = colours[x].red;
    }
    return row.data();
  });
}

TBitmap& TPngImage::Bitmap() {
  if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
  return *bitmap_;
}

}  // namespace pelmora
