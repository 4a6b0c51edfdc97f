#include "picture/jpeg_image.h"

#include <cstring>

#include "jpeg_test_support.h"
#include "picture/bitmap_test_support.h"
#include "picture/file_formats.h"
#include "picture/icon.h"
#include "picture/png_image.h"
#include "raster/image.h"
#include "raster/screen.h"

#include <jerror.h>

namespace pelmora {
namespace {

using jpeg_test::Bytes;
using jpeg_test::JpegErrorCode;

std::unique_ptr<TBitmap> MakeBitmap(int width, int height) {
  auto bitmap = test::Bitmap24(width, height);
  const Bytes picture = jpeg_test::MakeBgrPicture(width, height);
  for (int y = 0; y < height; ++y) {
    std::memcpy(bitmap->ScanLine(y), &picture[std::size_t{3} * width * y], 3 * width);
  }
  return bitmap;
}

// A 24-bit bitmap's pixels, rows top first, without padding.
Bytes PixelsOf(TBitmap& bitmap) {
  Bytes out;
  for (int y = 0; y < bitmap.Height(); ++y) {
    out.insert(out.end(), bitmap.ScanLine(y), bitmap.ScanLine(y) + 3 * bitmap.Width());
  }
  return out;
}

Bytes SaveBytes(TGraphic& graphic) {
  TMemoryStream stream;
  graphic.SaveToStream(stream);
  return stream.Bytes();
}

Bytes EncodeBitmap(const TBitmap& bitmap) {
  TJPEGImage image;
  image.Assign(&bitmap);
  return SaveBytes(image);
}

void LoadBytes(TGraphic& graphic, const Bytes& bytes) {
  TMemoryStream stream(bytes);
  graphic.LoadFromStream(stream);
}

// Whether the image already held a decoded bitmap: one it held keeps its size, while one
// decoded now, at an eighth of the size, is narrower. Leaves the image with a bitmap.
bool HeldDecodedBitmap(TJPEGImage& image) {
  const int width = image.Width();
  const int scale = image.Settings().DecodeScale;
  image.Settings().DecodeScale = 3;
  const bool held = image.Bitmap().Width() == width;
  image.Settings().DecodeScale = scale;
  return held;
}

class JpegImage : public ::testing::Test {
 protected:
  void TearDown() override { DefaultJpegSettings = JpegSettings{}; }
  void Watch(TJPEGImage& image) {
    image.SetOnChange([this](TGraphic&) { ++changes_; });
  }
  int changes_ = 0;
};

TEST_F(JpegImage, RoundTripsABitmapThroughBaselineJfif) {
  auto bitmap = MakeBitmap(64, 48);
  TJPEGImage image;
  image.Assign(bitmap.get());
  const Bytes file = SaveBytes(image);
  ASSERT_GT(file.size(), 20u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 20),
            (Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46,
                   0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00}));
  // Quality 90: the standard luminance table (16 11 12 14 ...) scaled to 20%.
  const std::size_t dqt = jpeg_test::FindMarker(file, 0xDB);
  ASSERT_NE(dqt, std::string::npos);
  EXPECT_EQ(Bytes(file.begin() + dqt + 4, file.begin() + dqt + 9), (Bytes{0, 3, 2, 2, 3}));
  // Baseline; Y sampled 2x2, Cb and Cr 1x1.
  const std::size_t sof = jpeg_test::FindMarker(file, 0xC0);
  ASSERT_NE(sof, std::string::npos);
  EXPECT_EQ(Bytes(file.begin() + sof + 9, file.begin() + sof + 19),
            (Bytes{3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}));
  EXPECT_EQ(SaveBytes(image), file);  // written again without encoding again

  TJPEGImage loaded;
  Watch(loaded);
  LoadBytes(loaded, file);
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(loaded.Width(), 64);
  EXPECT_EQ(loaded.Height(), 48);
  EXPECT_EQ(changes_, 1);  // size queries never decode, which would notify here
  TBitmap& decoded = loaded.Bitmap();
  EXPECT_EQ(changes_, 2);  // the palette flag of the load is still up
  EXPECT_EQ(decoded.PixelFormat(), TPixelFormat::Bit24);
  EXPECT_LT(jpeg_test::MeanDifference(PixelsOf(decoded), PixelsOf(*bitmap)), 2.0);
  EXPECT_EQ(&loaded.Bitmap(), &decoded);

  TJPEGImage progressive;
  progressive.Settings().EncodeProgressive = true;
  progressive.Assign(bitmap.get());
  const Bytes progressive_file = SaveBytes(progressive);
  EXPECT_NE(jpeg_test::FindMarker(progressive_file, 0xC2), std::string::npos);
  LoadBytes(progressive, progressive_file);
  EXPECT_LT(jpeg_test::MeanDifference(PixelsOf(progressive.Bitmap()), PixelsOf(decoded)), 1.0);
}

TEST_F(JpegImage, SharesAndWritesBackLoadedBytesExactly) {
  Bytes file = jpeg_test::ReadTestFile("testorig.jpg");
  file.insert(file.end(), {'t', 'a', 'i', 'l', 0xFF, 0xD9, 0});
  // Loading reads from the stream's position to its end.
  Bytes prefixed = {1, 2, 3};
  prefixed.insert(prefixed.end(), file.begin(), file.end());
  TMemoryStream stream(prefixed);
  stream.SetPosition(3);
  TJPEGImage loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ(loaded.Width(), 227);
  EXPECT_EQ(SaveBytes(loaded), file);

  auto shared = std::make_unique<TJPEGImage>();
  shared->Assign(&loaded);
  EXPECT_EQ(SaveBytes(*shared), file);
  EXPECT_FALSE(HeldDecodedBitmap(*shared));
  loaded.Bitmap();
  TJPEGImage decoded_copy;
  decoded_copy.Assign(&loaded);
  ASSERT_TRUE(HeldDecodedBitmap(decoded_copy));
  EXPECT_NE(&decoded_copy.Bitmap(), &loaded.Bitmap());
  EXPECT_EQ(PixelsOf(decoded_copy.Bitmap()), PixelsOf(loaded.Bitmap()));
  // The bytes outlive the image that loaded them.
  shared.reset();
  loaded.Assign(MakeBitmap(4, 4).get());
  EXPECT_EQ(SaveBytes(decoded_copy), file);
}

TEST_F(JpegImage, HandlesZeroByteFilesAndEmptyBitmaps) {
  {
    TJPEGImage image;
    EXPECT_TRUE(image.Empty());
    EXPECT_TRUE(image.Bitmap().Empty());  // nothing to decode, nothing fails
    EXPECT_EQ(SaveBytes(image), Bytes{});
  }
  {
    TJPEGImage image;
    Watch(image);
    LoadBytes(image, {});
    EXPECT_EQ(changes_, 1);
    EXPECT_FALSE(image.Empty());
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(JpegErrorCode([&] { image.Bitmap(); }), JERR_INPUT_EMPTY);
    EXPECT_EQ(JpegErrorCode([&] { EXPECT_TRUE(image.Bitmap().Empty()); }), -1);
    EXPECT_EQ(SaveBytes(image), Bytes{});
  }
  {
    TBitmap zero;
    TJPEGImage image;
    image.Assign(&zero);
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(SaveBytes(image), Bytes{});
    EXPECT_FALSE(image.Empty());  // it holds a file of no bytes now
  }
}

TEST_F(JpegImage, FailsCleanlyOnBadFiles) {
  {
    const Bytes bmp = {'B', 'M', 0x3A, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 40, 0, 0, 0};
    TJPEGImage image;
    Watch(image);
    EXPECT_EQ(JpegErrorCode([&] { LoadBytes(image, bmp); }), JERR_NO_SOI);
    EXPECT_EQ(changes_, 0);
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(SaveBytes(image), bmp);  // the bytes stay as read
  }
  Bytes file = EncodeBitmap(*MakeBitmap(16, 16));
  {
    jpeg_test::PatchFrameSize(file, 65535, 16);
    TJPEGImage image;
    EXPECT_EQ(JpegErrorCode([&] { LoadBytes(image, file); }), JERR_IMAGE_TOO_BIG);
    // Failing before the size is set leaves an empty bitmap, silently reused.
    jpeg_test::PatchFrameSize(file, 65500, 65500);
    LoadBytes(image, file);
    EXPECT_EQ(image.Width(), 65500);
    EXPECT_TRUE(jpeg_test::RefusedAsTooLarge([&] { image.Bitmap(); }));
    EXPECT_TRUE(image.Bitmap().Empty());
  }
  {
    // An unknown marker inside the data is fatal only after the rows were read: the
    // bitmap keeps them.
    Bytes damaged = jpeg_test::ReadTestFile("testorig.jpg");
    damaged[3000] = 0xFF;
    damaged[3001] = 0x99;
    TJPEGImage image;
    LoadBytes(image, damaged);
    EXPECT_EQ(JpegErrorCode([&] { image.Bitmap(); }), JERR_UNKNOWN_MARKER);
    EXPECT_EQ(image.Bitmap().Height(), 149);
  }
}

TEST_F(JpegImage, DecodesTo8BitsWithPalettes) {
  const Bytes file = jpeg_test::ReadTestFile("testorig.jpg");
  auto expect_grays = [](TBitmap& bitmap) {
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::Bit8);
    ASSERT_NE(bitmap.Palette(), nullptr);
    ASSERT_EQ(bitmap.Palette()->Count(), 236);
    for (const raster::Rgb& e : bitmap.Palette()->Entries()) {
      EXPECT_TRUE(e.red == e.green && e.green == e.blue);
    }
  };
  {
    // A gray file gives 236 grays even when 24 bits are asked for.
    TJPEGImage writer;
    writer.Settings().GrayOnly = true;
    writer.Assign(MakeBitmap(40, 30).get());
    TJPEGImage image;
    Watch(image);
    LoadBytes(image, SaveBytes(writer));
    expect_grays(image.Bitmap());
    EXPECT_EQ(changes_, 2);
  }
  {
    TJPEGImage image;
    image.Settings().GrayOnly = true;
    LoadBytes(image, file);
    expect_grays(image.Bitmap());
  }
  {
    DefaultJpegSettings.DecodeBits = 8;
    TJPEGImage image, reference;
    reference.Settings().DecodeBits = 24;
    LoadBytes(image, file);
    LoadBytes(reference, file);
    EXPECT_EQ(image.Bitmap().Palette()->Count(), 236);
    TBitmap as24;
    as24.Assign(&image.Bitmap());
    as24.SetPixelFormat(TPixelFormat::Bit24);
    EXPECT_LT(jpeg_test::MeanDifference(PixelsOf(as24), PixelsOf(reference.Bitmap())), 6.0);
  }
  {
    // CMYK comes out in colour and is reduced afterwards.
    Bytes red;
    for (int i = 0; i < 16 * 16; ++i) red.insert(red.end(), {255, 0, 0, 255});
    const Bytes cmyk = jpeg_test::EncodeDirect(red, 16, 16, {.in_space = JCS_CMYK, .components = 4});
    TJPEGImage image;
    LoadBytes(image, cmyk);
    changes_ = 0;
    Watch(image);
    EXPECT_EQ(image.Bitmap().PixelFormat(), TPixelFormat::Bit8);
    EXPECT_EQ(changes_, 1);
  }
}

TEST_F(JpegImage, EncodesEveryPixelFormatLikeIts24BitConversion) {
  auto original = MakeBitmap(37, 23);
  for (TPixelFormat format : {TPixelFormat::Bit32, TPixelFormat::Bit16, TPixelFormat::Bit15,
                              TPixelFormat::Bit8, TPixelFormat::Bit4}) {
    TBitmap bitmap, converted;
    bitmap.Assign(original.get());
    bitmap.SetPixelFormat(format);
    converted.Assign(&bitmap);
    converted.SetPixelFormat(TPixelFormat::Bit24);
    TJPEGImage image;
    image.Assign(&bitmap);
    EXPECT_EQ(SaveBytes(image), EncodeBitmap(converted)) << static_cast<int>(format);
    EXPECT_EQ(image.Bitmap().PixelFormat(), format);  // its own bitmap is unchanged
  }

  // Rows lying top-down in memory encode like rows lying bottom-up.
  raster::InfoHeader header{.size = raster::kInfoHeaderSize, .width = 37, .height = -23,
                            .planes = 1, .bit_count = 24};
  auto top_down = raster::Image::MakeSection(header);
  for (int y = 0; y < 23; ++y) std::memcpy(top_down->Row(y), original->ScanLine(y), 37 * 3);
  TBitmap from_clipboard;
  from_clipboard.LoadFromClipboardFormat(kCfBitmap, ClipboardData{top_down, nullptr});
  ASSERT_TRUE(from_clipboard.Image()->TopDown());
  EXPECT_EQ(EncodeBitmap(from_clipboard), EncodeBitmap(*original));
}

TEST_F(JpegImage, RefusesSidesOver65500WithoutWritingAnything) {
  TJPEGImage image;
  image.Assign(test::Bitmap24(65501, 1).get());
  TMemoryStream stream;
  EXPECT_EQ(JpegErrorCode([&] { image.SaveToStream(stream); }), JERR_IMAGE_TOO_BIG);
  EXPECT_EQ(stream.Size(), 0);
  // A second attempt fails the same way rather than writing an empty file.
  EXPECT_EQ(JpegErrorCode([&] { image.SaveToStream(stream); }), JERR_IMAGE_TOO_BIG);
}

TEST_F(JpegImage, GraphicOperationsAndRegistration) {
  TJPEGImage image;
  EXPECT_THROW(image.SetHeight(10), EInvalidGraphicOperation);
  try {
    image.SetWidth(10);
    FAIL();
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), strings::kJpegCannotResize);
  }
  // Nor does any other kind assign to it, the other compressed kind included.
  TIcon icon;
  TPngImage png;
  for (const TPersistent* source : {static_cast<const TPersistent*>(nullptr),
                                    static_cast<const TPersistent*>(&icon),
                                    static_cast<const TPersistent*>(&png)}) {
    try {
      image.Assign(source);
      FAIL();
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string(source ? source->ClassName() : "nil") +
                                 " を TJPEGImage に代入することはできません");
    }
  }
  {
    // A halftone palette only when 24-bit decoding meets a screen of 8 bits or fewer.
    raster::ScopedScreen screen({.bits_per_pixel = 8});
    auto palette = image.Palette();
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(palette->IsHalftone());
    EXPECT_EQ(image.Palette(), palette);
    TJPEGImage eight;
    eight.Settings().DecodeBits = 8;
    EXPECT_EQ(eight.Palette(), nullptr);
  }
  EXPECT_EQ(TJPEGImage().Palette(), nullptr);

  InitJpegImageKind(8);
  EXPECT_EQ(TJPEGImage().Settings().DecodeBits, 8);
  const auto& entries = TFileFormatsList::Instance().Entries();
  ASSERT_GE(entries.size(), 4u);
  std::vector<std::string> added;
  for (auto e = entries.end() - 4; e != entries.end(); ++e) {
    added.push_back(e->extension);
    EXPECT_EQ(e->description, strings::kJpegDescription);
    EXPECT_EQ(e->graphic_class, &TJPEGImage::StaticClass());
  }
  EXPECT_EQ(added, (std::vector<std::string>{"jpg", "jpeg", "jpe", "jfif"}));
  EXPECT_EQ(TFileFormatsList::Instance().FindExt("JPG"), &TJPEGImage::StaticClass());
  DoneJpegImageKind();
  for (const char* extension : {"jpg", "jpeg", "jpe", "jfif"}) {
    EXPECT_EQ(TFileFormatsList::Instance().FindExt(extension), nullptr) << extension;
  }
  InitJpegImageKind(16);
  EXPECT_EQ(DefaultJpegSettings.DecodeBits, 24);
  DoneJpegImageKind();
}

}  // namespace
}  // namespace pelmora
