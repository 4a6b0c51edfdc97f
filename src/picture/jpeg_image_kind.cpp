// The JPEG image kind's process-wide part: default settings and registration.
#include "base/strings.h"
#include "picture/file_formats.h"
#include "picture/jpeg_image.h"

namespace pelmora {

JpegSettings DefaultJpegSettings;

void InitJpegImageKind(int screen_bits) {
  DefaultJpegSettings.DecodeBits = screen_bits <= 8 ? 8 : 24;
  RegisterFileFormat("jpeg", strings::kJpegDescription, TJPEGImage::StaticClass());
  RegisterFileFormat("jpg", strings::kJpegDescription, TJPEGImage::StaticClass());
}

void DoneJpegImageKind() { UnregisterGraphicClass(TJPEGImage::StaticClass()); }

}  // namespace pelmora
