#include "picture/jpeg_codec.h"

#include <ctime>

#include "jpeg_test_support.h"

#include <jerror.h>

namespace pelmora::jpeg {
namespace {

using jpeg_test::Bytes;
using jpeg_test::JpegErrorCode;

struct Decoded {
  OutputFormat format = OutputFormat::Bgr24;
  int width = 0, height = 0;
  Bytes pixels;  // indexes for 8-bit output, else blue, green, red
  std::vector<PaletteEntry> colormap;

  // 8-bit pixels looked up in the colour map.
  Bytes Expanded() const {
    Bytes out;
    for (std::uint8_t i : pixels) out.insert(out.end(), {colormap[i].blue, colormap[i].green,
                                                          colormap[i].red});
    return out;
  }
};

Decoded DecodeAll(const Bytes& file, const DecodeOptions& options = {}) {
  Decoder decoder(file.data(), file.size());
  decoder.ReadHeader();
  decoder.Configure(options);
  decoder.Start();
  Decoded out{decoder.Format(), decoder.OutputWidth(), decoder.OutputHeight(), {},
              decoder.Colormap()};
  const std::size_t row = std::size_t{3} * out.width;
  out.pixels.resize(row * out.height);
  while (decoder.OutputScanline() < out.height) {
    decoder.ReadRow(&out.pixels[row * decoder.OutputScanline()]);
  }
  if (out.format == OutputFormat::Indexed8) {
    for (int y = 0; y < out.height; ++y) {
      std::copy_n(&out.pixels[row * y], out.width, &out.pixels[std::size_t(out.width) * y]);
    }
    out.pixels.resize(out.pixels.size() / 3);
  }
  decoder.Finish();
  return out;
}

TEST(JpegCodec, DecodesPublicTestImages) {
  const Bytes huffman = jpeg_test::ReadTestFile("testorig.jpg");
  const Decoded a = DecodeAll(huffman);
  EXPECT_EQ(a.width, 227);
  EXPECT_EQ(a.height, 149);
  // The same picture, entropy-coded arithmetically.
  EXPECT_LT(jpeg_test::MeanDifference(DecodeAll(jpeg_test::ReadTestFile("testimgari.jpg")).pixels,
                                      a.pixels),
            1.0);
  // 8 bits: the colour map must be read in its own component order (red and blue swapped
  // would be far off).
  const Decoded quantized = DecodeAll(huffman, {.eight_bit = true});
  EXPECT_EQ(quantized.format, OutputFormat::Indexed8);
  EXPECT_EQ(quantized.colormap.size(), 236u);
  EXPECT_LT(jpeg_test::MeanDifference(quantized.Expanded(), a.pixels), 6.0);
  const Decoded fast = DecodeAll(huffman, {.eight_bit = true, .fast = true});
  EXPECT_LT(jpeg_test::MeanDifference(fast.Expanded(), a.pixels), 20.0);

  const Decoded quarter = DecodeAll(huffman, {.scale_shift = 2});
  EXPECT_EQ(quarter.width, 57);
  EXPECT_EQ(quarter.height, 38);
}

TEST(JpegCodec, ReportsLibjpegFailuresWithTheirCodes) {
  const Bytes empty, bmp = {'B', 'M', 0x3A, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0};
  EXPECT_EQ(JpegErrorCode([&] { ReadHeaderSize(empty.data(), 0); }), JERR_INPUT_EMPTY);
  EXPECT_EQ(JpegErrorCode([&] { ReadHeaderSize(bmp.data(), bmp.size()); }), JERR_NO_SOI);
  EXPECT_EQ(JpegErrorCode([&] { DecodeAll(jpeg_test::ReadTestFile("testorig12.jpg")); }),
            JERR_BAD_PRECISION);
  // After a fatal error the decoder refuses every further step the same way.
  Decoder decoder(bmp.data(), bmp.size());
  EXPECT_EQ(JpegErrorCode([&] { decoder.ReadHeader(); }), JERR_NO_SOI);
  EXPECT_EQ(JpegErrorCode([&] { decoder.Start(); }), JERR_NO_SOI);
}

TEST(JpegCodec, DecodesDamagedDataToTheEnd) {
  const Bytes file = jpeg_test::ReadTestFile("testorig.jpg");
  const Decoded whole = DecodeAll(file);
  {
    const Decoded cut = DecodeAll(Bytes(file.begin(), file.begin() + 3500));
    EXPECT_EQ(cut.height, 149);
    const auto top = static_cast<long>(227 * 3 * 16);
    EXPECT_TRUE(std::equal(cut.pixels.begin(), cut.pixels.begin() + top, whole.pixels.begin()));
  }
  {
    Bytes zeroed = file;  // zeros can never form a marker
    std::fill(zeroed.begin() + 2500, zeroed.begin() + 2600, 0);
    EXPECT_EQ(DecodeAll(zeroed).height, 149);
  }
}

TEST(JpegCodec, DecodesFourComponentFilesToColour) {
  // Tiles of red, green, blue and white, as inks (C, M, Y, K).
  const std::uint8_t inks[4][4] = {{0, 255, 255, 0}, {255, 0, 255, 0}, {255, 255, 0, 0},
                                   {0, 0, 0, 0}};
  const std::uint8_t bgr[4][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};
  auto make = [&](bool inverted) {
    Bytes pixels;
    for (int i = 0; i < 8 * 32; ++i) {
      for (std::uint8_t ink : inks[i % 32 / 8]) pixels.push_back(inverted ? 255 - ink : ink);
    }
    return pixels;
  };
  auto check = [&](const Bytes& file, const char* variant) {
    const Decoded d = DecodeAll(file, {.eight_bit = true});
    EXPECT_EQ(d.format, OutputFormat::Bgr24);
    for (int tile = 0; tile < 4; ++tile) {
      const std::uint8_t* p = &d.pixels[(4 * 32 + tile * 8 + 4) * 3];
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(p[c], bgr[tile][c], 12) << variant << tile;
    }
  };
  jpeg_test::DirectOptions adobe{.in_space = JCS_CMYK, .components = 4};
  check(jpeg_test::EncodeDirect(make(true), 32, 8, adobe), "Adobe CMYK");
  jpeg_test::DirectOptions plain = adobe;
  plain.adobe_marker = false;
  check(jpeg_test::EncodeDirect(make(false), 32, 8, plain), "plain CMYK");
  adobe.file_space = JCS_YCCK;
  const Bytes ycck = jpeg_test::EncodeDirect(make(true), 32, 8, adobe);
  check(ycck, "YCCK");

  const Decoded gray = DecodeAll(ycck, {.gray = true});
  for (std::size_t i = 0; i < gray.pixels.size(); i += 3) {
    EXPECT_TRUE(gray.pixels[i] == gray.pixels[i + 1] && gray.pixels[i] == gray.pixels[i + 2]);
  }
}

TEST(JpegCodec, RefusesDecompressionBombsQuickly) {
  const std::clock_t started = std::clock();
  const Bytes picture = jpeg_test::MakeBgrPicture(64, 64);
  const Bytes baseline = jpeg_test::EncodeDirect(picture, 64, 64, {});
  {
    // The bitmap would exceed the raster engine's ceiling: 12 GiB here.
    Bytes file = baseline;
    jpeg_test::PatchFrameSize(file, 65500, 65500);
    EXPECT_EQ(ReadHeaderSize(file.data(), file.size()).width, 65500);
    EXPECT_TRUE(jpeg_test::RefusedAsTooLarge([&] { DecodeAll(file); }));
    Decoder eighth(file.data(), file.size());
    eighth.ReadHeader();
    eighth.Configure({.scale_shift = 3});
    EXPECT_EQ(JpegErrorCode([&] { eighth.Start(); }), -1);
    EXPECT_EQ(eighth.OutputWidth(), 8188);
    // A byte a pixel at 8 bits.
    jpeg_test::PatchFrameSize(file, 36000, 30000);
    EXPECT_TRUE(jpeg_test::RefusedAsTooLarge([&] { DecodeAll(file, {.eight_bit = true}); }));
    // Under the ceiling, but two-pass quantization would buffer 3 GB inside libjpeg.
    jpeg_test::PatchFrameSize(file, 32000, 32000);
    EXPECT_TRUE(jpeg_test::RefusedAsTooLarge([&] { DecodeAll(file, {.eight_bit = true}); }));
  }
  {
    // A progressive 4:4:4 picture of 18000 x 18000: 1.9 GB of coefficients.
    Bytes file = jpeg_test::EncodeDirect(picture, 64, 64,
                                         {.progressive = true, .full_chroma = true});
    jpeg_test::PatchFrameSize(file, 18000, 18000);
    EXPECT_TRUE(jpeg_test::RefusedAsTooLarge([&] { DecodeAll(file); }));
  }
  {
    const Bytes file = jpeg_test::EncodeDirect(picture, 64, 64, {.progressive = true});
    EXPECT_EQ(JpegErrorCode([&] { DecodeAll(jpeg_test::WithRepeatedLastScan(file, 500)); }),
              -1);
    EXPECT_EQ(JpegErrorCode([&] { DecodeAll(jpeg_test::WithRepeatedLastScan(file, 501)); }),
              JERR_BAD_PROGRESSION);
    // The blocks the scans cover count too: the first covers 64 + 16 + 16.
    EXPECT_EQ(JpegErrorCode([&] { DecodeAll(file, {.max_scan_blocks = 96}); }),
              JERR_BAD_PROGRESSION);
    EXPECT_EQ(JpegErrorCode([&] { DecodeAll(file, {.max_scan_blocks = 2000}); }), -1);
  }
  EXPECT_LT(std::clock() - started, 5 * CLOCKS_PER_SEC);  // processor time
}

}  // namespace
}  // namespace pelmora::jpeg
