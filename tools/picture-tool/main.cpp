// picture-tool: runs the picture code on any file by hand, for benchmarks and for outside
// test suites.
//
//   picture-tool info FILE      KIND WIDTH HEIGHT PIXELFORMAT of the picture FILE loads as,
//                               and "alpha" after them for a picture with transparency
//   picture-tool save IN OUT    the picture saved in its graphic's own format
//   picture-tool tobmp IN OUT   its bitmap (a JPEG or PNG image's decoded bitmap) as BMP
//   picture-tool tojpg IN OUT   a JPEG image assigned from that bitmap, saved
//   picture-tool topng IN OUT   a PNG image assigned from that bitmap, saved
//   picture-tool view FILE      the program's load path: FILE into a picture, its clipboard
//                               form into a second picture (a PNG file's bytes as such),
//                               drawn fitted into a 424 x 231 view; prints WIDTH HEIGHT of
//                               the clipboard's picture
//
// Files load by their extension, as the program loads them. Any failure prints the error's
// kind and message to stderr and exits with 1: in UTF-8 on Linux, where terminals expect
// it, in the program's own Shift-JIS elsewhere.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "picture/bitmap.h"
#include "picture/canvas.h"
#include "picture/compressed_image.h"
#include "picture/jpeg_image.h"
#include "picture/picture.h"
#include "picture/png_image.h"
#include "raster/screen.h"

#if !defined(_WIN32)
#include <iconv.h>
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

// The bitmap the picture holds, or the one its JPEG or PNG image holds or decodes to; none
// for any other graphic.
TBitmap* BitmapOf(TPicture& picture) {
  TGraphic* graphic = picture.Graphic();
  if (graphic == nullptr) return nullptr;
  if (graphic->Class().InheritsFrom(TBitmap::StaticClass())) return &picture.Bitmap();
  if (auto* image = dynamic_cast<TCompressedImage*>(graphic)) return &image->Bitmap();
  return nullptr;
}

const char* KindOf(const TGraphic* graphic) {
  if (graphic == nullptr) return "none";
  if (graphic->Class().InheritsFrom(TBitmap::StaticClass())) return "bitmap";
  if (graphic->Class().InheritsFrom(TJPEGImage::StaticClass())) return "jpeg";
  if (graphic->Class().InheritsFrom(TPngImage::StaticClass())) return "png";
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
  std::printf("%s %d %d %s%s\n", KindOf(picture.Graphic()), picture.Width(), picture.Height(),
              bitmap ? PixelFormatName(bitmap->PixelFormat()) : "none",
              bitmap && bitmap->HasAlpha() ? " alpha" : "");
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

// The bitmap of the picture IN, assigned to an image of a compressed kind and saved as OUT.
int SaveBitmapAs(TCompressedImage&& image, const std::string& in, const std::string& out) {
  TPicture picture;
  LoadPicture(picture, in);
  image.Assign(&RequireBitmap(picture));
  image.SaveToFile(out);
  return 0;
}

int View(const std::string& file_name) {
  ClipboardData data;
  std::vector<std::uint8_t> png_bytes;
  {
    // As the load command: the file's picture gives its clipboard form and is freed.
    TPicture picture;
    LoadPicture(picture, file_name);
    if (picture.Graphic() == nullptr) throw EInvalidGraphic("no picture in " + file_name);
    if (auto* png = dynamic_cast<TPngImage*>(picture.Graphic())) {
      png_bytes = png->Bytes().Bytes();
    } else {
      std::uint16_t format = 0;
      picture.Graphic()->SaveToClipboardFormat(format, data);
    }
  }
  // As the clipboard view: the clipboard's picture into the view's picture, drawn fitted.
  TPicture shown;
  if (!png_bytes.empty()) {
    TBitmap decoded;
    DecodePng(png_bytes.data(), png_bytes.size(), decoded);
    shown.Assign(&decoded);
  } else {
    shown.LoadFromClipboardFormat(kCfBitmap, data);
  }
  data = ClipboardData{};
  raster::InfoHeader view{.size = raster::kInfoHeaderSize, .width = 424, .height = 231,
                          .planes = 1, .bit_count = 32};
  TImageCanvas canvas(raster::Image::MakeSection(view));
  const int width = shown.Width();
  const int height = shown.Height();
  if (width > 0 && height > 0) {
    const double scale = std::min(424.0 / width, 231.0 / height);
    shown.Graphic()->Draw(canvas, TRect{0, 0, std::max(1, static_cast<int>(width * scale)),
                                        std::max(1, static_cast<int>(height * scale))});
  }
  std::printf("%d %d\n", width, height);
  return 0;
}

int Usage() {
  std::fputs(
      "usage: picture-tool info FILE\n"
      "       picture-tool save IN OUT\n"
      "       picture-tool tobmp IN OUT\n"
      "       picture-tool tojpg IN OUT\n"
      "       picture-tool topng IN OUT\n"
      "       picture-tool view FILE\n",
      stderr);
  return 1;
}

int Run(const std::vector<std::string>& args) {
  // As the program does at start-up: the JPEG file type's extensions load as JPEG images.
  InitJpegImageKind(raster::Screen().Depth());
  if (args.size() == 2 && args[0] == "info") return Info(args[1]);
  if (args.size() == 3 && args[0] == "save") return Save(args[1], args[2]);
  if (args.size() == 3 && args[0] == "tobmp") return ToBmp(args[1], args[2]);
  if (args.size() == 3 && args[0] == "tojpg") return SaveBitmapAs(TJPEGImage(), args[1], args[2]);
  if (args.size() == 3 && args[0] == "topng") return SaveBitmapAs(TPngImage(), args[1], args[2]);
  if (args.size() == 2 && args[0] == "view") return View(args[1]);
  return Usage();
}

// A message of the program (Shift-JIS) as the terminal shows it. Bytes that are no
// Shift-JIS text (a UTF-8 file name inside a message) pass unchanged.
std::string TerminalText(const std::string& message) {
#if defined(_WIN32)
  return message;
#else
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return message;
  std::string out;
  std::vector<char> buffer(message.size() * 3 + 4);
  char* in = const_cast<char*>(message.data());
  std::size_t in_left = message.size();
  while (in_left > 0) {
    char* to = buffer.data();
    std::size_t to_left = buffer.size();
    const std::size_t done = iconv(cd, &in, &in_left, &to, &to_left);
    out.append(buffer.data(), to);
    if (done == static_cast<std::size_t>(-1) && in_left > 0) {
      out.push_back(*in++);  // not Shift-JIS: kept as it is
      --in_left;
    }
  }
  iconv_close(cd);
  return out;
#endif
}

}  // namespace
}  // namespace pelmora

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return pelmora::Run(args);
  } catch (const pelmora::Exception& e) {
    std::fprintf(stderr, "%s: %s\n", e.ClassName(), pelmora::TerminalText(e.Message()).c_str());
  } catch (const std::bad_alloc&) {
    std::fputs("EOutOfMemory: out of memory\n", stderr);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "std::exception: %s\n", e.what());
  }
  return 1;
}
