#pragma once
// The JPEG image: keeps one JPEG file's bytes as they are and decodes them into a bitmap
// only when a bitmap is needed, or holds a bitmap given to it and encodes it only when
// saved. Images assigned from one another share the bytes.
#include <cstdint>
#include <memory>

#include "base/stream.h"
#include "picture/bitmap.h"
#include "picture/graphic.h"

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
// planes (8 bits for 8 or fewer, else 24) and registers "jpeg" and "jpg" as JPEG images.
void InitJpegImageKind(int screen_bits);
// At shutdown: removes the JPEG image kind from the registries.
void DoneJpegImageKind();

// One JPEG file's bytes, shared by the images assigned from one another. Once filled the
// bytes never change; an image that needs other bytes takes a new record.
struct TJPEGData {
  std::unique_ptr<TMemoryStream> bytes;  // none until loaded or encoded
  int width = 0;                         // from the file's header
  int height = 0;
};

class TJPEGImage final : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;

  static const GraphicClass& StaticClass();
  const GraphicClass& Class() const noexcept override { return StaticClass(); }

  // From a JPEG image: shares its bytes and copies its bitmap. From a bitmap: holds a copy
  // in the bitmap's own pixel format, with no bytes. No change notification. Anything else
  // raises EConvertError "%s を %s に代入することはできません".
  void Assign(const TPersistent* source) override;
  // Draws the decoded bitmap stretched into the rectangle.
  void Draw(TCanvas& canvas, const TRect& rect) override;
  // False while the image holds bytes, even none at all; else whether its bitmap is empty.
  bool Empty() const override;
  // Those of the bitmap if there is one, else the file header's; never decodes.
  int Height() const override;
  int Width() const override;
  // The bitmap's palette; without a bitmap a halftone palette when 24-bit decoding meets a
  // screen of 8 bits or fewer, else none.
  std::shared_ptr<raster::Palette> Palette() override;
  // A JPEG image's size cannot be changed: EInvalidGraphicOperation.
  void SetHeight(int value) override;
  void SetWidth(int value) override;
  // Reads every byte from the stream's position to its end and parses only the header.
  // A failed header read keeps the bytes, with size 0, and raises no change notification.
  void LoadFromStream(TStream& stream) override;
  // Writes the bytes, encoding the bitmap first when there are none. A failed encode
  // writes nothing and leaves the image without bytes.
  void SaveToStream(TStream& stream) override;
  // Holds a copy of the clipboard's bitmap, as an assignment from a bitmap would.
  void LoadFromClipboardFormat(std::uint16_t format, const ClipboardData& data) override;
  // The clipboard form of the decoded bitmap.
  void SaveToClipboardFormat(std::uint16_t& format, ClipboardData& data) override;

  // The decoded bitmap, decoded on first need. A failed decode raises its error once and
  // leaves the bitmap as far as it got; later calls return that bitmap without decoding.
  TBitmap& Bitmap();

  JpegSettings& Settings() { return settings_; }
  const JpegSettings& Settings() const { return settings_; }

 private:
  void Decode(TBitmap& bitmap);
  void Encode();

  std::shared_ptr<TJPEGData> data_;
  std::unique_ptr<TBitmap> bitmap_;
  std::shared_ptr<raster::Palette> palette_;  // made by the palette query only
  JpegSettings settings_;
};

}  // namespace pelmora
