#pragma once
// The PNG image: keeps one PNG file's bytes as they are beside the bitmap decoded from them,
// or holds a bitmap given to it and encodes it only when saved. Images assigned from one
// another share the bytes. Transparency is kept: a picture with alpha decodes into a 32-bit
// bitmap with alpha, and such a bitmap encodes as RGBA.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/stream.h"
#include "picture/bitmap.h"
#include "picture/compressed_image.h"

namespace pelmora {

class TPngImage final : public TCompressedImage {
 public:
  TPngImage();
  ~TPngImage() override;

  static const GraphicClass& StaticClass();
  const GraphicClass& Class() const noexcept override { return StaticClass(); }

  std::shared_ptr<raster::Palette> Palette() override;
  // Reads every byte from the stream's position to its end and decodes them at once, so a
  // damaged file never passes for a picture: it raises EPNG (EOutOfResources past the pixel
  // ceiling) and leaves the image as it was. An empty stream gives an empty image.
  void LoadFromStream(TStream& stream) override;

  // The decoded or assigned bitmap (an empty one when there is neither).
  TBitmap& Bitmap() override;

 private:
  std::vector<std::uint8_t> Encode(const TBitmap& bitmap) override;
};

// Decodes a whole PNG file held in memory into the bitmap (a 32-bit bitmap with alpha when
// the picture has transparency, else 24 bits). Raises EPNG for a damaged file and
// EOutOfResources for one past the pixel ceiling; the bitmap is then left as it was.
void DecodePng(const std::uint8_t* data, std::size_t size, TBitmap& bitmap);

}  // namespace pelmora
