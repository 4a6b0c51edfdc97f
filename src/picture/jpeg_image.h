#pragma once
// The JPEG image: keeps one JPEG file's bytes as they are and decodes them into a bitmap
// only when a bitmap is needed, or holds a bitmap given to it and encodes it only when
// saved. Images assigned from one another share the bytes.
#include <cstdint>
#include <memory>
#include <vector>

#include "base/stream.h"
#include "picture/bitmap.h"
#include "picture/compressed_image.h"

namespace pelmora {

// How an image encodes and decodes. Nothing in the program changes them, so the values in
// use are the defaults; DecodeBits follows the screen (InitJpegImageKind).
struct JpegSettings {
  int EncodeQuality = 90;          // 1 to 100, baseline tables forced
  bool GrayOnly = false;           // encode one gray component; decode to gray
  bool FastDecode = false;         // fast DCT, ordered dither, one-pass quantization
  int DecodeBits = 24;             // bits per pixel of the decoded bitmap: 24 or 8
  bool EncodeProgressive = false;  // encode progressive scans
  int DecodeScale = 0;             // decode at 1/2^n of full size, n = 0..3
  bool BlockSmoothing = true;      // smooth blocks of early progressive scans
};

// What every new image copies its settings from.
extern JpegSettings DefaultJpegSettings;

// At start-up: fixes the default decoded depth from the screen's bits per pixel times its
// planes (8 bits for 8 or fewer, else 24) and registers the JPEG file type's extensions
// (jpg, jpeg, jpe, jfif) as JPEG images.
void InitJpegImageKind(int screen_bits);
// At shutdown: removes the JPEG image kind from the registries.
void DoneJpegImageKind();

class TJPEGImage final : public TCompressedImage {
 public:
  TJPEGImage();
  ~TJPEGImage() override;

  static const GraphicClass& StaticClass();
  const GraphicClass& Class() const noexcept override { return StaticClass(); }

  // As any compressed image's; the palette is made again on the next query.
  void Assign(const TPersistent* source) override;
  // The bitmap's palette; without a bitmap a halftone palette when 24-bit decoding meets a
  // screen of 8 bits or fewer, else none.
  std::shared_ptr<raster::Palette> Palette() override;
  // Reads every byte from the stream's position to its end and parses only the header.
  // A failed header read keeps the bytes, with size 0, and raises no change notification.
  void LoadFromStream(TStream& stream) override;

  // The decoded bitmap, decoded on first need. A failed decode raises its error once and
  // leaves the bitmap as far as it got; later calls return that bitmap without decoding.
  TBitmap& Bitmap() override;

  JpegSettings& Settings() { return settings_; }
  const JpegSettings& Settings() const { return settings_; }

 private:
  void Decode(TBitmap& bitmap);
  // A JPEG file has no alpha: transparency is put on white.
  std::vector<std::uint8_t> Encode(const TBitmap& bitmap) override;

  std::shared_ptr<raster::Palette> palette_;  // made by the palette query only
  JpegSettings settings_;
};

}  // namespace pelmora
