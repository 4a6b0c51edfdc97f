#include "raster/operations.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "raster/pixels.h"

namespace pelmora::raster {

namespace {

// Pixels converted per step: colour buffers never grow with the width of an image.
constexpr int kRowPiece = 4096;

// Both images hold their pixels in the same form, so rows can be copied as bytes.
bool SameForm(const Image& a, const Image& b) {
  if (a.BitCount() != b.BitCount()) return false;
  if (a.BitCount() <= 8) {
    auto ta = a.FullColourTable();
    auto tb = b.FullColourTable();
    return a.ColourTable().size() <= b.ColourTable().size() &&
           std::equal(ta.begin(), ta.end(), tb.begin(), tb.end());
  }
  return a.BitMasks() == b.BitMasks();
}

// 24-bit rows into 32-bit rows with plain masks: the common conversion, done directly.
bool Is24To32(const Image& source, const Image& target) {
  return source.BitCount() == 24 && HasByteMasks(target.BitCount(), target.BitMasks());
}

}  // namespace

int NearestSource(std::int64_t t, int source_start, int source_len, int target_len) {
  std::int64_t s = (2 * t + 1) * source_len / (2 * std::int64_t{target_len});
  return source_start + static_cast<int>(std::min<std::int64_t>(s, source_len - 1));
}

void Convert(const Image& source, Image& target) {
  const int width = std::min(source.Width(), target.Width());
  const int height = std::min(source.Height(), target.Height());
  if (width <= 0 || height <= 0) return;

  if (SameForm(source, target)) {
    const std::uint64_t row_bits = std::uint64_t{static_cast<std::uint32_t>(width)} *
                                   static_cast<std::uint32_t>(source.BitCount());
    const std::size_t whole = static_cast<std::size_t>(row_bits / 8);
    const int rest_bits = static_cast<int>(row_bits % 8);
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* from = source.Row(y);
      std::uint8_t* to = target.Row(y);
      std::memcpy(to, from, whole);
      if (rest_bits != 0) {
        // Keep the target's bits beyond the copied width in the last, shared byte.
        auto keep = static_cast<std::uint8_t>(0xFF >> rest_bits);
        to[whole] = static_cast<std::uint8_t>((from[whole] & ~keep) | (to[whole] & keep));
      }
    }
    return;
  }

  if (Is24To32(source, target)) {
    const std::uint8_t fourth = target.HasAlpha() ? 255 : 0;
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* from = source.Row(y);
      std::uint8_t* to = target.Row(y);
      for (int x = 0; x < width; ++x, from += 3, to += 4) {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        to[3] = fourth;
      }
    }
    return;
  }

  // A piece of a row at a time: a wide row of few bits would otherwise need a colour
  // buffer many times the size of the image itself.
  RowReader reader(source);
  RowWriter writer(target);
  std::vector<Rgb> piece(static_cast<std::size_t>(std::min(width, kRowPiece)));
  for (int y = 0; y < height; ++y) {
    for (int x = 0, count = 0; x < width; x += count) {
      count = std::min(kRowPiece, width - x);
      reader.Read(y, x, count, piece.data());
      writer.Write(y, x, count, piece.data());
    }
  }
}

namespace {

// The clipped target span of one axis and the mapping back to source positions.
struct Axis {
  int first = 0;  // first target position drawn
  int last = 0;   // one past the last
};

Axis Clip(int start, int length, int limit) {
  Axis a;
  a.first = std::max(start, 0);
  a.last = static_cast<int>(std::min<std::int64_t>(std::int64_t{start} + length, limit));
  return a;
}


// Area-averaging weights of one target position: the source positions it covers, [first,
// last), and how much of each (in 1/65536 of a target position's area). Inner positions are
// covered whole and share one weight, so a span is a few numbers however far it reaches.
struct Span {
  int first = 0;
  int last = 0;
  std::uint32_t first_weight = 0;
  std::uint32_t inner_weight = 0;
  std::uint32_t last_weight = 0;
  int corrected = 0;         // the position whose weight takes the rounding difference
  std::int32_t correction = 0;

  std::uint32_t Weight(int s) const {
    std::uint32_t w = s == first ? first_weight : s == last - 1 ? last_weight : inner_weight;
    return s == corrected ? static_cast<std::uint32_t>(std::int64_t{w} + correction) : w;
  }
};

std::vector<Span> AreaWeights(int source_start, int source_len, int target_len, int first,
                              int last, int target_start) {
  std::vector<Span> all;
  all.reserve(static_cast<std::size_t>(last - first));
  const double scale = static_cast<double>(source_len) / target_len;
  auto weight_of = [&](int s, double from, double to) {
    const double cover = std::min<double>(s + 1.0, to) - std::max<double>(s, from);
    return static_cast<std::uint32_t>(cover / scale * 65536 + 0.5);
  };
  for (int t = first; t < last; ++t) {
    Span span;
    const double from = (t - target_start) * scale;
    const double to = from + scale;
    if (scale < 1.0) {
      // Enlarging: each target position takes the one source position under its centre.
      const double centre = (from + to) / 2;
      span.first = std::min(static_cast<int>(centre), source_len - 1);
      span.last = span.first + 1;
      span.first_weight = 65536;
      span.corrected = span.first;
    } else {
      span.first = static_cast<int>(from);
      span.last = std::min(static_cast<int>(std::ceil(to)), source_len);
      if (span.first >= span.last) {
        span.first = std::min(span.first, source_len - 1);
        span.last = span.first + 1;
        span.first_weight = 65536;
        span.corrected = span.first;
      } else {
        span.first_weight = weight_of(span.first, from, to);
        span.last_weight = weight_of(span.last - 1, from, to);
        const int inner = span.last - span.first - 2;
        if (inner > 0) span.inner_weight = weight_of(span.first + 1, from, to);
        const std::uint64_t total = span.first_weight +
                                    (span.last - span.first > 1 ? span.last_weight : 0) +
                                    std::uint64_t{span.inner_weight} * std::max(inner, 0);
        // The weights must sum to exactly 65536 so that flat areas keep their colour: the
        // rounding difference (a few units at most) goes to the first largest weight.
        span.corrected = span.first;
        std::uint32_t largest = span.first_weight;
        if (inner > 0 && span.inner_weight > largest) {
          span.corrected = span.first + 1;
          largest = span.inner_weight;
        }
        if (span.last - span.first > 1 && span.last_weight > largest) {
          span.corrected = span.last - 1;
        }
        span.correction = static_cast<std::int32_t>(65536 - static_cast<std::int64_t>(total));
      }
    }
    span.first += source_start;
    span.last += source_start;
    span.corrected += source_start;
    all.push_back(span);
  }
  return all;
}

// Reads one source row a piece at a time, so that a wide source needs no colour buffer of
// its whole width: At(x) gives the pixel at column x, loading the piece that holds it.
// Columns are asked for in rising order (or repeated), so each piece is read once a row.
class PieceReader {
 public:
  PieceReader(const RowReader& reader, int left, int right)
      : reader_(reader), right_(right), pixels_(static_cast<std::size_t>(
                                            std::min(right - left, kRowPiece))) {}
  void Row(int y) {
    y_ = y;
    begin_ = end_ = 0;
  }
  const Rgb& At(int x) {
    if (x < begin_ || x >= end_) {
      begin_ = x;
      end_ = x + std::min(kRowPiece, right_ - x);
      reader_.Read(y_, begin_, end_ - begin_, pixels_.data());
    }
    return pixels_[static_cast<std::size_t>(x - begin_)];
  }

 private:
  const RowReader& reader_;
  int right_;
  std::vector<Rgb> pixels_;
  int y_ = 0;
  int begin_ = 0;
  int end_ = 0;
};

}  // namespace

void Stretch(const Image& source, const TRect& source_rect, Image& target,
             const TRect& target_rect, StretchMode mode) {
  const int sw = source_rect.Width();
  const int sh = source_rect.Height();
  const int tw = target_rect.Width();
  const int th = target_rect.Height();
  if (sw <= 0 || sh <= 0 || tw <= 0 || th <= 0) return;
  if (source_rect.left < 0 || source_rect.top < 0 || source_rect.right > source.Width() ||
      source_rect.bottom > source.Height()) {
    return;
  }
  const Axis xs = Clip(target_rect.left, tw, target.Width());
  const Axis ys = Clip(target_rect.top, th, target.Height());
  if (xs.first >= xs.last || ys.first >= ys.last) return;
  const int out_width = xs.last - xs.first;

  RowReader reader(source);
  RowWriter writer(target);
  PieceReader row(reader, source_rect.left, source_rect.right);
  std::vector<Rgb> out(static_cast<std::size_t>(out_width));

  if (mode != StretchMode::Halftone) {
    std::vector<int> columns(static_cast<std::size_t>(out_width));
    for (int x = xs.first; x < xs.last; ++x) {
      columns[x - xs.first] = NearestSource(x - target_rect.left, source_rect.left, sw, tw);
    }
    int loaded = -1;
    for (int y = ys.first; y < ys.last; ++y) {
      int sy = NearestSource(y - target_rect.top, source_rect.top, sh, th);
      if (sy != loaded) {
        // A repeated source row gives the same target row again.
        row.Row(sy);
        for (int i = 0; i < out_width; ++i) out[i] = row.At(columns[i]);
        loaded = sy;
      }
      writer.Write(y, xs.first, out_width, out.data());
    }
    return;
  }

  const std::vector<Span> across =
      AreaWeights(source_rect.left, sw, tw, xs.first, xs.last, target_rect.left);
  const std::vector<Span> down =
      AreaWeights(source_rect.top, sh, th, ys.first, ys.last, target_rect.top);
  std::vector<std::uint64_t> sums(static_cast<std::size_t>(out_width) * 3);
  for (int y = ys.first; y < ys.last; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    const Span& rows = down[y - ys.first];
    for (int sy = rows.first; sy < rows.last; ++sy) {
      const std::uint64_t row_weight = rows.Weight(sy);
      if (row_weight == 0) continue;
      row.Row(sy);
      for (int i = 0; i < out_width; ++i) {
        const Span& columns = across[i];
        std::uint64_t r = 0, g = 0, b = 0;
        for (int sx = columns.first; sx < columns.last; ++sx) {
          const std::uint64_t w = columns.Weight(sx);
          const Rgb& c = row.At(sx);
          r += c.red * w;
          g += c.green * w;
          b += c.blue * w;
        }
        sums[3 * i] += r * row_weight;
        sums[3 * i + 1] += g * row_weight;
        sums[3 * i + 2] += b * row_weight;
      }
    }
    constexpr std::uint64_t kUnit = std::uint64_t{65536} * 65536;
    for (int i = 0; i < out_width; ++i) {
      out[i] = MakeRgb(static_cast<std::uint8_t>((sums[3 * i] + kUnit / 2) / kUnit),
                       static_cast<std::uint8_t>((sums[3 * i + 1] + kUnit / 2) / kUnit),
                       static_cast<std::uint8_t>((sums[3 * i + 2] + kUnit / 2) / kUnit));
    }
    writer.Write(y, xs.first, out_width, out.data());
  }
}

}  // namespace pelmora::raster
