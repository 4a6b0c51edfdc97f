#include "picture/jpeg_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "base/errors.h"
#include "base/format.h"
#include "base/strings.h"
#include "picture/bitmap.h"
#include "picture/file_formats.h"
#include "picture/icon.h"
#include "picture/raster_image.h"
#include "picture/raster_screen.h"
#include "jpeg_test_support.h"

#include <jerror.h>

namespace pelmora {
namespace {

using jpeg_test::Bytes;

Bytes MakeBgr(int width, int height) { return jpeg_test::MakeBgrPicture(width, height); }

// A 24-bit bitmap showing MakeBgr's picture.
std::unique_ptr<TBitmap> MakeBitmap(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(TPixelFormat::Bit24);
  bitmap->SetWidth(width);
  bitmap->SetHeight(height);
  const Bytes picture = MakeBgr(width, height);
  for (int y = 0; y < height; ++y) {
    std::memcpy(bitmap->ScanLine(y), &picture[static_cast<std::size_t>(y) * width * 3],
                static_cast<std::size_t>(width) * 3);
  }
  return bitmap;
}

// The pixels of a 24-bit bitmap, rows top first, without padding.
Bytes PixelsOf(TBitmap& bitmap) {
  Bytes out;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* row = bitmap.ScanLine(y);
    out.insert(out.end(), row, row + static_cast<std::size_t>(bitmap.Width()) * 3);
  }
  return out;
}

Bytes SaveBytes(TGraphic& graphic) {
  TMemoryStream stream;
  graphic.SaveToStream(stream);
  return stream.Bytes();
}

void LoadBytes(TGraphic& graphic, const Bytes& bytes) {
  TMemoryStream stream(bytes);
  graphic.LoadFromStream(stream);
}

int JpegErrorCode(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const EJPEG& e) {
    for (int code = 0; code < 1000; ++code) {
      if (e.Message() == Format(strings::kJpegError, {std::int64_t{code}})) return code;
    }
    ADD_FAILURE() << "unexpected message";
  }
  return -1;
}

class JpegImage : public ::testing::Test {
 protected:
  void TearDown() override { DefaultJpegSettings = JpegSettings{}; }

  // Counts the image's change notifications.
  void Watch(TJPEGImage& image) {
    image.SetOnChange([this](TGraphic&) { ++changes_; });
  }
  int changes_ = 0;
};

TEST_F(JpegImage, RoundTripsABitmapThroughBaselineJfif) {
  auto bitmap = MakeBitmap(64, 48);
  TJPEGImage image;
  image.Assign(bitmap.get());
  EXPECT_FALSE(image.Empty());
  EXPECT_EQ(image.Width(), 64);
  EXPECT_EQ(image.Data().bytes, nullptr);

  const Bytes file = SaveBytes(image);
  const Bytes header = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46,
                        0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00};
  ASSERT_GT(file.size(), 20u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 20), header);
  const std::size_t dqt = jpeg_test::FindMarker(file, 0xDB);
  ASSERT_NE(dqt, std::string::npos);
  EXPECT_EQ(Bytes(file.begin() + dqt + 5, file.begin() + dqt + 9), (Bytes{3, 2, 2, 3}));
  const std::size_t sof = jpeg_test::FindMarker(file, 0xC0);
  ASSERT_NE(sof, std::string::npos);
  EXPECT_EQ(Bytes(file.begin() + sof + 9, file.begin() + sof + 19),
            (Bytes{3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}));
  // Saving again writes the same bytes without encoding again.
  ASSERT_NE(image.Data().bytes, nullptr);
  EXPECT_EQ(SaveBytes(image), file);

  TJPEGImage loaded;
  Watch(loaded);
  LoadBytes(loaded, file);
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(loaded.Width(), 64);
  EXPECT_EQ(loaded.Height(), 48);
  EXPECT_FALSE(loaded.HasBitmap());  // size queries never decode
  TBitmap& decoded = loaded.Bitmap();
  EXPECT_EQ(decoded.PixelFormat(), TPixelFormat::Bit24);
  EXPECT_EQ(decoded.Width(), 64);
  EXPECT_EQ(decoded.Height(), 48);
  const Bytes pixels = PixelsOf(decoded);
  EXPECT_LT(jpeg_test::MeanDifference(pixels, MakeBgr(64, 48)), 2.0);
  EXPECT_LT(jpeg_test::MaxDifference(pixels, MakeBgr(64, 48)), 48);
  EXPECT_EQ(changes_, 2);  // the palette flag the load set is still up
  EXPECT_EQ(&loaded.Bitmap(), &decoded);
}

TEST_F(JpegImage, SharesAndWritesBackLoadedBytesExactly) {
  Bytes file = jpeg_test::ReadTestFile("testorig.jpg");
  ASSERT_FALSE(file.empty());
  file.insert(file.end(), {'t', 'r', 'a', 'i', 'l', 0xFF, 0xD9, 0});

  TJPEGImage loaded;
  // Loading reads from the stream's position to its end.
  Bytes prefixed = {1, 2, 3};
  prefixed.insert(prefixed.end(), file.begin(), file.end());
  TMemoryStream stream(prefixed);
  stream.SetPosition(3);
  loaded.LoadFromStream(stream);
  EXPECT_EQ(loaded.Width(), 227);
  EXPECT_EQ(loaded.Height(), 149);
  EXPECT_EQ(SaveBytes(loaded), file);

  TJPEGImage shared;
  shared.Assign(&loaded);
  EXPECT_TRUE(shared.SharesDataWith(loaded));
  EXPECT_FALSE(shared.HasBitmap());
  EXPECT_EQ(SaveBytes(shared), file);

  // A decoded image passes on a copy of its bitmap along with the bytes.
  loaded.Bitmap();
  TJPEGImage decoded_copy;
  decoded_copy.Assign(&loaded);
  ASSERT_TRUE(decoded_copy.HasBitmap());
  EXPECT_NE(&decoded_copy.Bitmap(), &loaded.Bitmap());
  EXPECT_EQ(PixelsOf(decoded_copy.Bitmap()), PixelsOf(loaded.Bitmap()));
  EXPECT_EQ(SaveBytes(decoded_copy), file);
  // One held by the other image survives its release.
  { TJPEGImage gone; LoadBytes(gone, file); shared.Assign(&gone); }
  EXPECT_EQ(SaveBytes(shared), file);
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
    EXPECT_EQ(image.Height(), 0);
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
    EXPECT_FALSE(image.Empty());  // it now holds a file of no bytes
  }
}

TEST_F(JpegImage, RefusesWhatIsNotAJpegFile) {
  const Bytes bmp = {'B', 'M', 0x3A, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 40, 0, 0, 0};
  TJPEGImage image;
  Watch(image);
  EXPECT_EQ(JpegErrorCode([&] { LoadBytes(image, bmp); }), JERR_NO_SOI);
  EXPECT_EQ(changes_, 0);
  EXPECT_EQ(image.Width(), 0);
  EXPECT_EQ(SaveBytes(image), bmp);  // the bytes stay as read

  EXPECT_NE(JpegErrorCode([&] { LoadBytes(image, jpeg_test::ReadTestFile("testorig12.jpg")); }),
            -1);

  const Bytes file = jpeg_test::ReadTestFile("testorig.jpg");
  TJPEGImage truncated;
  LoadBytes(truncated, Bytes(file.begin(), file.begin() + static_cast<long>(file.size() / 2)));
  EXPECT_EQ(JpegErrorCode([&] { EXPECT_EQ(truncated.Bitmap().Height(), 149); }), -1);
}

TEST_F(JpegImage, KeepsABitmapAsFarAsAFailedDecodeGot) {
  // A marker that libjpeg does not know, in the middle of the data, is fatal once the rows
  // are read.
  Bytes file = jpeg_test::ReadTestFile("testorig.jpg");
  file[file.size() / 2] = 0xFF;
  file[file.size() / 2 + 1] = 0x99;
  TJPEGImage image;
  LoadBytes(image, file);
  EXPECT_EQ(JpegErrorCode([&] { image.Bitmap(); }), JERR_UNKNOWN_MARKER);
  TBitmap* kept = nullptr;
  EXPECT_EQ(JpegErrorCode([&] { kept = &image.Bitmap(); }), -1);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->Width(), 227);
  EXPECT_EQ(kept->Height(), 149);

  // Failing before the size is known leaves an empty bitmap.
  TJPEGImage small;
  small.Assign(MakeBitmap(16, 16).get());
  Bytes bomb = SaveBytes(small);
  jpeg_test::PatchFrameSize(bomb, 65500, 65500);
  TJPEGImage huge;
  LoadBytes(huge, bomb);
  EXPECT_EQ(huge.Width(), 65500);
  EXPECT_EQ(JpegErrorCode([&] { huge.Bitmap(); }), JERR_IMAGE_TOO_BIG);
  EXPECT_TRUE(huge.Bitmap().Empty());
}

TEST_F(JpegImage, DecodesGrayAnd8BitOutputWithPalettes) {
  const Bytes file = jpeg_test::ReadTestFile("testorig.jpg");
  {
    TJPEGImage image;
    image.Settings().GrayOnly = true;
    Watch(image);
    LoadBytes(image, file);
    TBitmap& bitmap = image.Bitmap();
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::Bit8);
    auto palette = bitmap.Palette();
    ASSERT_NE(palette, nullptr);
    ASSERT_EQ(palette->Count(), 236);
    for (const raster::Rgb& e : palette->Entries()) {
      EXPECT_TRUE(e.red == e.green && e.green == e.blue);
    }
    EXPECT_EQ(changes_, 2);  // the load's and the new palette's
    EXPECT_TRUE(image.PaletteModified());
  }
  {
    // A gray file gives 236 grays even when 24 bits are asked for.
    auto bitmap = MakeBitmap(40, 30);
    TJPEGImage gray_writer;
    gray_writer.Settings().GrayOnly = true;
    gray_writer.Assign(bitmap.get());
    const Bytes gray_file = SaveBytes(gray_writer);
    TJPEGImage image;
    ASSERT_EQ(image.Settings().DecodeBits, 24);
    changes_ = 0;
    Watch(image);
    LoadBytes(image, gray_file);
    EXPECT_EQ(image.Bitmap().PixelFormat(), TPixelFormat::Bit8);
    EXPECT_EQ(image.Bitmap().Palette()->Count(), 236);
    EXPECT_EQ(changes_, 2);
  }
  {
    DefaultJpegSettings.DecodeBits = 8;
    TJPEGImage image;
    LoadBytes(image, file);
    TBitmap& bitmap = image.Bitmap();
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::Bit8);
    ASSERT_EQ(bitmap.Palette()->Count(), 236);
    // Indexes through the palette give the picture's colours (red stays red).
    TJPEGImage reference;
    reference.Settings().DecodeBits = 24;
    LoadBytes(reference, file);
    TBitmap as24;
    as24.Assign(&bitmap);
    as24.SetPixelFormat(TPixelFormat::Bit24);
    EXPECT_LT(jpeg_test::MeanDifference(PixelsOf(as24), PixelsOf(reference.Bitmap())), 6.0);
  }
}

TEST_F(JpegImage, DecodesProgressiveAndFourComponentFiles) {
  auto bitmap = MakeBitmap(48, 32);
  TJPEGImage baseline;
  baseline.Assign(bitmap.get());
  TJPEGImage progressive;
  progressive.Settings().EncodeProgressive = true;
  progressive.Assign(bitmap.get());
  const Bytes progressive_file = SaveBytes(progressive);
  EXPECT_NE(jpeg_test::FindMarker(progressive_file, 0xC2), std::string::npos);
  TJPEGImage a, b;
  LoadBytes(a, SaveBytes(baseline));
  LoadBytes(b, progressive_file);
  EXPECT_EQ(b.Width(), 48);
  EXPECT_LT(jpeg_test::MaxDifference(PixelsOf(a.Bitmap()), PixelsOf(b.Bitmap())), 8);

  // Adobe CMYK (inverted inks): pure red.
  Bytes cmyk;
  for (int i = 0; i < 16 * 16; ++i) cmyk.insert(cmyk.end(), {255, 0, 0, 255});
  const Bytes cmyk_file = jpeg_test::EncodeDirect(
      cmyk, 16, 16, {.in_space = JCS_CMYK, .components = 4});
  {
    TJPEGImage image;
    LoadBytes(image, cmyk_file);
    EXPECT_EQ(image.Bitmap().PixelFormat(), TPixelFormat::Bit24);
    const std::uint8_t* p = image.Bitmap().ScanLine(8) + 8 * 3;
    EXPECT_NEAR(p[0], 0, 8);
    EXPECT_NEAR(p[1], 0, 8);
    EXPECT_NEAR(p[2], 255, 8);
  }
  {
    TJPEGImage image;
    image.Settings().DecodeBits = 8;
    changes_ = 0;
    Watch(image);
    LoadBytes(image, cmyk_file);
    EXPECT_EQ(image.Bitmap().PixelFormat(), TPixelFormat::Bit8);
    EXPECT_EQ(changes_, 2);
  }
}

TEST_F(JpegImage, EncodesEveryPixelFormatLikeIts24BitConversion) {
  auto original = MakeBitmap(37, 23);
  for (TPixelFormat format : {TPixelFormat::Bit32, TPixelFormat::Bit16, TPixelFormat::Bit15,
                              TPixelFormat::Bit8, TPixelFormat::Bit4}) {
    TBitmap bitmap;
    bitmap.Assign(original.get());
    bitmap.SetPixelFormat(format);
    TBitmap converted;
    converted.Assign(&bitmap);
    converted.SetPixelFormat(TPixelFormat::Bit24);

    TJPEGImage from_format, from_24;
    from_format.Assign(&bitmap);
    from_24.Assign(&converted);
    EXPECT_EQ(from_format.Bitmap().PixelFormat(), format);
    EXPECT_EQ(SaveBytes(from_format), SaveBytes(from_24)) << static_cast<int>(format);
    EXPECT_EQ(from_format.Bitmap().PixelFormat(), format);  // its own bitmap unchanged
  }

  // Rows lying top-down in memory encode like rows lying bottom-up.
  raster::InfoHeader header;
  header.size = raster::kInfoHeaderSize;
  header.width = 37;
  header.height = -23;
  header.planes = 1;
  header.bit_count = 24;
  auto top_down = raster::Image::MakeSection(header);
  for (int y = 0; y < 23; ++y) {
    std::memcpy(top_down->Row(y), original->ScanLine(y), 37 * 3);
  }
  ASSERT_EQ(top_down->MemoryRow(0), top_down->Row(0));
  TBitmap from_clipboard;
  from_clipboard.LoadFromClipboardFormat(kCfBitmap, ClipboardData{top_down, nullptr});
  ASSERT_TRUE(from_clipboard.Description().header.height < 0);
  TJPEGImage a, b;
  a.Assign(&from_clipboard);
  b.Assign(original.get());
  EXPECT_EQ(SaveBytes(a), SaveBytes(b));
}

TEST_F(JpegImage, RefusesSidesOver65500WithoutWritingAnything) {
  TBitmap wide;
  wide.SetPixelFormat(TPixelFormat::Bit24);
  wide.SetWidth(65501);
  wide.SetHeight(1);
  TJPEGImage image;
  image.Assign(&wide);
  TMemoryStream stream;
  EXPECT_EQ(JpegErrorCode([&] { image.SaveToStream(stream); }), JERR_IMAGE_TOO_BIG);
  EXPECT_EQ(stream.Size(), 0);
  // A second attempt fails the same way rather than writing an empty file.
  EXPECT_EQ(JpegErrorCode([&] { image.SaveToStream(stream); }), JERR_IMAGE_TOO_BIG);
  EXPECT_EQ(image.Data().bytes, nullptr);

  // A file declaring such a side fails to load.
  TJPEGImage small;
  small.Assign(MakeBitmap(16, 16).get());
  Bytes file = SaveBytes(small);
  jpeg_test::PatchFrameSize(file, 65535, 16);
  TJPEGImage loaded;
  EXPECT_EQ(JpegErrorCode([&] { LoadBytes(loaded, file); }), JERR_IMAGE_TOO_BIG);
  EXPECT_EQ(loaded.Width(), 0);
}

TEST_F(JpegImage, RefusesResizingAndForeignSources) {
  TJPEGImage image;
  try {
    image.SetWidth(10);
    FAIL();
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), strings::kJpegCannotResize);
  }
  EXPECT_THROW(image.SetHeight(10), EInvalidGraphicOperation);

  try {
    image.Assign(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "nil を TJPEGImage に代入することはできません");
  }
  TIcon icon;
  try {
    image.Assign(&icon);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "TIcon を TJPEGImage に代入することはできません");
  }
}

TEST_F(JpegImage, OffersAHalftonePaletteOnlyToShallowScreens) {
  {
    raster::ScopedScreen screen({.bits_per_pixel = 8});
    TJPEGImage image;
    auto palette = image.Palette();
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(palette->IsHalftone());
    EXPECT_EQ(image.Palette(), palette);  // the image owns it from then on
    TJPEGImage eight;
    eight.Settings().DecodeBits = 8;
    EXPECT_EQ(eight.Palette(), nullptr);
  }
  {
    raster::ScopedScreen screen({.bits_per_pixel = 32});
    TJPEGImage image;
    EXPECT_EQ(image.Palette(), nullptr);
  }
}

TEST_F(JpegImage, RegistersItsExtensionsAtStartUp) {
  InitJpegImageKind(8);
  EXPECT_EQ(DefaultJpegSettings.DecodeBits, 8);
  EXPECT_EQ(TJPEGImage().Settings().DecodeBits, 8);
  const auto& entries = TFileFormatsList::Instance().Entries();
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(entries[entries.size() - 2].extension, "jpeg");
  EXPECT_EQ(entries.back().extension, "jpg");
  EXPECT_EQ(entries.back().description, strings::kJpegDescription);
  EXPECT_EQ(TFileFormatsList::Instance().FindExt("JPG"), &TJPEGImage::StaticClass());
  auto created = TFileFormatsList::Instance().FindExt("jpeg")->create();
  EXPECT_STREQ(created->ClassName(), "TJPEGImage");

  DoneJpegImageKind();
  EXPECT_EQ(TFileFormatsList::Instance().FindExt("jpg"), nullptr);
  InitJpegImageKind(32);
  EXPECT_EQ(DefaultJpegSettings.DecodeBits, 24);
  DoneJpegImageKind();
}

}  // namespace
}  // namespace pelmora
