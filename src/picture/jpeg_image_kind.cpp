// The JPEG image kind's process-wide part: default settings and registration.
#include "picture/file_formats.h"
#include "picture/jpeg_image.h"
#include "picture/picture_file_types.h"

namespace pelmora {

JpegSettings DefaultJpegSettings;

void InitJpegImageKind(int screen_bits) {
  DefaultJpegSettings.DecodeBits = screen_bits <= 8 ? 8 : 24;
  RegisterFileFormat(*PictureFileTypeOf(PictureFileFormat::Jpeg));
}

void DoneJpegImageKind() { UnregisterGraphicClass(TJPEGImage::StaticClass()); }

}  // namespace pelmora
