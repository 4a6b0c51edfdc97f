// picture-tool: runs the picture code on any file by hand, for benchmarks and for outside
// test suites.
//
//   picture-tool info FILE      KIND WIDTH HEIGHT PIXELFORMAT of the picture FILE loads as
//   picture-tool save IN OUT    the picture saved in its graphic's own format
//   picture-tool tobmp IN OUT   its bitmap (a JPEG image's decoded bitmap) written as BMP
//   picture-tool tojpg IN OUT   a JPEG image assigned from that bitmap, saved
//
// Files load by their extension, as the program loads them. Any failure prints the error's
// kind and message (Shift-JIS, as the program holds it) to stderr and exits with 1.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "picture/bitmap.h"
#include "picture/picture.h"

#if __has_include("picture/jpeg_image.h")
#include "picture/jpeg_image.h"
#include "picture/raster_screen.h"
#define PICTURE_TOOL_HAS_JPEG 1
#else
#define PICTURE_TOOL_HAS_JPEG 0
#endif

namespace pelmora {
namespace {

const char* PixelFormatName(TPixelFormat format) {
  switch (format) {
    case TPixelFormat::Device: return "device";
    case TPixelFormat::Bit1: return "1";
    case TPixelFormat::Bit4: return "4";
    case TPixelFormat::Bit8: return "8";
    case TPixelFormat::Bit15: return "15";
    case TPixelFormat::Bit16: return "16";
    case TPixelFormat::Bit24: return "24";
    case TPixelFormat::Bit32: return "32";
    case TPixelFormat::Custom: return "custom";
  }
  return "custom";
}

void LoadPicture(TPicture& picture, const std::string& file_name) {
  picture.LoadFromFile(file_name);
}

// The bitmap the picture holds, or the one its JPEG image decodes to; none for any other
// graphic.
TBitmap* BitmapOf(TPicture& picture) {
  TGraphic* graphic = picture.Graphic();
  if (graphic == nullptr) return nullptr;
  if (graphic->Class().InheritsFrom(TBitmap::StaticClass())) return &picture.Bitmap();
#if PICTURE_TOOL_HAS_JPEG
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(graphic)) return &jpeg->Bitmap();
#endif
  return nullptr;
}

const char* KindOf(const TGraphic* graphic) {
  if (graphic == nullptr) return "none";
  if (graphic->Class().InheritsFrom(TBitmap::StaticClass())) return "bitmap";
#if PICTURE_TOOL_HAS_JPEG
  if (graphic->Class().InheritsFrom(TJPEGImage::StaticClass())) return "jpeg";
#endif
  return graphic->ClassName();
}

TBitmap& RequireBitmap(TPicture& picture) {
  TBitmap* bitmap = BitmapOf(picture);
  if (bitmap == nullptr) {
    const char* name = picture.Graphic() ? picture.Graphic()->ClassName() : "none";
    throw EInvalidGraphic(std::string("no bitmap in a picture holding ") + name);
  }
  return *bitmap;
}

int Info(const std::string& file_name) {
  TPicture picture;
  LoadPicture(picture, file_name);
  TBitmap* bitmap = BitmapOf(picture);
  std::printf("%s %d %d %s\n", KindOf(picture.Graphic()), picture.Width(), picture.Height(),
              bitmap ? PixelFormatName(bitmap->PixelFormat()) : "none");
  return 0;
}

int Save(const std::string& in, const std::string& out) {
  TPicture picture;
  LoadPicture(picture, in);
  picture.SaveToFile(out);
  return 0;
}

int ToBmp(const std::string& in, const std::string& out) {
  TPicture picture;
  LoadPicture(picture, in);
  RequireBitmap(picture).SaveToFile(out);
  return 0;
}

int ToJpg(const std::string& in, const std::string& out) {
#if PICTURE_TOOL_HAS_JPEG
  TPicture picture;
  LoadPicture(picture, in);
  TJPEGImage jpeg;
  jpeg.Assign(&RequireBitmap(picture));
  jpeg.SaveToFile(out);
  return 0;
#else
  (void)in;
  (void)out;
  throw EInvalidGraphicOperation("this build has no JPEG image");
#endif
}

int Usage() {
  std::fputs(
      "usage: picture-tool info FILE\n"
      "       picture-tool save IN OUT\n"
      "       picture-tool tobmp IN OUT\n"
      "       picture-tool tojpg IN OUT\n",
      stderr);
  return 1;
}

int Run(const std::vector<std::string>& args) {
#if PICTURE_TOOL_HAS_JPEG
  // As the program does at start-up: ".jpeg" and ".jpg" load as JPEG images.
  InitJpegImageKind(raster::Screen().Depth());
#endif
  if (args.size() == 2 && args[0] == "info") return Info(args[1]);
  if (args.size() == 3 && args[0] == "save") return Save(args[1], args[2]);
  if (args.size() == 3 && args[0] == "tobmp") return ToBmp(args[1], args[2]);
  if (args.size() == 3 && args[0] == "tojpg") return ToJpg(args[1], args[2]);
  return Usage();
}

}  // namespace
}  // namespace pelmora

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return pelmora::Run(args);
  } catch (const pelmora::Exception& e) {
    std::fprintf(stderr, "%s: %s\n", e.ClassName(), e.Message().c_str());
  } catch (const std::bad_alloc&) {
    std::fputs("EOutOfMemory: out of memory\n", stderr);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "std::exception: %s\n", e.what());
  }
  return 1;
}
