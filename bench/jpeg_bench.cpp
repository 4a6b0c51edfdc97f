// TJPEGImage against bare libjpeg-turbo on a 12-megapixel picture (4000 x 3000), with the
// same settings: decoding a baseline file to 24-bit rows, and encoding 24-bit rows at
// quality 90. The ratios of the two pairs are what matters.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include "base/stream.h"
#include "picture/bitmap.h"
#include "picture/jpeg_image.h"
#include "picture/jpeg_direct.h"

#include "codec_bench.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// The bare-library side: libjpeg with the same settings as the program's encoder.
std::vector<std::uint8_t> EncodeDirect(const std::uint8_t* pixels) {
  return pelmora::jpeg_test::EncodeDirect(pixels, kWidth, kHeight,
                                          {.quality = 90, .float_dct = true});
}

struct Fixture {
  std::vector<std::uint8_t> picture = pelmora::bench::MakePhotograph(kWidth, kHeight, 60);
  std::vector<std::uint8_t> file = EncodeDirect(picture.data());
  pelmora::TBitmap bitmap;

  Fixture() { pelmora::bench::FillBitmap24(bitmap, picture, kWidth, kHeight); }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_DecodeLibjpeg(benchmark::State& state) {
  const auto& file = Shared().file;
  for (auto _ : state) {
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, file.data(), file.size());
    jpeg_read_header(&d, TRUE);
    d.dct_method = JDCT_FLOAT;
    d.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&d);
    const std::size_t row_bytes = (std::size_t{d.output_width} * 3 + 3) & ~std::size_t{3};
    std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[row_bytes * d.output_height]);
    while (d.output_scanline < d.output_height) {
      JSAMPROW row = pixels.get() + row_bytes * d.output_scanline;
      jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    benchmark::DoNotOptimize(pixels.get());
  }
}

void BM_DecodeTJPEGImage(benchmark::State& state) {
  const auto& file = Shared().file;
  for (auto _ : state) {
    pelmora::TJPEGImage image;
    image.Settings().DecodeBits = 24;
    pelmora::TSpanStream stream(file.data(), file.size());
    image.LoadFromStream(stream);
    benchmark::DoNotOptimize(image.Bitmap().ScanLine(0));
  }
}

void BM_EncodeLibjpeg(benchmark::State& state) {
  const auto& picture = Shared().picture;
  for (auto _ : state) {
    auto file = EncodeDirect(picture.data());
    benchmark::DoNotOptimize(file.data());
  }
}

void BM_EncodeTJPEGImage(benchmark::State& state) {
  pelmora::bench::SaveAs<pelmora::TJPEGImage>(state, Shared().bitmap);
}

BENCHMARK(BM_DecodeLibjpeg)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_DecodeTJPEGImage)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_EncodeLibjpeg)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_EncodeTJPEGImage)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
