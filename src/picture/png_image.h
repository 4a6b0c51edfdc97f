#pragma once
// The PNG image: keeps one PNG file's bytes as they are beside the bitmap decoded from them,
// or holds a bitmap given to it and encodes it only when saved. Images assigned from one
// another share the bytes. Transparency is kept: a picture with alpha decodes into a 32-bit
// bitmap with alpha, and such a bitmap encodes as RGBA.
#include <cstdint>
#include <memory>

#include "base/stream.h"
#include "picture/bitmap.h"
#include "picture/graphic.h"

namespace pelmora {

// One PNG file's bytes, shared by the images assigned from one another; never changed once
// filled.
struct TPngData {
  std::unique_ptr<TMemoryStream> bytes;  // none until loaded or encoded
  int width = 0;                         // from the file's header
  int height = 0;
};

class TPngImage final : public TGraphic {
 public:
  TPngImage();
  ~TPngImage() override;

  static const GraphicClass& StaticClass();
  const GraphicClass& Class() const noexcept override { return StaticClass(); }

  // From a PNG image: shares its bytes and copies its bitmap. From a bitmap: holds a copy,
  // with no bytes. Anything else raises EConvertError "%s を %s に代入することはできません".
  void Assign(const TPersistent* source) override;
  void Draw(TCanvas& canvas, const TRect& rect) override;
  // False while the image holds bytes; else whether its bitmap is empty.
  bool Empty() const override;
  // Those of the bitmap if there is one, else the file header's; never decodes.
  int Height() const override;
  int Width() const override;
  std::shared_ptr<raster::Palette> Palette() override;
  // A PNG image's size cannot be changed: EInvalidGraphicOperation.
  void SetHeight(int value) override;
  void SetWidth(int value) override;
  // Reads every byte from the stream's position to its end and decodes them at once, so a
  // damaged file never passes for a picture: it raises EPNG (EOutOfResources past the pixel
  // ceiling) and leaves the image as it was. An empty stream gives an empty image.
  void LoadFromStream(TStream& stream) override;
  // Writes the bytes, encoding the bitmap first when there are none.
  void SaveToStream(TStream& stream) override;
  void LoadFromClipboardFormat(std::uint16_t format, const ClipboardData& data) override;
  void SaveToClipboardFormat(std::uint16_t& format, ClipboardData& data) override;

  // The decoded or assigned bitmap (an empty one when there is neither).
  TBitmap& Bitmap();
  // The file's bytes (encoded first when there are none), as another program reads them.
  const TMemoryStream& Bytes();

 private:
  void Encode();

  std::shared_ptr<TPngData> data_;
  std::unique_ptr<TBitmap> bitmap_;
};

// Decodes a whole PNG file held in memory into the bitmap (a 32-bit bitmap with alpha when
// the picture has transparency, else 24 bits). Raises EPNG for a damaged file and
// EOutOfResources for one past the pixel ceiling; the bitmap is then left as it was.
void DecodePng(const std::uint8_t* data, std::size_t size, TBitmap& bitmap);

}  // namespace pelmora
