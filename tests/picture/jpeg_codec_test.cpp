#include "picture/jpeg_codec.h"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>

#include "base/errors.h"
#include "base/format.h"
#include "base/strings.h"
#include "jpeg_test_support.h"

#include <jerror.h>

namespace pelmora::jpeg {
namespace {

using jpeg_test::Bytes;

struct Decoded {
  OutputFormat format = OutputFormat::Bgr24;
  int width = 0;
  int height = 0;
  Bytes pixels;
  std::vector<PaletteEntry> colormap;
};

Decoded DecodeAll(const Bytes& file, const DecodeOptions& options = {}) {
  Decoder decoder(file.data(), file.size());
  decoder.ReadHeader();
  decoder.Configure(options);
  decoder.Start();
  Decoded out;
  out.format = decoder.Format();
  out.width = decoder.OutputWidth();
  out.height = decoder.OutputHeight();
  out.colormap = decoder.Colormap();
  const std::size_t row = static_cast<std::size_t>(out.width) *
                          (out.format == OutputFormat::Indexed8 ? 1 : 3);
  out.pixels.resize(row * out.height);
  while (decoder.OutputScanline() < out.height) {
    decoder.ReadRow(&out.pixels[row * decoder.OutputScanline()]);
  }
  decoder.Finish();
  return out;
}

Bytes Encode(const Bytes& bgr, int width, int height, const EncodeOptions& options = {}) {
  Bytes out;
  Encoder encoder(out);
  encoder.Start(width, height, options);
  while (encoder.NextScanline() < height) {
    encoder.WriteRow(&bgr[static_cast<std::size_t>(encoder.NextScanline()) * width * 3]);
  }
  encoder.Finish();
  return out;
}

// The 8-bit pixels looked up in their colour map, as blue, green, red.
Bytes Expand(const Decoded& d) {
  Bytes out;
  for (std::uint8_t index : d.pixels) {
    const PaletteEntry& e = d.colormap.at(index);
    out.insert(out.end(), {e.blue, e.green, e.red});
  }
  return out;
}

// Runs fn and returns the code of the EJPEG it raises (-1 when it raises none).
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

TEST(JpegCodec, EncodesBaselineJfifAtQuality90) {
  const Bytes picture = jpeg_test::MakeBgrPicture(64, 48);
  const Bytes file = Encode(picture, 64, 48);

  const Bytes header = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46,
                        0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00};
  ASSERT_GT(file.size(), header.size());
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 20), header);
  EXPECT_EQ(file[file.size() - 2], 0xFF);
  EXPECT_EQ(file[file.size() - 1], 0xD9);

  // Quality 90: the standard luminance table (16 11 12 14 12 10 16 14 in zigzag order)
  // scaled by 20%.
  const std::size_t dqt = jpeg_test::FindMarker(file, 0xDB);
  ASSERT_NE(dqt, std::string::npos);
  EXPECT_EQ(file[dqt + 4], 0x00);  // 8-bit table 0
  EXPECT_EQ(Bytes(file.begin() + dqt + 5, file.begin() + dqt + 13),
            (Bytes{3, 2, 2, 3, 2, 2, 3, 3}));

  // Baseline frame, three components: Y sampled 2x2, Cb and Cr 1x1.
  const std::size_t sof = jpeg_test::FindMarker(file, 0xC0);
  ASSERT_NE(sof, std::string::npos);
  EXPECT_EQ(file[sof + 9], 3);
  EXPECT_EQ(file[sof + 11], 0x22);
  EXPECT_EQ(file[sof + 14], 0x11);
  EXPECT_EQ(file[sof + 17], 0x11);
  EXPECT_EQ(jpeg_test::FindMarker(file, 0xDD), std::string::npos);  // no restart markers

  const Decoded back = DecodeAll(file);
  EXPECT_EQ(back.format, OutputFormat::Bgr24);
  EXPECT_EQ(back.width, 64);
  EXPECT_EQ(back.height, 48);
  EXPECT_LT(jpeg_test::MeanDifference(back.pixels, picture), 2.0);
  EXPECT_LT(jpeg_test::MaxDifference(back.pixels, picture), 48);
}

TEST(JpegCodec, EncodesGrayAndProgressiveOnRequest) {
  const Bytes picture = jpeg_test::MakeBgrPicture(40, 30);
  const Decoded baseline = DecodeAll(Encode(picture, 40, 30));
  {
    const Bytes file = Encode(picture, 40, 30, {.progressive = true});
    EXPECT_EQ(jpeg_test::FindMarker(file, 0xC0), std::string::npos);
    ASSERT_NE(jpeg_test::FindMarker(file, 0xC2), std::string::npos);
    const Decoded back = DecodeAll(file);
    EXPECT_EQ(back.format, OutputFormat::Bgr24);
    EXPECT_LT(jpeg_test::MaxDifference(back.pixels, baseline.pixels), 8);
  }
  {
    const Bytes file = Encode(picture, 40, 30, {.gray = true});
    const std::size_t sof = jpeg_test::FindMarker(file, 0xC0);
    ASSERT_NE(sof, std::string::npos);
    EXPECT_EQ(file[sof + 9], 1);
    // A gray file always decodes to 8 bits with 236 grays.
    const Decoded back = DecodeAll(file);
    EXPECT_EQ(back.format, OutputFormat::Indexed8);
    ASSERT_EQ(back.colormap.size(), 236u);
    for (const PaletteEntry& e : back.colormap) {
      EXPECT_TRUE(e.red == e.green && e.green == e.blue);
    }
    EXPECT_EQ(back.colormap.front(), (PaletteEntry{0, 0, 0}));
    EXPECT_EQ(back.colormap.back(), (PaletteEntry{255, 255, 255}));
  }
}

TEST(JpegCodec, DecodesPublicTestImages) {
  const Bytes huffman = jpeg_test::ReadTestFile("testorig.jpg");
  const Bytes arithmetic = jpeg_test::ReadTestFile("testimgari.jpg");
  ASSERT_FALSE(huffman.empty());
  const HeaderSize size = ReadHeaderSize(huffman.data(), huffman.size());
  EXPECT_EQ(size.width, 227);
  EXPECT_EQ(size.height, 149);

  // The same picture, entropy-coded two ways.
  const Decoded a = DecodeAll(huffman);
  const Decoded b = DecodeAll(arithmetic);
  EXPECT_EQ(a.width, 227);
  EXPECT_EQ(a.height, 149);
  EXPECT_LT(jpeg_test::MeanDifference(a.pixels, b.pixels), 1.0);
  {
    // 8 bits: 236 colours, each index's colour map entry close to the true colour (a
    // colour map read in the wrong component order would swap red and blue).
    const Decoded quantized = DecodeAll(huffman, {.eight_bit = true});
    EXPECT_EQ(quantized.format, OutputFormat::Indexed8);
    EXPECT_EQ(quantized.colormap.size(), 236u);
    EXPECT_LT(jpeg_test::MeanDifference(Expand(quantized), a.pixels), 6.0);
    const Decoded fast = DecodeAll(huffman, {.eight_bit = true, .fast = true});
    EXPECT_LT(jpeg_test::MeanDifference(Expand(fast), a.pixels), 20.0);
  }
  {
    const Decoded gray = DecodeAll(huffman, {.gray = true});
    EXPECT_EQ(gray.format, OutputFormat::Indexed8);
    EXPECT_EQ(gray.colormap.size(), 236u);
  }
  {
    const Decoded quarter = DecodeAll(huffman, {.scale_shift = 2});
    EXPECT_EQ(quarter.width, 57);
    EXPECT_EQ(quarter.height, 38);
    const Decoded unsmoothed = DecodeAll(huffman, {.block_smoothing = false, .fast = true});
    EXPECT_LT(jpeg_test::MeanDifference(unsmoothed.pixels, a.pixels), 2.0);
  }
}

TEST(JpegCodec, ReportsLibjpegFailuresWithTheirCodes) {
  const Bytes empty;
  EXPECT_EQ(JpegErrorCode([&] { ReadHeaderSize(empty.data(), 0); }), JERR_INPUT_EMPTY);

  const Bytes bmp = {'B', 'M', 0x3A, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0};
  EXPECT_EQ(JpegErrorCode([&] { ReadHeaderSize(bmp.data(), bmp.size()); }), JERR_NO_SOI);

  const Bytes twelve_bit = jpeg_test::ReadTestFile("testorig12.jpg");
  ASSERT_FALSE(twelve_bit.empty());
  EXPECT_EQ(JpegErrorCode([&] { DecodeAll(twelve_bit); }), JERR_BAD_PRECISION);

  // Only the header of a file cut inside it: no image.
  const Bytes huffman = jpeg_test::ReadTestFile("testorig.jpg");
  const Bytes cut(huffman.begin(), huffman.begin() + 100);
  EXPECT_NE(JpegErrorCode([&] { DecodeAll(cut); }), -1);

  // libjpeg's own limit is 65500 pixels a side.
  const Bytes row(65501 * 3, 0x80);
  EXPECT_EQ(JpegErrorCode([&] { Encode(row, 65501, 1); }), JERR_IMAGE_TOO_BIG);
  EXPECT_EQ(JpegErrorCode([&] { Encode(row, 1, 65501); }), JERR_IMAGE_TOO_BIG);
  EXPECT_EQ(JpegErrorCode([&] { Encode(row, 65500, 1); }), -1);

  // After a fatal error the decoder refuses every further step the same way.
  Decoder decoder(bmp.data(), bmp.size());
  EXPECT_EQ(JpegErrorCode([&] { decoder.ReadHeader(); }), JERR_NO_SOI);
  EXPECT_EQ(JpegErrorCode([&] { decoder.Start(); }), JERR_NO_SOI);
}

TEST(JpegCodec, DecodesDamagedDataToTheEnd) {
  const Bytes file = jpeg_test::ReadTestFile("testorig.jpg");
  const Decoded whole = DecodeAll(file);
  {
    const Bytes truncated(file.begin(), file.begin() + static_cast<long>(file.size() * 6 / 10));
    const Decoded d = DecodeAll(truncated);
    EXPECT_EQ(d.height, 149);
    // The top rows came from the data that is there.
    const Bytes top(whole.pixels.begin(), whole.pixels.begin() + 227 * 3 * 16);
    EXPECT_EQ(Bytes(d.pixels.begin(), d.pixels.begin() + 227 * 3 * 16), top);
  }
  {
    // Scrambled entropy data (zeros cannot form a marker).
    Bytes corrupt = file;
    for (std::size_t i = file.size() / 2; i < file.size() / 2 + 64; ++i) corrupt[i] = 0;
    EXPECT_EQ(DecodeAll(corrupt).height, 149);
  }
  {
    // Nothing after the frame header: every row still comes out.
    Bytes headers_only;
    for (std::size_t i = 0; i + 1 < file.size(); ++i) {
      if (file[i] == 0xFF && file[i + 1] == 0xDA) {
        headers_only.assign(file.begin(), file.begin() + static_cast<long>(i + 14));
        break;
      }
    }
    EXPECT_EQ(DecodeAll(headers_only).height, 149);
  }
}

TEST(JpegCodec, DecodesFourComponentFilesToColour) {
  // Four 8x8 tiles in a row: red, green, blue, white; the inks as a printer sees them.
  const std::uint8_t inks[4][4] = {{0, 255, 255, 0}, {255, 0, 255, 0}, {255, 255, 0, 0},
                                   {0, 0, 0, 0}};
  const std::uint8_t expected_bgr[4][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0},
                                           {255, 255, 255}};
  auto make = [&](bool inverted) {
    Bytes pixels;
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 32; ++x) {
        for (std::uint8_t ink : inks[x / 8]) pixels.push_back(inverted ? 255 - ink : ink);
      }
    }
    return pixels;
  };
  auto check = [&](const Bytes& file) {
    const Decoded d = DecodeAll(file, {.eight_bit = true});
    EXPECT_EQ(d.format, OutputFormat::Bgr24);
    ASSERT_EQ(d.pixels.size(), 32u * 8 * 3);
    for (int tile = 0; tile < 4; ++tile) {
      const std::uint8_t* p = &d.pixels[(4 * 32 + tile * 8 + 4) * 3];  // a tile's middle
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(p[c], expected_bgr[tile][c], 12) << tile;
    }
  };
  jpeg_test::DirectOptions adobe{.in_space = JCS_CMYK, .components = 4};
  check(jpeg_test::EncodeDirect(make(true), 32, 8, adobe));  // Adobe CMYK: inverted inks
  adobe.file_space = JCS_YCCK;
  check(jpeg_test::EncodeDirect(make(true), 32, 8, adobe));
  jpeg_test::DirectOptions plain{.in_space = JCS_CMYK, .components = 4, .adobe_marker = false};
  check(jpeg_test::EncodeDirect(make(false), 32, 8, plain));

  const Decoded gray = DecodeAll(jpeg_test::EncodeDirect(make(true), 32, 8, adobe),
                                 {.gray = true});
  for (std::size_t i = 0; i < gray.pixels.size(); i += 3) {
    EXPECT_EQ(gray.pixels[i], gray.pixels[i + 1]);
    EXPECT_EQ(gray.pixels[i], gray.pixels[i + 2]);
  }
}

TEST(JpegCodec, RefusesDecompressionBombsQuickly) {
  const std::clock_t started = std::clock();
  const Bytes picture = jpeg_test::MakeBgrPicture(16, 16);
  {
    // 65500 x 65500 would need 12 GiB of bitmap.
    Bytes file = Encode(picture, 16, 16);
    jpeg_test::PatchFrameSize(file, 65500, 65500);
    EXPECT_EQ(ReadHeaderSize(file.data(), file.size()).width, 65500);
    EXPECT_EQ(JpegErrorCode([&] { DecodeAll(file); }), JERR_IMAGE_TOO_BIG);
    // At 1/8 the output fits.
    Decoder decoder(file.data(), file.size());
    decoder.ReadHeader();
    decoder.Configure({.scale_shift = 3});
    EXPECT_EQ(JpegErrorCode([&] { decoder.Start(); }), -1);
    EXPECT_EQ(decoder.OutputWidth(), 8188);
  }
  {
    // 8-bit output needs a byte a pixel: 36000 x 30000 is over the limit, 32000 x 32000
    // with a 4:2:0 file would be under it, but not the quantizer's full-image buffer.
    Bytes file = Encode(picture, 16, 16);
    jpeg_test::PatchFrameSize(file, 36000, 30000);
    EXPECT_EQ(JpegErrorCode([&] { DecodeAll(file, {.eight_bit = true}); }),
              JERR_IMAGE_TOO_BIG);
    jpeg_test::PatchFrameSize(file, 32000, 32000);
    EXPECT_EQ(JpegErrorCode([&] { DecodeAll(file, {.eight_bit = true}); }),
              JERR_NO_BACKING_STORE);
  }
  {
    // A progressive 4:4:4 file of 18000 x 18000 fits the bitmap limit, but its coefficients
    // would need 1.9 GB inside libjpeg.
    Bytes file = jpeg_test::EncodeDirect(picture, 16, 16,
                                         {.progressive = true, .full_chroma = true});
    jpeg_test::PatchFrameSize(file, 18000, 18000);
    EXPECT_EQ(JpegErrorCode([&] { DecodeAll(file); }), JERR_NO_BACKING_STORE);
  }
  {
    const Bytes progressive = jpeg_test::EncodeDirect(picture, 16, 16, {.progressive = true});
    EXPECT_EQ(JpegErrorCode([&] {
                DecodeAll(jpeg_test::WithRepeatedLastScan(progressive, 500));
              }),
              -1);
    EXPECT_EQ(JpegErrorCode([&] {
                DecodeAll(jpeg_test::WithRepeatedLastScan(progressive, 501));
              }),
              JERR_BAD_PROGRESSION);
  }
  {
    // Scans over a large picture cost more: the blocks they cover are counted as well.
    // Here the first scan covers 64 + 16 + 16 blocks, the next ones 64 or 16 each.
    const Bytes file = jpeg_test::EncodeDirect(jpeg_test::MakeBgrPicture(64, 64), 64, 64,
                                               {.progressive = true});
    EXPECT_EQ(JpegErrorCode([&] { DecodeAll(file, {.max_scan_blocks = 96}); }),
              JERR_BAD_PROGRESSION);
    EXPECT_EQ(JpegErrorCode([&] { DecodeAll(file, {.max_scan_blocks = 2000}); }), -1);
  }
  EXPECT_LT(std::clock() - started, 5 * CLOCKS_PER_SEC);  // processor time
}

}  // namespace
}  // namespace pelmora::jpeg
