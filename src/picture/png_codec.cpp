#include "picture/png_codec.h"

#include <cstring>
#include <new>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include <spng.h>
#include <zlib.h>

#include "base/errors.h"
#include "base/progress.h"
#include "base/strings.h"
#include "raster/checked_math.h"
#include "raster/image.h"

namespace pelmora::png {
namespace {

[[noreturn]] void RaisePngError(int code) {
  if (code == SPNG_EMEM) throw EOutOfResources(strings::kPictureTooLarge);
  // Reading past the end of the bytes is the file's end coming too soon.
  if (code == SPNG_IO_EOF || code == SPNG_IO_ERROR) code = SPNG_EOF;
  throw EPNG(strings::kPngError, {std::int64_t{code}});
}

void Check(int code) {
  if (code != 0) RaisePngError(code);
}

struct ContextFree {
  void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using Context = std::unique_ptr<spng_ctx, ContextFree>;

Context NewContext(int flags) {
  Context ctx(spng_ctx_new(flags));
  if (!ctx) throw EOutOfResources(strings::kPictureTooLarge);
  return ctx;
}

int ChannelsOf(std::uint8_t colour_type) {
  switch (colour_type) {
    case SPNG_COLOR_TYPE_TRUECOLOR:
      return 3;
    case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA:
      return 2;
    case SPNG_COLOR_TYPE_TRUECOLOR_ALPHA:
      return 4;
    default:
      return 1;
  }
}

// Row copies with red and blue exchanged: libspng's rows are red first, the engine's blue
// first. They run on every row decoded or encoded, so they use SSSE3's byte shuffle where
// the processor has it (a plain copy's speed), and plain code elsewhere.
void CopySwapped3Plain(const std::uint8_t* from, std::uint8_t* to, int width) {
  for (int x = 0; x < width; ++x, from += 3, to += 3) {
    to[0] = from[2];
    to[1] = from[1];
    to[2] = from[0];
  }
}

// Returns the alpha bits all pixels share (255 when every pixel is opaque).
unsigned CopySwapped4Plain(const std::uint8_t* from, std::uint8_t* to, int width) {
  std::uint32_t common = 0xFF000000u;
  for (int x = 0; x < width; ++x, from += 4, to += 4) {
    std::uint32_t v;
    std::memcpy(&v, from, 4);
    common &= v;
    v = (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
    std::memcpy(to, &v, 4);
  }
  return common >> 24;
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("ssse3"))) void CopySwapped3Ssse3(const std::uint8_t* from,
                                                         std::uint8_t* to, int width) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
  int x = 0;
  // Five pixels a step: 16 bytes in and out, the 16th (the next pixel's first) written
  // again by the next step.
  for (; x + 6 <= width; x += 5, from += 15, to += 15) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_shuffle_epi8(v, order));
  }
  CopySwapped3Plain(from, to, width - x);
}

__attribute__((target("ssse3"))) unsigned CopySwapped4Ssse3(const std::uint8_t* from,
                                                             std::uint8_t* to, int width) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
  __m128i common = _mm_set1_epi8(-1);
  int x = 0;
  for (; x + 4 <= width; x += 4, from += 16, to += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    common = _mm_and_si128(common, v);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_shuffle_epi8(v, order));
  }
  alignas(16) std::uint8_t lanes[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), common);
  return lanes[3] & lanes[7] & lanes[11] & lanes[15] & CopySwapped4Plain(from, to, width - x);
}

const bool kHasSsse3 = __builtin_cpu_supports("ssse3");
#endif

void CopySwapped3(const std::uint8_t* from, std::uint8_t* to, int width) {
#if defined(__x86_64__) || defined(__i386__)
  if (kHasSsse3) return CopySwapped3Ssse3(from, to, width);
#endif
  CopySwapped3Plain(from, to, width);
}

unsigned CopySwapped4(const std::uint8_t* from, std::uint8_t* to, int width) {
#if defined(__x86_64__) || defined(__i386__)
  if (kHasSsse3) return CopySwapped4Ssse3(from, to, width);
#endif
  return CopySwapped4Plain(from, to, width);
}

}  // namespace

struct Decoder::State {
  Context ctx;
  std::size_t size = 0;
  spng_ihdr ihdr{};
  bool alpha = false;
};

Decoder::Decoder(const std::uint8_t* data, std::size_t size) : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.ctx = NewContext(0);
  s.size = size;
  spng_ctx* ctx = s.ctx.get();
  Check(spng_set_chunk_limits(ctx, kMaxInflatedChunk, kMaxChunkCache));
  Check(spng_set_png_buffer(ctx, data, size));
  Check(spng_get_ihdr(ctx, &s.ihdr));
  spng_trns trns;
  const int transparency = spng_get_trns(ctx, &trns);
  if (transparency != 0 && transparency != SPNG_ECHUNKAVAIL) RaisePngError(transparency);
  s.alpha = transparency == 0 || s.ihdr.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
            s.ihdr.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
}

Decoder::~Decoder() = default;

int Decoder::Width() const { return static_cast<int>(state_->ihdr.width); }
int Decoder::Height() const { return static_cast<int>(state_->ihdr.height); }
bool Decoder::HasAlpha() const { return state_->alpha; }

void Decoder::Start() {
  State& s = *state_;
  const std::uint64_t width = s.ihdr.width;
  const std::uint64_t height = s.ihdr.height;
  // The bitmap's rows, as the raster engine pads them.
  auto row_bytes = raster::PaddedRowBytes(width, s.alpha ? 32 : 24);
  auto pixel_bytes = row_bytes ? raster::CheckedMul(*row_bytes, height) : std::nullopt;
  if (!pixel_bytes || *pixel_bytes > raster::MaxPixelBytes()) {
    throw EOutOfResources(strings::kPictureTooLarge);
  }
  // The filtered rows the image data must inflate to (those of an interlaced picture take
  // a little more); a file too short to hold them even at deflate's best ratio is cut off.
  const std::uint64_t row_bits = width * ChannelsOf(s.ihdr.color_type) * s.ihdr.bit_depth;
  const std::uint64_t inflated = height * (1 + (row_bits + 7) / 8);
  if (inflated / kMaxDeflateRatio > s.size) RaisePngError(SPNG_EIDAT_TOO_SHORT);
  const int format = s.alpha ? SPNG_FMT_RGBA8 : SPNG_FMT_RGB8;
  Check(spng_decode_image(s.ctx.get(), nullptr, 0, format,
                          SPNG_DECODE_PROGRESSIVE | (s.alpha ? SPNG_DECODE_TRNS : 0)));
}

bool Decoder::DecodeRows(const std::function<std::uint8_t*(int y)>& row) {
  State& s = *state_;
  const int width = Width();
  const std::size_t length = static_cast<std::size_t>(width) * (s.alpha ? 4 : 3);
  const bool interlaced = s.ihdr.interlace_method != SPNG_INTERLACE_NONE;
  std::vector<std::uint8_t> scratch(length);
  unsigned common_alpha = 255;
  // Puts a row into the engine's colour order.
  auto convert = [&](const std::uint8_t* from, std::uint8_t* to) {
    if (s.alpha) {
      common_alpha &= CopySwapped4(from, to, width);
    } else {
      CopySwapped3(from, to, width);
    }
  };
  int error = 0;
  do {
    spng_row_info info{};
    error = spng_get_row_info(s.ctx.get(), &info);
    if (error != 0) break;
    std::uint8_t* out = row(static_cast<int>(info.row_num));
    // A row of a picture that is not interlaced is complete at once: decoded next to the
    // cache, it is converted on its way into the bitmap. The passes of an interlaced one
    // fill each row bit by bit, in place.
    error = spng_decode_row(s.ctx.get(), interlaced ? out : scratch.data(), length);
    if (!interlaced && (error == 0 || error == SPNG_EOI)) convert(scratch.data(), out);
    // The seven passes of an interlaced picture each run down its rows.
    const std::uint64_t rows = static_cast<std::uint64_t>(Height());
    ReportProgress(interlaced ? info.pass * rows + info.row_num + 1 : info.row_num + 1u,
                   interlaced ? 7 * rows : rows);
  } while (error == 0);
  if (error != SPNG_EOI) RaisePngError(error);
  // The rest of the file: the checksum of the last image data, and the chunks after it. A
  // file that simply ends after its pixels is taken as it is.
  error = spng_decode_chunks(s.ctx.get());
  if (error != 0 && error != SPNG_IO_EOF) RaisePngError(error);
  for (int y = 0; interlaced && y < Height(); ++y) {
    std::memcpy(scratch.data(), row(y), length);
    convert(scratch.data(), row(y));
  }
  return s.alpha && common_alpha != 255;
}

namespace {

int AppendToVector(spng_ctx*, void* user, void* data, std::size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(user);
  try {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + length);
    return 0;
  } catch (...) {
    return SPNG_IO_ERROR;  // no memory: no exception may cross libspng's frames
  }
}

// The share of pixels equal to their left neighbour, over every 16th row: near 0 for a
// photograph, high for a screen capture, a drawing or an icon on a transparent ground.
double Flatness(int width, int height, int channels,
                const std::function<const std::uint8_t*(int y)>& row) {
  if (width <= 0 || height <= 0) return 1.0;  // nothing to measure: no picture
  std::uint64_t same = 0, all = 0;
  const auto step = static_cast<std::size_t>(channels);
  for (int y = 0; y < height; y += 16) {
    const std::uint8_t* pixels = row(y);
    for (std::size_t x = step; x < step * static_cast<std::size_t>(width); x += step) {
      same += std::memcmp(pixels + x, pixels + x - step, step) == 0;
    }
    all += static_cast<std::uint64_t>(width) - 1;
  }
  return all == 0 ? 1.0 : static_cast<double>(same) / static_cast<double>(all);
}

// The compression, chosen by measuring saves of real pictures (a wallpaper, screen captures,
// plots and an icon with alpha) against libspng's default of level 6 with every filter tried
// on every row: that took seconds for a 4096 x 4096 picture. Flat pictures are smallest left
// unfiltered, where deflate finds their repeats itself; photographs need a filter, and after
// Paeth's, run-length matching at level 1 keeps them within a few per cent of the default's
// size. Both take a fifth of the default's time or less.
void ChooseCompression(spng_ctx* ctx, double flatness) {
  const bool flat = flatness >= 0.5;
  Check(spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, flat ? 4 : 1));
  Check(spng_set_option(ctx, SPNG_IMG_COMPRESSION_STRATEGY, flat ? Z_DEFAULT_STRATEGY : Z_RLE));
  Check(spng_set_option(ctx, SPNG_FILTER_CHOICE,
                        flat ? SPNG_FILTER_CHOICE_NONE : SPNG_FILTER_CHOICE_PAETH));
}

}  // namespace

std::vector<std::uint8_t> Encode(int width, int height, bool alpha,
                                 const std::function<const std::uint8_t*(int y)>& row) {
  std::vector<std::uint8_t> out;
  Context ctx = NewContext(SPNG_CTX_ENCODER);
  Check(spng_set_png_stream(ctx.get(), AppendToVector, &out));
  spng_ihdr ihdr{};
  ihdr.width = static_cast<std::uint32_t>(width);
  ihdr.height = static_cast<std::uint32_t>(height);
  ihdr.bit_depth = 8;
  ihdr.color_type = alpha ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR;
  Check(spng_set_ihdr(ctx.get(), &ihdr));
  ChooseCompression(ctx.get(), Flatness(width, height, alpha ? 4 : 3, row));
  Check(spng_encode_image(ctx.get(), nullptr, 0, SPNG_FMT_PNG,
                          SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE));
  const std::size_t length = static_cast<std::size_t>(width) * (alpha ? 4 : 3);
  std::vector<std::uint8_t> swapped(length);
  for (int y = 0; y < height; ++y) {
    if (alpha) {
      CopySwapped4(row(y), swapped.data(), width);
    } else {
      CopySwapped3(row(y), swapped.data(), width);
    }
    const int error = spng_encode_row(ctx.get(), swapped.data(), length);
    if (error == SPNG_IO_ERROR) throw EOutOfResources(strings::kPictureTooLarge);
    if (error != 0 && !(error == SPNG_EOI && y == height - 1)) RaisePngError(error);
    ReportProgress(static_cast<std::uint64_t>(y) + 1, static_cast<std::uint64_t>(height));
  }
  return out;
}

}  // namespace pelmora::png
