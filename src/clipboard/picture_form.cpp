#include "clipboard/picture_form.h"

#include <algorithm>

#include "picture/bitmap.h"

namespace pelmora {

PictureForm ChoosePictureForm(std::span<const std::uint16_t> formats, std::uint16_t png_format) {
  if (png_format != 0 && std::find(formats.begin(), formats.end(), png_format) != formats.end()) {
    return PictureForm::Png;
  }
  for (std::uint16_t format : formats) {
    if (format == kCfDibV5) return PictureForm::DibV5;
    if (format == kCfDib) return PictureForm::Dib;
    if (format == kCfBitmap) return PictureForm::Bitmap;
  }
  return PictureForm::None;
}

std::uint16_t ClipboardFormatOf(PictureForm form, std::uint16_t png_format) {
  switch (form) {
    case PictureForm::Png:
      return png_format;
    case PictureForm::DibV5:
      return kCfDibV5;
    case PictureForm::Dib:
      return kCfDib;
    case PictureForm::Bitmap:
      return kCfBitmap;
    case PictureForm::None:
      break;
  }
  return 0;
}

}  // namespace pelmora
