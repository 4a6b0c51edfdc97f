#pragma once
// The bitmap graphic: a raster image held as a display bitmap or a section in a shared,
// reference-counted image record. Its stream form is BMP, its clipboard form CF_BITMAP.
#include <cstdint>
#include <memory>
#include <vector>

#include "base/stream.h"
#include "picture/graphic.h"
#include "raster/image.h"
#include "raster/palette.h"

namespace pelmora {

enum class TPixelFormat { Device, Bit1, Bit4, Bit8, Bit15, Bit16, Bit24, Bit32, Custom };

inline constexpr std::uint16_t kCfBitmap = 2;

// One image record; bitmaps share it and take their own copy before changing pixels.
struct TBitmapImage {
  // The display bitmap, or the section itself when the image is a section.
  std::shared_ptr<raster::Image> handle;
  // The section: the image itself, or a twin made on demand from a display bitmap.
  std::shared_ptr<raster::Image> section;
  // Rows were handed out of a display bitmap's twin: the twin holds the newer pixels.
  bool twin_written = false;
  raster::Description description;
  std::shared_ptr<raster::Palette> palette;
  bool halftone = false;
  // Read from a file with a core header: written back in that form.
  bool os2 = false;
  // The complete file of a compressed BMP, written back unchanged until a change.
  std::shared_ptr<const std::vector<std::uint8_t>> file_copy;
};

class TBitmap final : public TGraphic {
 public:
  TBitmap();
  ~TBitmap() override;

  static const GraphicClass& StaticClass();
  const GraphicClass& Class() const noexcept override { return StaticClass(); }

  // Shares another bitmap's record and takes its transparency; none makes it empty.
  void Assign(const TPersistent* source) override;
  // Draws the whole bitmap stretched into the rectangle.
  void Draw(TCanvas& canvas, const TRect& rect) override;
  bool Empty() const override;
  int Height() const override;
  // The bitmap's palette; a section without one first gets one from its colour table (or
  // a halftone palette when the screen is shallower than the bitmap).
  std::shared_ptr<raster::Palette> Palette() override;
  int Width() const override;
  void SetHeight(int value) override;
  // The bitmap owns the palette given to it.
  void SetPalette(std::shared_ptr<raster::Palette> palette) override;
  void SetWidth(int value) override;
  // Reads one BMP from the stream's position to its end; a stream at its end gives an
  // empty bitmap. A failed load leaves the bitmap as it was.
  void LoadFromStream(TStream& stream) override;
  // Writes one BMP; an empty bitmap writes nothing. A bitmap with transparency is written on
  // white, as a 24-bit file.
  void SaveToStream(TStream& stream) override;
  // Reads a packed device-independent bitmap, as another program places it on the
  // clipboard (CF_DIB, CF_DIBV5): an info header of any length, masks, colour table and
  // pixels, read as a BMP file's are. A 32-bit picture keeps its alpha: the alpha mask of a
  // long (V4, V5) header says where it is, and none means there is none; a plain header's
  // pixels carry it in their fourth byte. Fourth bytes that are all 0 mean an opaque
  // picture; premultiplied colours are told by the data and made straight. A failed read
  // leaves the bitmap as it was.
  void LoadFromDib(const std::uint8_t* data, std::size_t size);
  // The bitmap as a packed 32-bit device-independent bitmap with a V5 header and straight
  // alpha (opaque where the bitmap has none), rows bottom-up, as other programs paste it
  // with its transparency: the bytes it takes (0 for an empty bitmap), and writing them.
  std::size_t DibV5Size() const;
  void WriteDibV5(std::uint8_t* out) const;
  // Takes a copy of a clipboard bitmap (kCfBitmap): a display bitmap stays one of the
  // screen's format (monochrome stays monochrome), a section keeps its header and colours.
  void LoadFromClipboardFormat(std::uint16_t format, const ClipboardData& data) override;
  // Gives kCfBitmap, a display-format copy of the image and a copy of the palette.
  void SaveToClipboardFormat(std::uint16_t& format, ClipboardData& data) override;

  TPixelFormat PixelFormat() const;
  // Converts the image; an empty bitmap keeps the format for a later size. Custom fails
  // with EInvalidGraphic.
  void SetPixelFormat(TPixelFormat format);
  // The address of row y's first byte, row 0 being the top row; for a display bitmap the
  // row of its section twin. Rows stay valid together until the bitmap is changed by
  // other means. Fails with EInvalidGraphicOperation outside 0..height-1.
  std::uint8_t* ScanLine(int y);
  // Gives the bitmap, as an empty one of a device-independent format, a section of this
  // size whose rows are left zero rather than filled white, for a decoder that writes the
  // rows itself and fills what it does not reach (FillRowsWhite).
  void SetSizeForDecoding(int width, int height);
  // Fills rows [first, last) white (the nearest colour-table entry up to 8 bits).
  void FillRowsWhite(int first, int last);
  // Bytes per row of the section form (padded to 32 bits).
  int RowBytes() const;
  // Drops the image, keeping the palette; the pixel format becomes device.
  void SetHandleToNone();

  // Takes a section that nothing else holds as its own image, as a decoder makes it.
  void AdoptImage(std::shared_ptr<raster::Image> image);

  // The bitmap has transparency: a 32-bit section whose fourth bytes are straight alpha.
  bool HasAlpha() const;
  // Puts a bitmap with transparency on white: it becomes a 24-bit bitmap of the same size
  // without alpha. A bitmap without transparency stays as it is.
  void FlattenOnWhite();

  // The image itself: the display bitmap or the section; none when empty.
  std::shared_ptr<const raster::Image> Image() const;

 private:
  std::shared_ptr<TBitmapImage> Record() const;
  void SetRecord(std::shared_ptr<TBitmapImage> record);
  // Gives this bitmap a record of its own, ready for a change to its pixels.
  TBitmapImage& PrepareForChange();
  // Makes sure the record has a section (for a display bitmap, its twin).
  void SectionNeeded(TBitmapImage& record);
  // Copies the image into a description of the new size.
  void ChangeSize(int width, int height);
  // Copies the image into a new description by the copy rule and takes the result.
  void CopyInto(const raster::Description& target,
                std::shared_ptr<raster::Palette> new_palette, bool fill_white = true);

  // A picture with transparency is shown over a checkerboard at the size it is drawn; the
  // last such view is kept, since every repaint draws the same.
  struct CheckerboardView {
    std::weak_ptr<const raster::Image> source;
    int width = 0;
    int height = 0;
    int square = 0;
    std::shared_ptr<raster::Image> image;
  };
  const raster::Image& ViewOnCheckerboard(const std::shared_ptr<raster::Image>& source,
                                          int width, int height, int square);

  std::shared_ptr<TBitmapImage> image_;
  bool ignore_palette_ = false;
  CheckerboardView checkerboard_;
};

}  // namespace pelmora
