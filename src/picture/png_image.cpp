#include "picture/png_image.h"

#include <vector>

#include "base/errors.h"
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

TPngImage::TPngImage() : data_(std::make_shared<TPngData>()) {}

TPngImage::~TPngImage() = default;

const GraphicClass& TPngImage::StaticClass() {
  static const GraphicClass kind{"TPngImage", nullptr, [] {
    return std::unique_ptr<TGraphic>(std::make_unique<TPngImage>());
  }};
  return kind;
}

void TPngImage::Assign(const TPersistent* source) {
  if (const auto* png = dynamic_cast<const TPngImage*>(source)) {
    std::unique_ptr<TBitmap> copy;
    if (png->bitmap_) {
      copy = std::make_unique<TBitmap>();
      copy->Assign(png->bitmap_.get());
    }
    data_ = png->data_;
    bitmap_ = std::move(copy);
    return;
  }
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(bitmap);
    data_ = std::make_shared<TPngData>();
    bitmap_ = std::move(copy);
    return;
  }
  throw EConvertError(strings::kAssignError,
                      {source != nullptr ? source->ClassName() : "nil", "TPngImage"});
}

void TPngImage::Draw(TCanvas& canvas, const TRect& rect) { Bitmap().Draw(canvas, rect); }

bool TPngImage::Empty() const {
  if (data_->bytes) return false;
  return bitmap_ == nullptr || bitmap_->Empty();
}

int TPngImage::Height() const { return bitmap_ ? bitmap_->Height() : data_->height; }

int TPngImage::Width() const { return bitmap_ ? bitmap_->Width() : data_->width; }

std::shared_ptr<raster::Palette> TPngImage::Palette() {
  return bitmap_ ? bitmap_->Palette() : nullptr;
}

void TPngImage::SetHeight(int) { throw EInvalidGraphicOperation(strings::kPngCannotResize); }

void TPngImage::SetWidth(int) { throw EInvalidGraphicOperation(strings::kPngCannotResize); }

void TPngImage::LoadFromStream(TStream& stream) {
  std::vector<std::uint8_t> bytes = ReadRemainingBytes(stream);
  auto bitmap = std::make_unique<TBitmap>();
  if (!bytes.empty()) DecodePng(bytes.data(), bytes.size(), *bitmap);
  auto data = std::make_shared<TPngData>();
  data->width = bitmap->Width();
  data->height = bitmap->Height();
  data->bytes = std::make_unique<TMemoryStream>(std::move(bytes));
  data_ = std::move(data);
  bitmap_ = std::move(bitmap);
  Changed();
}

void TPngImage::SaveToStream(TStream& stream) {
  const TMemoryStream& bytes = Bytes();
  stream.WriteBuffer(bytes.Data(), bytes.Bytes().size());
}

const TMemoryStream& TPngImage::Bytes() {
  if (!data_->bytes) Encode();
  return *data_->bytes;
}

void TPngImage::Encode() {
  std::vector<std::uint8_t> out;
  if (bitmap_ && bitmap_->Width() > 0 && bitmap_->Height() > 0) {
    std::shared_ptr<const raster::Image> image = bitmap_->Image();
    const bool alpha = image->HasAlpha();
    const int width = image->Width();
    // A 24-bit or transparent bitmap is read in place; any other form a row at a time
    // through its colours.
    const bool in_place = alpha || image->BitCount() == 24;
    std::vector<raster::Rgb> colours(in_place ? 0 : static_cast<std::size_t>(width));
    std::vector<std::uint8_t> row(in_place ? 0 : static_cast<std::size_t>(width) * 3);
    raster::RowReader reader(*image);
    out = png::Encode(width, image->Height(), alpha, [&](int y) -> const std::uint8_t* {
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
  data_->bytes = std::make_unique<TMemoryStream>(std::move(out));
}

TBitmap& TPngImage::Bitmap() {
  if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
  return *bitmap_;
}

void TPngImage::LoadFromClipboardFormat(std::uint16_t format, const ClipboardData& data) {
  TBitmap bitmap;
  bitmap.LoadFromClipboardFormat(format, data);
  Assign(&bitmap);
}

void TPngImage::SaveToClipboardFormat(std::uint16_t& format, ClipboardData& data) {
  Bitmap().SaveToClipboardFormat(format, data);
}

}  // namespace pelmora
