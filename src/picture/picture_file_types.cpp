#include "picture/picture_file_types.h"

#include "base/strings.h"
#include "picture/bitmap.h"
#include "picture/jpeg_image.h"
#include "picture/png_image.h"

namespace pelmora {
namespace {

// Pictures under the other JPEG and bitmap extensions load as their kind; pictures save
// under the main extension.
constexpr const char* kJpegExtensions[] = {"jpg", "jpeg", "jpe", "jfif"};
constexpr const char* kBitmapExtensions[] = {"bmp", "dib"};
constexpr const char* kPngExtensions[] = {"png"};

const PictureFileType kPictureFileTypes[] = {
    {PictureFileFormat::Jpeg, strings::kJpegDescription, kJpegExtensions,
     &TJPEGImage::StaticClass},
    {PictureFileFormat::Bitmap, strings::kBitmapDescription, kBitmapExtensions,
     &TBitmap::StaticClass},
    {PictureFileFormat::Png, strings::kPngDescription, kPngExtensions, &TPngImage::StaticClass},
};

}  // namespace

std::span<const PictureFileType> PictureFileTypes() { return kPictureFileTypes; }

const PictureFileType* PictureFileTypeOf(PictureFileFormat format) {
  for (const PictureFileType& type : kPictureFileTypes) {
    if (type.format == format) return &type;
  }
  return nullptr;
}

}  // namespace pelmora
