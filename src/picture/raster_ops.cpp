#include "picture/raster_ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "picture/raster_pixels.h"

namespace pelmora::raster {

namespace {

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
  const Masks& m = target.BitMasks();
  return source.BitCount() == 24 && target.BitCount() == 32 && m[0] == 0xFF0000 &&
         m[1] == 0xFF00 && m[2] == 0xFF;
}

}  // namespace

void Convert(const Image& source, Image& target) {
  const int width = std::min(source.Width(), target.Width());
  const int height = std::min(source.Height(), target.Height());
  if (width <= 0 || height <= 0) return;

  if (SameForm(source, target)) {
    const std::size_t whole = (static_cast<std::size_t>(width) * source.BitCount()) / 8;
    const int rest_bits = (width * source.BitCount()) % 8;
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
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* from = source.Row(y);
      std::uint8_t* to = target.Row(y);
      for (int x = 0; x < width; ++x, from += 3, to += 4) {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        to[3] = 0;
      }
    }
    return;
  }

  RowReader reader(source);
  RowWriter writer(target);
  std::vector<Rgb> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    reader.Read(y, 0, width, row.data());
    writer.Write(y, 0, width, row.data());
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

// Nearest source position of target position t (counted from the target rectangle's start).
int NearestSource(std::int64_t t, int source_start, int source_len, int target_len) {
  std::int64_t s = (2 * t + 1) * source_len / (2 * std::int64_t{target_len});
  return source_start + static_cast<int>(std::min<std::int64_t>(s, source_len - 1));
}

// Area-averaging weights: which source positions one target position covers and by how
// much (in 1/65536 of a target position's area).
struct Contribution {
  int source;
  std::uint32_t weight;
};
using Contributions = std::vector<std::vector<Contribution>>;

Contributions AreaWeights(int source_start, int source_len, int target_len, int first,
                          int last, int target_start) {
  Contributions all;
  all.reserve(static_cast<std::size_t>(last - first));
  const double scale = static_cast<double>(source_len) / target_len;
  for (int t = first; t < last; ++t) {
    std::vector<Contribution> list;
    double from = (t - target_start) * scale;
    double to = from + scale;
    if (scale < 1.0) {
      // Enlarging: each target position takes the one source position under its centre.
      double centre = (from + to) / 2;
      int s = std::min(static_cast<int>(centre), source_len - 1);
      list.push_back({source_start + s, 65536});
    } else {
      int s0 = static_cast<int>(from);
      int s1 = std::min(static_cast<int>(std::ceil(to)), source_len);
      std::uint32_t total = 0;
      for (int s = s0; s < s1; ++s) {
        double cover = std::min<double>(s + 1, to) - std::max<double>(s, from);
        auto w = static_cast<std::uint32_t>(cover / scale * 65536 + 0.5);
        if (w == 0) continue;
        list.push_back({source_start + s, w});
        total += w;
      }
      if (list.empty()) {
        list.push_back({source_start + std::min(s0, source_len - 1), 65536});
        total = 65536;
      }
      // Make the weights sum to exactly 65536 so that flat areas keep their colour: the
      // rounding difference (a few units at most) goes to the largest weight.
      auto largest = std::max_element(list.begin(), list.end(), [](auto& a, auto& b) {
        return a.weight < b.weight;
      });
      largest->weight = static_cast<std::uint32_t>(std::int64_t{largest->weight} + 65536 -
                                                   std::int64_t{total});
    }
    all.push_back(std::move(list));
  }
  return all;
}

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
  std::vector<Rgb> source_row(static_cast<std::size_t>(sw));
  std::vector<Rgb> out(static_cast<std::size_t>(out_width));

  if (mode != StretchMode::Halftone) {
    std::vector<int> columns(static_cast<std::size_t>(out_width));
    for (int x = xs.first; x < xs.last; ++x) {
      columns[x - xs.first] = NearestSource(x - target_rect.left, 0, sw, tw);
    }
    int loaded = -1;
    for (int y = ys.first; y < ys.last; ++y) {
      int sy = NearestSource(y - target_rect.top, source_rect.top, sh, th);
      if (sy != loaded) {
        reader.Read(sy, source_rect.left, sw, source_row.data());
        loaded = sy;
      }
      for (int i = 0; i < out_width; ++i) out[i] = source_row[columns[i]];
      writer.Write(y, xs.first, out_width, out.data());
    }
    return;
  }

  const Contributions across =
      AreaWeights(0, sw, tw, xs.first, xs.last, target_rect.left);
  const Contributions down =
      AreaWeights(source_rect.top, sh, th, ys.first, ys.last, target_rect.top);
  std::vector<std::uint64_t> sums(static_cast<std::size_t>(out_width) * 3);
  for (int y = ys.first; y < ys.last; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    for (const Contribution& row : down[y - ys.first]) {
      reader.Read(row.source, source_rect.left, sw, source_row.data());
      for (int i = 0; i < out_width; ++i) {
        std::uint64_t r = 0, g = 0, b = 0;
        for (const Contribution& col : across[i]) {
          const Rgb& c = source_row[col.source];
          r += std::uint64_t{c.red} * col.weight;
          g += std::uint64_t{c.green} * col.weight;
          b += std::uint64_t{c.blue} * col.weight;
        }
        sums[3 * i] += r * row.weight;
        sums[3 * i + 1] += g * row.weight;
        sums[3 * i + 2] += b * row.weight;
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
