#include "raster/pixels.h"

#include <bit>

#include "raster/palette.h"

namespace pelmora::raster {

Channel Channel::FromMask(std::uint32_t mask) {
  Channel c;
  c.mask = mask;
  if (mask == 0) return c;
  c.shift = std::countr_zero(mask);
  // Only the lowest contiguous run of bits counts; masks with holes are read as that run.
  c.width = std::countr_one(mask >> c.shift);
  return c;
}

std::uint8_t Channel::Read(std::uint32_t pixel) const {
  if (width == 0) return 0;
  std::uint32_t v = (pixel >> shift) & ((width >= 32) ? 0xFFFFFFFFu : ((1u << width) - 1));
  if (width >= 8) return static_cast<std::uint8_t>(v >> (width - 8));
  // Fewer than 8 bits: scale so that the largest value becomes 255.
  std::uint32_t max = (1u << width) - 1;
  return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
}

std::uint32_t Channel::Write(std::uint8_t value) const {
  if (width == 0) return 0;
  std::uint32_t v;
  if (width >= 8) {
    v = std::uint32_t{value} << (width - 8);
  } else {
    std::uint32_t max = (1u << width) - 1;
    v = (std::uint32_t{value} * max + 127) / 255;
  }
  return (v << shift) & mask;
}

namespace {

bool PlainMasks(const Image& image) { return HasByteMasks(image.BitCount(), image.BitMasks()); }

std::array<Channel, 3> ChannelsOf(const Image& image) {
  const Masks& m = image.BitMasks();
  return {Channel::FromMask(m[0]), Channel::FromMask(m[1]), Channel::FromMask(m[2])};
}

}  // namespace

RowReader::RowReader(const Image& image)
    : image_(image),
      table_(image.FullColourTable()),
      channels_(ChannelsOf(image)),
      plain_masks_(PlainMasks(image)) {}

void RowReader::Read(int y, int x0, int count, Rgb* out) const {
  const std::uint8_t* row = image_.Row(y);
  switch (image_.BitCount()) {
    case 1:
      for (int i = 0; i < count; ++i) {
        int x = x0 + i;
        out[i] = table_[(row[x >> 3] >> (7 - (x & 7))) & 1];
      }
      break;
    case 4:
      for (int i = 0; i < count; ++i) {
        int x = x0 + i;
        out[i] = table_[(x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4)];
      }
      break;
    case 8:
      for (int i = 0; i < count; ++i) out[i] = table_[row[x0 + i]];
      break;
    case 16: {
      const std::uint8_t* p = row + std::size_t{2} * static_cast<std::size_t>(x0);
      for (int i = 0; i < count; ++i, p += 2) {
        std::uint32_t v = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8;
        out[i] = Rgb{channels_[2].Read(v), channels_[1].Read(v), channels_[0].Read(v), 0};
      }
      break;
    }
    case 24: {
      const std::uint8_t* p = row + std::size_t{3} * static_cast<std::size_t>(x0);
      for (int i = 0; i < count; ++i, p += 3) out[i] = Rgb{p[0], p[1], p[2], 0};
      break;
    }
    case 32: {
      const std::uint8_t* p = row + std::size_t{4} * static_cast<std::size_t>(x0);
      if (plain_masks_) {
        for (int i = 0; i < count; ++i, p += 4) out[i] = Rgb{p[0], p[1], p[2], 0};
      } else {
        for (int i = 0; i < count; ++i, p += 4) {
          std::uint32_t v = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
              std::uint32_t{p[3]} << 24;
          out[i] = Rgb{channels_[2].Read(v), channels_[1].Read(v), channels_[0].Read(v), 0};
        }
      }
      break;
    }
    default:
      break;
  }
}

RowWriter::RowWriter(Image& image)
    : image_(image),
      table_(image.ColourTable()),
      channels_(ChannelsOf(image)),
      plain_masks_(PlainMasks(image)) {
  if (image.BitCount() <= 8) {
    cache_keys_.assign(4096, 0);
    cache_values_.assign(4096, 0);
  }
}

std::uint8_t RowWriter::Index(Rgb colour) {
  std::uint32_t key = (std::uint32_t{colour.red} << 16 | std::uint32_t{colour.green} << 8 |
                       colour.blue) |
                      1u << 24;
  std::uint32_t slot = ((key * 2654435761u) >> 20) & 4095;
  if (cache_keys_[slot] != key) {
    cache_keys_[slot] = key;
    cache_values_[slot] = static_cast<std::uint8_t>(NearestIndex(table_, colour));
  }
  return cache_values_[slot];
}

void RowWriter::Write(int y, int x0, int count, const Rgb* in) {
  std::uint8_t* row = image_.Row(y);
  switch (image_.BitCount()) {
    case 1:
      for (int i = 0; i < count; ++i) {
        int x = x0 + i;
        auto bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
        if (Index(in[i]) & 1) {
          row[x >> 3] |= bit;
        } else {
          row[x >> 3] &= static_cast<std::uint8_t>(~bit);
        }
      }
      break;
    case 4:
      for (int i = 0; i < count; ++i) {
        int x = x0 + i;
        std::uint8_t v = Index(in[i]) & 0x0F;
        std::uint8_t& b = row[x >> 1];
        b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | v)
                    : static_cast<std::uint8_t>((b & 0x0F) | (v << 4));
      }
      break;
    case 8:
      for (int i = 0; i < count; ++i) row[x0 + i] = Index(in[i]);
      break;
    case 16: {
      std::uint8_t* p = row + std::size_t{2} * static_cast<std::size_t>(x0);
      for (int i = 0; i < count; ++i, p += 2) {
        std::uint32_t v = channels_[0].Write(in[i].red) | channels_[1].Write(in[i].green) |
                          channels_[2].Write(in[i].blue);
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
      }
      break;
    }
    case 24: {
      std::uint8_t* p = row + std::size_t{3} * static_cast<std::size_t>(x0);
      for (int i = 0; i < count; ++i, p += 3) {
        p[0] = in[i].blue;
        p[1] = in[i].green;
        p[2] = in[i].red;
      }
      break;
    }
    case 32: {
      std::uint8_t* p = row + std::size_t{4} * static_cast<std::size_t>(x0);
      if (plain_masks_) {
        const std::uint8_t fourth = image_.HasAlpha() ? 255 : 0;
        for (int i = 0; i < count; ++i, p += 4) {
          p[0] = in[i].blue;
          p[1] = in[i].green;
          p[2] = in[i].red;
          p[3] = fourth;
        }
      } else {
        for (int i = 0; i < count; ++i, p += 4) {
          std::uint32_t v = channels_[0].Write(in[i].red) | channels_[1].Write(in[i].green) |
                            channels_[2].Write(in[i].blue);
          p[0] = static_cast<std::uint8_t>(v);
          p[1] = static_cast<std::uint8_t>(v >> 8);
          p[2] = static_cast<std::uint8_t>(v >> 16);
          p[3] = static_cast<std::uint8_t>(v >> 24);
        }
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace pelmora::raster
