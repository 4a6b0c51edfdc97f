// TPngImage against bare libspng on 12-megapixel pictures (4000 x 3000), a photograph (noise
// everywhere, so the file is large) and a screenshot (large flat areas): decoding a file to
// rows of pixels, and encoding rows with libspng's default filtering and compression. The
// ratios of each pair are what matters.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include <spng.h>

#include "base/stream.h"
#include "picture/bitmap.h"
#include "picture/png_image.h"

#include "codec_bench.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Windows, panels and lines of text-like marks on a plain desktop.
std::vector<std::uint8_t> MakeScreenshot() {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * 3);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * kWidth + x) * 3];
      const bool window = (x / 800 + y / 600) % 3 != 0;
      const bool text = window && y % 24 < 12 && (x * 7 + y * 3) % 11 < 4 && x % 800 > 40;
      const std::uint8_t v = text ? 30 : window ? 240 : 90;
      p[0] = v;
      p[1] = window ? v : 60;
      p[2] = window ? v : 40;
    }
  }
  return pixels;
}

std::vector<std::uint8_t> ToRgb(const std::vector<std::uint8_t>& bgr) {
  std::vector<std::uint8_t> rgb(bgr.size());
  for (std::size_t i = 0; i < bgr.size(); i += 3) {
    rgb[i] = bgr[i + 2];
    rgb[i + 1] = bgr[i + 1];
    rgb[i + 2] = bgr[i];
  }
  return rgb;
}

// A libspng encoder into memory, for 8-bit RGB rows of the pictures' size.
spng_ctx* NewRgbEncoder() {
  spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
  spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
  spng_ihdr ihdr{};
  ihdr.width = kWidth;
  ihdr.height = kHeight;
  ihdr.bit_depth = 8;
  ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
  spng_set_ihdr(ctx, &ihdr);
  return ctx;
}

// The bare-library side: libspng encoding RGB rows with its defaults.
std::vector<std::uint8_t> EncodeDirect(const std::vector<std::uint8_t>& rgb) {
  spng_ctx* ctx = NewRgbEncoder();
  spng_encode_image(ctx, rgb.data(), rgb.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
  std::size_t size = 0;
  int error = 0;
  auto* bytes = static_cast<std::uint8_t*>(spng_get_png_buffer(ctx, &size, &error));
  std::vector<std::uint8_t> file(bytes, bytes + size);
  std::free(bytes);
  spng_ctx_free(ctx);
  return file;
}

struct Picture {
  std::vector<std::uint8_t> rgb;
  std::vector<std::uint8_t> file;
  pelmora::TBitmap bitmap;

  explicit Picture(const std::vector<std::uint8_t>& bgr) : rgb(ToRgb(bgr)), file(EncodeDirect(rgb)) {
    pelmora::bench::FillBitmap24(bitmap, bgr, kWidth, kHeight);
  }
};

Picture& Photograph() {
  static Picture picture(pelmora::bench::MakePhotograph(kWidth, kHeight, 0));
  return picture;
}

Picture& Screenshot() {
  static Picture picture(MakeScreenshot());
  return picture;
}

Picture& Of(const benchmark::State& state) { return state.range(0) == 0 ? Photograph() : Screenshot(); }

void BM_DecodeLibspng(benchmark::State& state) {
  const auto& file = Of(state).file;
  for (auto _ : state) {
    spng_ctx* ctx = spng_ctx_new(0);
    spng_set_png_buffer(ctx, file.data(), file.size());
    std::size_t size = 0;
    spng_decoded_image_size(ctx, SPNG_FMT_RGB8, &size);
    std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[size]);
    spng_decode_image(ctx, pixels.get(), size, SPNG_FMT_RGB8, 0);
    spng_ctx_free(ctx);
    benchmark::DoNotOptimize(pixels.get());
  }
  state.counters["file MB"] = static_cast<double>(file.size()) / 1e6;
}

void BM_DecodeTPngImage(benchmark::State& state) {
  const auto& file = Of(state).file;
  for (auto _ : state) {
    pelmora::TPngImage image;
    pelmora::TSpanStream stream(file.data(), file.size());
    image.LoadFromStream(stream);
    benchmark::DoNotOptimize(image.Bitmap().Image().get());
  }
}

void BM_EncodeLibspng(benchmark::State& state) {
  const auto& rgb = Of(state).rgb;
  for (auto _ : state) {
    auto file = EncodeDirect(rgb);
    benchmark::DoNotOptimize(file.data());
  }
}

// The same, handing libspng one row at a time, as the program does.
void BM_EncodeLibspngRows(benchmark::State& state) {
  const auto& rgb = Of(state).rgb;
  for (auto _ : state) {
    spng_ctx* ctx = NewRgbEncoder();
    spng_encode_image(ctx, nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    for (int y = 0; y < kHeight; ++y) spng_encode_row(ctx, &rgb[std::size_t{3} * kWidth * y], kWidth * 3);
    std::size_t size = 0;
    int error = 0;
    void* bytes = spng_get_png_buffer(ctx, &size, &error);
    std::free(bytes);
    spng_ctx_free(ctx);
  }
}
BENCHMARK(BM_EncodeLibspngRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_EncodeTPngImage(benchmark::State& state) {
  pelmora::bench::SaveAs<pelmora::TPngImage>(state, Of(state).bitmap);
}

// Argument 0: the photograph, 1: the screenshot.
BENCHMARK(BM_DecodeLibspng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_DecodeTPngImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_EncodeLibspng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_EncodeTPngImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
