// BMP load and save of a 12-megapixel 24-bit image against a plain copy of the same bytes,
// and the 24- to 32-bit pixel-format conversion. Compare the times of one run: load and
// save should stay within a small factor of the copy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "base/stream.h"
#include "picture/bitmap.h"

namespace {

using namespace pelmora;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

const std::vector<std::uint8_t>& FileBytes() {
  static const std::vector<std::uint8_t> bytes = [] {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::Bit24);
    bitmap.SetWidth(kWidth);
    bitmap.SetHeight(kHeight);
    for (int y = 0; y < kHeight; ++y) {
      std::uint8_t* row = bitmap.ScanLine(y);
      for (int i = 0; i < kWidth * 3; ++i) row[i] = static_cast<std::uint8_t>(i * 7 + y);
    }
    TMemoryStream out;
    bitmap.SaveToStream(out);
    return out.Bytes();
  }();
  return bytes;
}

void BM_CopyBytes(benchmark::State& state) {
  const auto& bytes = FileBytes();
  std::vector<std::uint8_t> target(bytes.size());
  for (auto _ : state) {
    std::memcpy(target.data(), bytes.data(), bytes.size());
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_CopyBytes)->Unit(benchmark::kMillisecond);

// A copy into freshly allocated memory each time, as a load must do.
void BM_CopyBytesFresh(benchmark::State& state) {
  const auto& bytes = FileBytes();
  for (auto _ : state) {
    std::vector<std::uint8_t> target(bytes.begin(), bytes.end());
    benchmark::DoNotOptimize(target.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_CopyBytesFresh)->Unit(benchmark::kMillisecond);

void BM_LoadBmp(benchmark::State& state) {
  const auto& bytes = FileBytes();
  for (auto _ : state) {
    TSpanStream in(bytes.data(), bytes.size());
    TBitmap bitmap;
    bitmap.LoadFromStream(in);
    benchmark::DoNotOptimize(bitmap.Width());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadBmp)->Unit(benchmark::kMillisecond);

void BM_SaveBmp(benchmark::State& state) {
  const auto& bytes = FileBytes();
  TSpanStream in(bytes.data(), bytes.size());
  TBitmap bitmap;
  bitmap.LoadFromStream(in);
  TMemoryStream out;
  out.SetSize(bytes.size());
  for (auto _ : state) {
    out.SetPosition(0);
    bitmap.SaveToStream(out);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_SaveBmp)->Unit(benchmark::kMillisecond);

void BM_Convert24To32(benchmark::State& state) {
  const auto& bytes = FileBytes();
  TSpanStream in(bytes.data(), bytes.size());
  TBitmap source;
  source.LoadFromStream(in);
  for (auto _ : state) {
    TBitmap copy;
    copy.Assign(&source);
    copy.SetPixelFormat(TPixelFormat::Bit32);
    benchmark::DoNotOptimize(copy.Width());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_Convert24To32)->Unit(benchmark::kMillisecond);

}  // namespace
