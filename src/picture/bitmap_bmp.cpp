// Reading and writing the BMP file form of a bitmap.
#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <span>

#include "base/errors.h"
#include "base/strings.h"
#include "picture/bitmap.h"
#include "picture/bmp_format.h"
#include "picture/checked_math.h"
#include "picture/raster_ops.h"

namespace pelmora {

namespace {

[[noreturn]] void Invalid() { throw EInvalidGraphic(strings::kInvalidBitmap); }

// The part of a long header (108 or 124 bytes) that is looked at: the 40 bytes of the
// plain info header and the three masks that follow them.
constexpr std::size_t kHeaderBytesKept = 52;

int DefaultColourCount(int bit_count) {
  return bit_count == 1 ? 2 : bit_count == 4 ? 16 : bit_count == 8 ? 256 : 0;
}

// Reads up to count bytes; what the stream does not have stays as it was.
std::size_t ReadUpTo(TStream& stream, std::uint8_t* out, std::size_t count) {
  std::size_t total = 0;
  while (total < count) {
    std::size_t got = stream.Read(out + total, count - total);
    if (got == 0) break;
    total += got;
  }
  return total;
}

raster::InfoHeader ParseInfoHeader(const std::uint8_t* b) {
  raster::InfoHeader h;
  h.size = bmp::Get32(b);
  h.width = static_cast<std::int32_t>(bmp::Get32(b + 4));
  h.height = static_cast<std::int32_t>(bmp::Get32(b + 8));
  h.planes = bmp::Get16(b + 12);
  h.bit_count = bmp::Get16(b + 14);
  h.compression = bmp::Get32(b + 16);
  h.size_image = bmp::Get32(b + 20);
  h.x_pels_per_meter = static_cast<std::int32_t>(bmp::Get32(b + 24));
  h.y_pels_per_meter = static_cast<std::int32_t>(bmp::Get32(b + 28));
  h.clr_used = bmp::Get32(b + 32);
  h.clr_important = bmp::Get32(b + 36);
  return h;
}

// A core header has no colour count: its table is as long as the bit count allows, but
// some files hold a shorter one and point their pixel offset at its end. An offset inside
// the file, between the header and the end of a full table, gives the table's length; one
// that does not fall on a whole entry, or leaves an indexed image no colours, cannot be
// read consistently.
std::uint32_t CoreColourCount(std::uint32_t full, const std::array<std::uint8_t, 14>& file_header,
                              std::int64_t file_size) {
  const std::int64_t table_start = bmp::kFileHeaderSize + raster::kCoreHeaderSize;
  const std::int64_t table_end = table_start + 3 * std::int64_t{full};
  const std::int64_t offset = bmp::Get32(file_header.data() + 10);
  if (offset < table_start || offset >= table_end || offset >= file_size) return full;
  if ((offset - table_start) % 3 != 0 || offset == table_start) Invalid();
  return static_cast<std::uint32_t>((offset - table_start) / 3);
}

}  // namespace

void TBitmap::LoadFromStream(TStream& stream) {
  const std::int64_t available = stream.Remaining();
  if (available <= 0) {
    SetRecord(std::make_shared<TBitmapImage>());
    SetPaletteModified(false);
    Changed();
    return;
  }

  const std::int64_t start = stream.Position();
  std::array<std::uint8_t, bmp::kFileHeaderSize> file_header;
  stream.ReadBuffer(file_header.data(), file_header.size());
  if (bmp::Get16(file_header.data()) != bmp::kFileType) Invalid();

  // The info header: a core header (12 bytes) is widened to a plain one; longer headers
  // are taken whole, their first 52 bytes kept.
  std::array<std::uint8_t, kHeaderBytesKept> header_bytes{};
  stream.ReadBuffer(header_bytes.data(), 4);
  const std::uint32_t header_size = bmp::Get32(header_bytes.data());
  const bool os2 = header_size == raster::kCoreHeaderSize;
  if (!os2 && header_size < raster::kInfoHeaderSize) Invalid();
  if (header_size - 4 > static_cast<std::uint64_t>(stream.Remaining())) {
    throw EReadError(strings::kReadError);
  }
  const std::size_t kept = std::min<std::size_t>(header_size, kHeaderBytesKept);
  stream.ReadBuffer(header_bytes.data() + 4, kept - 4);
  raster::InfoHeader header;
  if (os2) {
    const std::uint8_t* b = header_bytes.data();
    header.size = raster::kInfoHeaderSize;
    header.width = bmp::Get16(b + 4);
    header.height = bmp::Get16(b + 6);
    header.planes = bmp::Get16(b + 8);
    header.bit_count = bmp::Get16(b + 10);
  } else {
    header = ParseInfoHeader(header_bytes.data());
  }

  // Compressed data is kept as the whole file, and read on from that copy.
  const bool compressed =
      header.compression != raster::kBiRgb && header.compression != raster::kBiBitfields;
  std::shared_ptr<std::vector<std::uint8_t>> file_copy;
  std::unique_ptr<TSpanStream> copy_stream;
  TStream* in = &stream;
  if (compressed) {
    const std::uint64_t rest = static_cast<std::uint64_t>(stream.Remaining());
    const std::size_t head = bmp::kFileHeaderSize + kept;
    file_copy = std::make_shared<std::vector<std::uint8_t>>();
    try {
      file_copy->resize(head + static_cast<std::size_t>(rest));
    } catch (const std::bad_alloc&) {
      throw EOutOfResources(strings::kPictureTooLarge);  // a file larger than memory allows
    }
    std::memcpy(file_copy->data(), file_header.data(), bmp::kFileHeaderSize);
    std::memcpy(file_copy->data() + bmp::kFileHeaderSize, header_bytes.data(), kept);
    stream.ReadBuffer(file_copy->data() + head, static_cast<std::size_t>(rest));
    copy_stream = std::make_unique<TSpanStream>(file_copy->data(), file_copy->size());
    copy_stream->SetPosition(static_cast<std::int64_t>(bmp::kFileHeaderSize + header_size));
    in = copy_stream.get();
  } else if (header_size > kept) {
    in->Seek(static_cast<std::int64_t>(header_size - kept), SeekOrigin::Current);
  }

  if (header.planes != 1) Invalid();
  if (header.width <= 0 || header.height == 0 || header.height == INT32_MIN) Invalid();

  raster::Masks masks{};
  const bool bitfields = header.compression == raster::kBiBitfields &&
                         (header.bit_count == 16 || header.bit_count == 32);
  if (bitfields && header_size == raster::kInfoHeaderSize) {
    std::array<std::uint8_t, 12> m;
    in->ReadBuffer(m.data(), m.size());
    masks = {bmp::Get32(m.data()), bmp::Get32(m.data() + 4), bmp::Get32(m.data() + 8)};
  } else if (bitfields && header_size >= kHeaderBytesKept) {
    const std::uint8_t* m = header_bytes.data() + raster::kInfoHeaderSize;
    masks = {bmp::Get32(m), bmp::Get32(m + 4), bmp::Get32(m + 8)};
  }

  std::uint32_t colour_count =
      header.clr_used != 0 ? header.clr_used : DefaultColourCount(header.bit_count);
  if (colour_count > raster::kMaxPaletteEntries) Invalid();
  if (os2) colour_count = CoreColourCount(colour_count, file_header, stream.Size() - start);
  std::vector<raster::Rgb> colours(colour_count);
  {
    const std::size_t entry = os2 ? 3 : 4;
    std::vector<std::uint8_t> table(colour_count * entry);
    in->ReadBuffer(table.data(), table.size());
    for (std::size_t i = 0; i < colour_count; ++i) {
      colours[i] = raster::Rgb{table[i * entry], table[i * entry + 1], table[i * entry + 2], 0};
    }
  }

  // The pixels follow the colour table, unless the file's pixel offset points further on
  // (a gap or extra data after the table): then they are read from there. An offset that
  // points back into the headers or past the end is not trusted.
  {
    const std::int64_t base = compressed ? 0 : start;
    const std::int64_t offset = bmp::Get32(file_header.data() + 10);
    const std::int64_t here = in->Position();
    if (base + offset > here && base + offset < in->Size()) in->SetPosition(base + offset);
  }

  // Pixel bytes: the header's image size, or what the rows take; never more than is left.
  const std::uint64_t rows = header.height < 0 ? -std::int64_t{header.height} : header.height;
  auto row_bytes = raster::PaddedRowBytes(static_cast<std::uint64_t>(header.width),
                                          header.bit_count);
  std::optional<std::uint64_t> image_bytes =
      row_bytes ? raster::CheckedMul(*row_bytes, rows) : std::nullopt;
  std::uint64_t pixel_bytes = header.size_image != 0 ? header.size_image
                              : image_bytes           ? *image_bytes
                                                      : UINT64_MAX;
  pixel_bytes = std::min<std::uint64_t>(pixel_bytes, static_cast<std::uint64_t>(in->Remaining()));

  std::shared_ptr<raster::Image> image;
  if (compressed) {
    const auto* at = file_copy->data() + copy_stream->Position();
    image = raster::DecodeToDisplay(
        header, colours, masks,
        std::span<const std::uint8_t>(at, static_cast<std::size_t>(pixel_bytes)));
  } else {
    image = raster::Image::MakeSection(header, colours, masks);
    // Straight into the section's memory; rows the file does not have stay zero.
    ReadUpTo(*in, image->Bits(),
             static_cast<std::size_t>(std::min<std::uint64_t>(pixel_bytes, image->PixelBytes())));
  }

  auto record = std::make_shared<TBitmapImage>();
  record->handle = image;
  record->section = image->IsSection() ? image : nullptr;
  if (header.bit_count > 8 && colour_count > 0) {
    record->palette = std::make_shared<raster::Palette>(colours);
  }
  record->description = image->Describe();
  record->description.header.x_pels_per_meter = header.x_pels_per_meter;
  record->description.header.y_pels_per_meter = header.y_pels_per_meter;
  record->description.header.clr_used = header.clr_used;
  record->description.header.clr_important = header.clr_important;
  record->os2 = os2;
  record->file_copy = std::move(file_copy);
  const bool has_palette = record->palette != nullptr;
  SetRecord(std::move(record));
  SetPaletteModified(has_palette);
  Changed();
}

void TBitmap::SaveToStream(TStream& stream) {
  std::shared_ptr<TBitmapImage> record = Record();
  if (record->file_copy != nullptr) {
    stream.WriteBuffer(record->file_copy->data(), record->file_copy->size());
    return;
  }
  SectionNeeded(*record);
  if (record->section == nullptr) return;
  const raster::Image& section = *record->section;
  const raster::Description& d = record->description;

  raster::InfoHeader h = section.Header();
  h.x_pels_per_meter = d.header.x_pels_per_meter;
  h.y_pels_per_meter = d.header.y_pels_per_meter;
  h.clr_used = d.header.clr_used;
  h.clr_important = d.header.clr_important;
  const raster::Masks& masks = section.BitMasks();

  std::span<const raster::Rgb> table = section.ColourTable();
  if (h.clr_used > 0 && h.clr_used < table.size()) table = table.first(h.clr_used);
  if (table.empty() && !record->os2 && record->palette != nullptr && !record->halftone) {
    const auto& entries = record->palette->Entries();
    table = std::span<const raster::Rgb>(entries).first(
        std::min<std::size_t>(entries.size(), raster::kMaxPaletteEntries));
  }
  if (!table.empty()) h.clr_used = static_cast<std::uint32_t>(table.size());

  // The core header holds 16-bit sizes, bottom-up rows and no compression: an image that
  // no longer fits it is written with a plain info header instead.
  const bool os2 = record->os2 && h.width <= 0xFFFF && h.height > 0 && h.height <= 0xFFFF &&
                   h.compression == raster::kBiRgb &&
                   (h.bit_count <= 8 || h.bit_count == 24);

  bmp::Writer head;
  if (os2) {
    head.U32(raster::kCoreHeaderSize);
    head.U16(static_cast<std::uint16_t>(h.width));
    head.U16(static_cast<std::uint16_t>(h.height));
    head.U16(1);
    head.U16(h.bit_count);
    if (h.bit_count <= 8) {
      const std::size_t entries = std::size_t{1} << h.bit_count;
      for (std::size_t i = 0; i < entries; ++i) {
        raster::Rgb c = i < table.size() ? table[i] : raster::Rgb{};
        head.U8(c.blue);
        head.U8(c.green);
        head.U8(c.red);
      }
    }
  } else {
    head.U32(raster::kInfoHeaderSize);
    head.I32(h.width);
    head.I32(h.height);
    head.U16(1);
    head.U16(h.bit_count);
    head.U32(h.compression);
    head.U32(h.size_image);
    head.I32(h.x_pels_per_meter);
    head.I32(h.y_pels_per_meter);
    head.U32(h.clr_used);
    head.U32(h.clr_important);
    if (h.bit_count > 8 && (h.compression & 3) != 0) {
      for (std::uint32_t m : masks) head.U32(m);
    }
    for (const raster::Rgb& c : table) {
      head.U8(c.blue);
      head.U8(c.green);
      head.U8(c.red);
      head.U8(0);
    }
  }

  const std::uint32_t offset = static_cast<std::uint32_t>(bmp::kFileHeaderSize + head.Size());
  bmp::Writer file;
  file.U16(bmp::kFileType);
  file.U32(offset + h.size_image);
  file.U16(0);
  file.U16(0);
  file.U32(offset);
  stream.WriteBuffer(file.Bytes().data(), file.Size());
  stream.WriteBuffer(head.Bytes().data(), head.Size());
  stream.WriteBuffer(section.Bits(), section.PixelBytes());
}

}  // namespace pelmora
