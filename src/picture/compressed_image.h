#pragma once
// What the JPEG and PNG images share: each keeps one file's bytes as they are, beside the
// bitmap decoded from them, or holds a bitmap given to it and encodes it only when the
// bytes are needed. Images assigned from one another share the bytes. The kinds differ in
// how and when they decode, and in how they encode.
#include <cstdint>
#include <memory>
#include <vector>

#include "base/stream.h"
#include "picture/bitmap.h"
#include "picture/graphic.h"

namespace pelmora {

class TCompressedImage : public TGraphic {
 public:
  ~TCompressedImage() override;

  // From an image of the same kind: shares its bytes and copies its bitmap. From a bitmap:
  // holds a copy in the bitmap's own pixel format, with no bytes. No change notification.
  // Anything else raises EConvertError "%s を %s に代入することはできません".
  void Assign(const TPersistent* source) override;
  // Draws the bitmap stretched into the rectangle.
  void Draw(TCanvas& canvas, const TRect& rect) override;
  // False while the image holds bytes, even none at all; else whether its bitmap is empty.
  bool Empty() const override;
  // Those of the bitmap if there is one, else the file header's; never decodes.
  int Height() const override;
  int Width() const override;
  // The size of a compressed image cannot be changed: EInvalidGraphicOperation.
  void SetHeight(int value) override;
  void SetWidth(int value) override;
  // Writes the bytes.
  void SaveToStream(TStream& stream) override;
  // Holds a copy of the clipboard's bitmap, as an assignment from a bitmap would.
  void LoadFromClipboardFormat(std::uint16_t format, const ClipboardData& data) override;
  // The clipboard form of the bitmap.
  void SaveToClipboardFormat(std::uint16_t& format, ClipboardData& data) override;

  // The bitmap: the decoded or assigned one, as each kind makes it.
  virtual TBitmap& Bitmap() = 0;
  // The file's bytes, as another program reads them; a bitmap with no bytes is encoded
  // first. Only a complete file becomes the bytes: a failed encode raises its error and
  // leaves the image without bytes, and an empty bitmap gives none at all.
  const TMemoryStream& Bytes();

 protected:
  // One file's bytes, shared by the images assigned from one another. Once filled the bytes
  // never change; an image that needs other bytes takes a new record.
  struct File {
    std::unique_ptr<TMemoryStream> bytes;  // none until loaded or encoded
    int width = 0;                         // from the file's header
    int height = 0;
  };

  // cannot_resize: the message a change of size raises.
  explicit TCompressedImage(const char* cannot_resize);

  // The file's bytes for a bitmap that is not empty.
  virtual std::vector<std::uint8_t> Encode(const TBitmap& bitmap) = 0;

  std::shared_ptr<File> file_;
  std::unique_ptr<TBitmap> bitmap_;  // none until decoded, assigned or asked for

 private:
  const char* cannot_resize_;
};

}  // namespace pelmora
