#include "picture/jpeg_image.h"

#include <algorithm>
#include <vector>

#include "base/strings.h"
#include "picture/jpeg_codec.h"
#include "picture/stream_bytes.h"
#include "raster/image.h"
#include "raster/palette.h"
#include "raster/screen.h"

namespace pelmora {
namespace {

jpeg::DecodeOptions DecodeOptionsOf(const JpegSettings& settings) {
  return {.scale_shift = std::clamp(settings.DecodeScale, 0, 3),
          .block_smoothing = settings.BlockSmoothing,
          .gray = settings.GrayOnly,
          .eight_bit = settings.DecodeBits == 8,
          .fast = settings.FastDecode};
}

jpeg::EncodeOptions EncodeOptionsOf(const JpegSettings& settings) {
  return {.quality = std::clamp(settings.EncodeQuality, 1, 100),
          .gray = settings.GrayOnly,
          .progressive = settings.EncodeProgressive};
}

std::shared_ptr<raster::Palette> PaletteOf(const std::vector<jpeg::PaletteEntry>& colormap) {
  std::vector<raster::Rgb> entries;
  entries.reserve(colormap.size());
  for (const jpeg::PaletteEntry& e : colormap) {
    entries.push_back(raster::MakeRgb(e.red, e.green, e.blue));
  }
  return std::make_shared<raster::Palette>(std::move(entries));
}

}  // namespace

TJPEGImage::TJPEGImage()
    : TCompressedImage(strings::kJpegCannotResize), settings_(DefaultJpegSettings) {}

TJPEGImage::~TJPEGImage() = default;

const GraphicClass& TJPEGImage::StaticClass() {
  static const GraphicClass kind{"TJPEGImage", nullptr, [] {
    return std::unique_ptr<TGraphic>(std::make_unique<TJPEGImage>());
  }};
  return kind;
}

void TJPEGImage::Assign(const TPersistent* source) {
  TCompressedImage::Assign(source);
  palette_.reset();
}

std::shared_ptr<raster::Palette> TJPEGImage::Palette() {
  if (bitmap_) return bitmap_->Palette();
  if (palette_) return palette_;
  if (settings_.DecodeBits != 8 && raster::Screen().Depth() <= 8) {
    palette_ = raster::Palette::MakeHalftone();
  }
  return palette_;
}

void TJPEGImage::LoadFromStream(TStream& stream) {
  file_ = std::make_shared<File>();
  bitmap_.reset();
  file_->bytes = std::make_unique<TMemoryStream>(ReadRemainingBytes(stream));
  const TMemoryStream& held = *file_->bytes;
  if (held.Bytes().size() > 0) {
    const jpeg::HeaderSize size = jpeg::ReadHeaderSize(held.Data(), held.Bytes().size());
    file_->width = size.width;
    file_->height = size.height;
  }
  SetPaletteModified(true);
  Changed();
}

std::vector<std::uint8_t> TJPEGImage::Encode(const TBitmap& bitmap) {
  std::vector<std::uint8_t> out;
  jpeg::Encoder encoder(out);
  // A 24-bit working copy; the image's own bitmap keeps its format.
  TBitmap copy;
  copy.Assign(&bitmap);
  copy.FlattenOnWhite();
  copy.SetPixelFormat(TPixelFormat::Bit24);
  const int height = copy.Height();
  encoder.Start(copy.Width(), height, EncodeOptionsOf(settings_));
  // Rows are only read: a 24-bit section still shared with the image's own bitmap is
  // read in place rather than copied first, as a row address for writing would.
  std::shared_ptr<const raster::Image> section = copy.Image();
  const bool read_in_place = section && section->IsSection() && section->BitCount() == 24 &&
                             section->Width() == copy.Width() && section->Height() == height;
  while (encoder.NextScanline() < height) {
    const int y = encoder.NextScanline();
    encoder.WriteRow(read_in_place ? section->Row(y) : copy.ScanLine(y));
  }
  encoder.Finish();
  return out;
}

TBitmap& TJPEGImage::Bitmap() {
  if (bitmap_) return *bitmap_;
  // The bitmap stays, however far decoding gets.
  bitmap_ = std::make_unique<TBitmap>();
  if (file_->bytes) Decode(*bitmap_);
  return *bitmap_;
}

void TJPEGImage::Decode(TBitmap& bitmap) {
  const TMemoryStream& bytes = *file_->bytes;
  jpeg::Decoder decoder(bytes.Data(), bytes.Bytes().size());
  decoder.ReadHeader();
  decoder.Configure(DecodeOptionsOf(settings_));
  const bool indexed = decoder.Format() == jpeg::OutputFormat::Indexed8;
  // Four-component files come out in colour only; they are reduced once decoded.
  const bool reduce_to_8_bits = !indexed && settings_.DecodeBits == 8;
  bitmap.SetPixelFormat(indexed ? TPixelFormat::Bit8 : TPixelFormat::Bit24);
  try {
    palette_.reset();
    decoder.Start();
    const int height = decoder.OutputHeight();
    if (indexed) {
      // The palette first, so that the section is made once, with its colours.
      bitmap.SetPalette(PaletteOf(decoder.Colormap()));
      SetPaletteModified(true);
    }
    // A file that breaks off shows white below its last decoded row: only those rows are
    // filled, the decoder writes the rest.
    bitmap.SetSizeForDecoding(decoder.OutputWidth(), height);
    try {
      while (decoder.OutputScanline() < height) {
        decoder.ReadRow(bitmap.ScanLine(decoder.OutputScanline()));
      }
    } catch (...) {
      bitmap.FillRowsWhite(decoder.OutputScanline(), height);
      throw;
    }
    decoder.Finish();
    if (reduce_to_8_bits) {
      bitmap.SetPixelFormat(TPixelFormat::Bit8);
      SetPaletteModified(true);
    }
  } catch (...) {
    if (PaletteModified()) Changed();
    throw;
  }
  if (PaletteModified()) Changed();
}

}  // namespace pelmora
