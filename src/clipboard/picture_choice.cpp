#include "clipboard/picture_choice.h"

#include <algorithm>

#include "picture/bitmap.h"

namespace pelmora {

ClipboardPicture ChooseClipboardPicture(std::span<const std::uint16_t> formats, std::uint16_t png_format) {
  if (png_format != 0 && std::find(formats.begin(), formats.end(), png_format) != formats.end()) {
    return ClipboardPicture::Png;
  }
  for (std::uint16_t format : formats) {
    if (format == kCfDibV5) return ClipboardPicture::DibV5;
    if (format == kCfDib) return ClipboardPicture::Dib;
    if (format == kCfBitmap) return ClipboardPicture::Bitmap;
  }
  return ClipboardPicture::None;
}

std::uint16_t ClipboardFormatOf(ClipboardPicture picture, std::uint16_t png_format) {
  switch (picture) {
    case ClipboardPicture::Png:
      return png_format;
    case ClipboardPicture::DibV5:
      return kCfDibV5;
    case ClipboardPicture::Dib:
      return kCfDib;
    case ClipboardPicture::Bitmap:
      return kCfBitmap;
    case ClipboardPicture::None:
      break;
  }
  return 0;
}

}  // namespace pelmora
