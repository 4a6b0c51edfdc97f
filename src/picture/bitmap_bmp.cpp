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
#include "raster/alpha.h"
#include "raster/checked_math.h"
#include "raster/decode.h"
#include "raster/pixels.h"

namespace pelmora {

namespace {

using raster::InvalidImage;

// The part of a long header (108 or 124 bytes) that is looked at: the 40 bytes of the
// plain info header and the three masks that follow them.
constexpr std::size_t kHeaderBytesKept = 52;
// Where a long header keeps its alpha mask.
constexpr std::size_t kAlphaMaskAt = 52;

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

// The headers at the start of a BMP file, read and checked.
struct BmpHeaders {
  std::array<std::uint8_t, bmp::kFileHeaderSize> file_header{};
  // The info header's first bytes as the file holds them (up to kHeaderBytesKept).
  std::array<std::uint8_t, kHeaderBytesKept> header_bytes{};
  std::uint32_t header_size = 0;
  std::size_t kept = 0;
  // A core header (12 bytes), widened into `info`.
  bool os2 = false;
  raster::InfoHeader info;
  // The entries of the colour table the header declares.
  std::uint32_t colour_count = 0;

  // Run-length data: the reader keeps the whole file and decodes from that copy.
  bool Compressed() const {
    return info.compression != raster::kBiRgb && info.compression != raster::kBiBitfields;
  }
  std::int64_t PixelOffset() const { return bmp::Get32(file_header.data() + 10); }
};

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

raster::InfoHeader ParseCoreHeader(const std::uint8_t* b) {
  raster::InfoHeader h;
  h.size = raster::kInfoHeaderSize;
  h.width = bmp::Get16(b + 4);
  h.height = bmp::Get16(b + 6);
  h.planes = bmp::Get16(b + 8);
  h.bit_count = bmp::Get16(b + 10);
  return h;
}

// Reads the info header: a core header (12 bytes) is widened to a plain one; longer
// headers are taken whole, their first kHeaderBytesKept bytes kept.
void ReadInfoHeader(TStream& stream, BmpHeaders& h) {
  stream.ReadBuffer(h.header_bytes.data(), 4);
  h.header_size = bmp::Get32(h.header_bytes.data());
  h.os2 = h.header_size == raster::kCoreHeaderSize;
  if (!h.os2 && h.header_size < raster::kInfoHeaderSize) InvalidImage();
  if (h.header_size - 4 > static_cast<std::uint64_t>(stream.Remaining())) {
    throw EReadError(strings::kReadError);
  }
  h.kept = std::min<std::size_t>(h.header_size, kHeaderBytesKept);
  stream.ReadBuffer(h.header_bytes.data() + 4, h.kept - 4);
  h.info = h.os2 ? ParseCoreHeader(h.header_bytes.data()) : ParseInfoHeader(h.header_bytes.data());
}

// The entries of the colour table: the header's count, or all that the bit count allows.
std::uint32_t DeclaredColourCount(const raster::InfoHeader& info) {
  const std::uint32_t count =
      info.clr_used != 0 ? info.clr_used : DefaultColourCount(info.bit_count);
  if (count > std::uint32_t{raster::kMaxPaletteEntries}) InvalidImage();
  return count;
}

// Every field the rest of the reading depends on is checked before anything more is read.
BmpHeaders ReadHeaders(TStream& stream) {
  BmpHeaders h;
  stream.ReadBuffer(h.file_header.data(), h.file_header.size());
  if (bmp::Get16(h.file_header.data()) != bmp::kFileType) InvalidImage();
  ReadInfoHeader(stream, h);
  if (h.info.planes != 1) InvalidImage();
  raster::CheckImageForm(h.info);
  h.colour_count = DeclaredColourCount(h.info);
  return h;
}

// Where the rest of the file is read from: the stream itself, or for compressed data a
// copy of the whole file, kept so that it can be written back unchanged.
struct BmpBody {
  std::shared_ptr<std::vector<std::uint8_t>> file_copy;
  std::unique_ptr<TSpanStream> copy_stream;
  TStream* in = nullptr;
  // Where the file starts in `in`: the file's pixel offset counts from there.
  std::int64_t base = 0;
};

BmpBody OpenBody(TStream& stream, const BmpHeaders& h, std::int64_t start) {
  BmpBody body;
  if (!h.Compressed()) {
    body.in = &stream;
    body.base = start;
    if (h.header_size > h.kept) {
      stream.Seek(static_cast<std::int64_t>(h.header_size - h.kept), SeekOrigin::Current);
    }
    return body;
  }
  const std::uint64_t rest = static_cast<std::uint64_t>(stream.Remaining());
  const std::size_t head = bmp::kFileHeaderSize + h.kept;
  body.file_copy = std::make_shared<std::vector<std::uint8_t>>();
  try {
    body.file_copy->resize(head + static_cast<std::size_t>(rest));
  } catch (const std::bad_alloc&) {
    throw EOutOfResources(strings::kPictureTooLarge);  // a file larger than memory allows
  }
  std::uint8_t* copy = body.file_copy->data();
  std::memcpy(copy, h.file_header.data(), bmp::kFileHeaderSize);
  std::memcpy(copy + bmp::kFileHeaderSize, h.header_bytes.data(), h.kept);
  stream.ReadBuffer(copy + head, static_cast<std::size_t>(rest));
  body.copy_stream = std::make_unique<TSpanStream>(copy, body.file_copy->size());
  body.copy_stream->SetPosition(static_cast<std::int64_t>(bmp::kFileHeaderSize + h.header_size));
  body.in = body.copy_stream.get();
  return body;
}

// Bit-field masks follow a plain info header; a longer header holds them itself.
raster::Masks ReadMasks(TStream& in, const BmpHeaders& h) {
  if (h.info.compression != raster::kBiBitfields) return {};
  if (h.header_size == raster::kInfoHeaderSize) {
    std::array<std::uint8_t, 12> m;
    in.ReadBuffer(m.data(), m.size());
    return {bmp::Get32(m.data()), bmp::Get32(m.data() + 4), bmp::Get32(m.data() + 8)};
  }
  if (h.header_size >= kHeaderBytesKept) {
    const std::uint8_t* m = h.header_bytes.data() + raster::kInfoHeaderSize;
    return {bmp::Get32(m), bmp::Get32(m + 4), bmp::Get32(m + 8)};
  }
  return {};
}

// A core header has no colour count: its table is as long as the bit count allows, but
// some files hold a shorter one and point their pixel offset at its end. An offset inside
// the file, between the header and the end of a full table, gives the table's length; one
// that does not fall on a whole entry, or leaves an indexed image no colours, cannot be
// read consistently.
std::uint32_t CoreColourCount(const BmpHeaders& h, std::int64_t file_size) {
  const std::uint32_t full = h.colour_count;
  const std::int64_t table_start = bmp::kFileHeaderSize + raster::kCoreHeaderSize;
  const std::int64_t table_end = table_start + 3 * std::int64_t{full};
  const std::int64_t offset = h.PixelOffset();
  if (offset < table_start || offset >= table_end || offset >= file_size) return full;
  if ((offset - table_start) % 3 != 0 || offset == table_start) InvalidImage();
  return static_cast<std::uint32_t>((offset - table_start) / 3);
}

// Core headers have 3-byte entries (blue, green, red), the others 4-byte ones.
std::vector<raster::Rgb> ReadColourTable(TStream& in, const BmpHeaders& h,
                                         std::int64_t file_size) {
  const std::uint32_t count = h.os2 ? CoreColourCount(h, file_size) : h.colour_count;
  const std::size_t entry = h.os2 ? 3 : 4;
  std::vector<std::uint8_t> table(count * entry);
  in.ReadBuffer(table.data(), table.size());
  std::vector<raster::Rgb> colours(count);
  for (std::size_t i = 0; i < count; ++i) {
    colours[i] = raster::Rgb{table[i * entry], table[i * entry + 1], table[i * entry + 2], 0};
  }
  return colours;
}

// The pixels follow the colour table, unless the file's pixel offset points further on
// (a gap or extra data after the table): then they are read from there. An offset that
// points back into the headers or past the end is not trusted.
void SeekToPixels(const BmpBody& body, const BmpHeaders& h) {
  const std::int64_t at = body.base + h.PixelOffset();
  if (at > body.in->Position() && at < body.in->Size()) body.in->SetPosition(at);
}

// Pixel bytes: the header's image size, or what the rows take; never more than is left.
std::uint64_t PixelBytesToRead(TStream& in, const raster::InfoHeader& header) {
  auto row_bytes = raster::PaddedRowBytes(static_cast<std::uint64_t>(header.width),
                                          header.bit_count);
  std::optional<std::uint64_t> image_bytes =
      row_bytes ? raster::CheckedMul(*row_bytes, raster::RowCount(header)) : std::nullopt;
  const std::uint64_t declared = header.size_image != 0 ? header.size_image
                                 : image_bytes           ? *image_bytes
                                                         : UINT64_MAX;
  return std::min<std::uint64_t>(declared, static_cast<std::uint64_t>(in.Remaining()));
}

std::shared_ptr<raster::Image> ReadPixels(const BmpBody& body, const BmpHeaders& h,
                                          std::span<const raster::Rgb> colours,
                                          const raster::Masks& masks) {
  const std::uint64_t pixel_bytes = PixelBytesToRead(*body.in, h.info);
  if (body.file_copy != nullptr) {
    const auto* at = body.file_copy->data() + body.in->Position();
    return raster::DecodeToDisplay(
        h.info, colours, masks,
        std::span<const std::uint8_t>(at, static_cast<std::size_t>(pixel_bytes)));
  }
  auto image = raster::Image::MakeSection(h.info, colours, masks);
  // Straight into the section's memory; rows the file does not have stay zero.
  ReadUpTo(*body.in, image->Bits(),
           static_cast<std::size_t>(std::min<std::uint64_t>(pixel_bytes, image->PixelBytes())));
  return image;
}

using FileCopy = std::shared_ptr<std::vector<std::uint8_t>>;

// The image record of a loaded file: the image, the header fields it keeps for a save,
// a palette from the table of an image of more than 8 bits, and any compressed file copy.
std::shared_ptr<TBitmapImage> MakeLoadedRecord(std::shared_ptr<raster::Image> image,
                                               const BmpHeaders& h,
                                               std::vector<raster::Rgb> colours,
                                               FileCopy file_copy) {
  auto record = std::make_shared<TBitmapImage>();
  record->section = image->IsSection() ? image : nullptr;
  record->description = image->Describe();
  record->handle = std::move(image);
  if (h.info.bit_count > 8 && !colours.empty()) {
    record->palette = std::make_shared<raster::Palette>(std::move(colours));
  }
  raster::InfoHeader& kept = record->description.header;
  kept.x_pels_per_meter = h.info.x_pels_per_meter;
  kept.y_pels_per_meter = h.info.y_pels_per_meter;
  kept.clr_used = h.info.clr_used;
  kept.clr_important = h.info.clr_important;
  record->os2 = h.os2;
  record->file_copy = std::move(file_copy);
  return record;
}

}  // namespace

void TBitmap::LoadFromStream(TStream& stream) {
  std::shared_ptr<TBitmapImage> record;
  if (stream.Remaining() <= 0) {
    record = std::make_shared<TBitmapImage>();
  } else {
    const std::int64_t start = stream.Position();
    const BmpHeaders headers = ReadHeaders(stream);
    BmpBody body = OpenBody(stream, headers, start);
    const raster::Masks masks = ReadMasks(*body.in, headers);
    std::vector<raster::Rgb> colours = ReadColourTable(*body.in, headers, stream.Size() - start);
    SeekToPixels(body, headers);
    auto image = ReadPixels(body, headers, colours, masks);
    record = MakeLoadedRecord(std::move(image), headers, std::move(colours),
                              std::move(body.file_copy));
  }
  const bool has_palette = record->palette != nullptr;
  SetRecord(std::move(record));
  SetPaletteModified(has_palette);
  Changed();
}

namespace {

// A packed bitmap read as a BMP file: a file header made for it, then its own bytes, which
// are not copied.
class PackedDibStream final : public TStream {
 public:
  PackedDibStream(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {
    // The pixels' offset: after the header, the masks that follow a plain header, and the
    // colour table. Nothing is trusted yet; the reading checks every field again.
    std::uint64_t offset = bmp::kFileHeaderSize;
    if (size >= raster::kInfoHeaderSize) {
      const raster::InfoHeader info = ParseInfoHeader(data);
      const std::uint64_t colours =
          info.clr_used != 0 ? info.clr_used : DefaultColourCount(info.bit_count);
      offset += info.size + std::min<std::uint64_t>(colours, raster::kMaxPaletteEntries) * 4;
      if (info.size == raster::kInfoHeaderSize && info.compression == raster::kBiBitfields) {
        offset += 12;
      }
    }
    bmp::Writer file;
    file.U16(bmp::kFileType);
    file.U32(static_cast<std::uint32_t>(std::min<std::uint64_t>(size + bmp::kFileHeaderSize,
                                                                UINT32_MAX)));
    file.U32(0);
    file.U32(static_cast<std::uint32_t>(std::min<std::uint64_t>(offset, UINT32_MAX)));
    std::memcpy(head_.data(), file.Bytes().data(), head_.size());
  }

  std::size_t Read(void* buffer, std::size_t count) override {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count && position_ < Total()) {
      const bool in_head = position_ < head_.size();
      const std::uint8_t* from = in_head ? head_.data() + position_
                                         : data_ + (position_ - head_.size());
      const std::size_t left = in_head ? head_.size() - position_ : Total() - position_;
      const std::size_t n = std::min(left, count - done);
      std::memcpy(out + done, from, n);
      done += n;
      position_ += n;
    }
    return done;
  }
  std::size_t Write(const void*, std::size_t) override { return 0; }
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override {
    const std::int64_t base = origin == SeekOrigin::Begin     ? 0
                              : origin == SeekOrigin::Current ? static_cast<std::int64_t>(position_)
                                                              : Size();
    position_ = static_cast<std::size_t>(std::clamp<std::int64_t>(base + offset, 0, Size()));
    return static_cast<std::int64_t>(position_);
  }
  std::int64_t Size() override { return static_cast<std::int64_t>(Total()); }

 private:
  std::size_t Total() const { return head_.size() + size_; }

  std::array<std::uint8_t, bmp::kFileHeaderSize> head_{};
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// Where a 32-bit packed bitmap keeps alpha: the alpha mask of a long header (0 for none),
// the fourth byte for a plain one.
std::uint32_t DibAlphaMask(const std::uint8_t* data, std::size_t size) {
  const std::uint32_t header_size = size >= 4 ? bmp::Get32(data) : 0;
  if (header_size >= kAlphaMaskAt + 4 && size >= kAlphaMaskAt + 4) {
    return bmp::Get32(data + kAlphaMaskAt);
  }
  return 0xFF000000u;
}

}  // namespace

void TBitmap::LoadFromDib(const std::uint8_t* data, std::size_t size) {
  PackedDibStream stream(data, size);
  TBitmap loaded;
  loaded.LoadFromStream(stream);
  std::shared_ptr<TBitmapImage> record = loaded.Record();
  if (record->section != nullptr && DibAlphaMask(data, size) == 0xFF000000u) {
    // Nothing else holds the new image yet: its fourth bytes are read in place.
    raster::AdoptAlpha(*record->section);
  }
  Assign(&loaded);
}

namespace {

constexpr std::uint32_t kV5HeaderSize = 124;
constexpr std::uint32_t kLcsSrgb = 0x73524742;  // 'sRGB'
constexpr std::uint32_t kLcsGmImages = 4;

// The core header of an OS/2 bitmap and its colour table, every entry of the depth's
// table present (missing ones black).
bmp::Writer CoreHeader(const raster::InfoHeader& h, std::span<const raster::Rgb> table) {
  bmp::Writer head;
  head.U32(raster::kCoreHeaderSize);
  head.U16(static_cast<std::uint16_t>(h.width));
  head.U16(static_cast<std::uint16_t>(h.height));
  head.U16(1);
  head.U16(h.bit_count);
  if (h.bit_count <= 8) {
    const std::size_t entries = std::size_t{1} << h.bit_count;
    for (std::size_t i = 0; i < entries; ++i) {
      const raster::Rgb c = i < table.size() ? table[i] : raster::Rgb{};
      head.U8(c.blue);
      head.U8(c.green);
      head.U8(c.red);
    }
  }
  return head;
}

// The info header, the bit-field masks when the compression uses them, and the colour table.
bmp::Writer InfoHeader(const raster::InfoHeader& h, const raster::Masks& masks,
                       std::span<const raster::Rgb> table) {
  bmp::Writer head;
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
  return head;
}

}  // namespace

std::size_t TBitmap::DibV5Size() const {
  std::shared_ptr<const raster::Image> image = Image();
  if (image == nullptr || image->Width() == 0 || image->Height() == 0) return 0;
  return kV5HeaderSize + std::size_t{4} * static_cast<std::size_t>(image->Width()) *
                             static_cast<std::size_t>(image->Height());
}

void TBitmap::WriteDibV5(std::uint8_t* out) const {
  std::shared_ptr<const raster::Image> image = Image();
  if (image == nullptr || image->Width() == 0 || image->Height() == 0) return;
  const int width = image->Width();
  const int height = image->Height();
  const std::size_t row_bytes = std::size_t{4} * static_cast<std::size_t>(width);
  bmp::Writer head;
  head.U32(kV5HeaderSize);
  head.I32(width);
  head.I32(height);
  head.U16(1);
  head.U16(32);
  head.U32(raster::kBiBitfields);
  head.U32(static_cast<std::uint32_t>(row_bytes * static_cast<std::size_t>(height)));
  head.I32(Record()->description.header.x_pels_per_meter);
  head.I32(Record()->description.header.y_pels_per_meter);
  head.U32(0);
  head.U32(0);
  for (std::uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) head.U32(mask);
  head.U32(kLcsSrgb);
  head.Bytes().resize(head.Size() + 36 + 12, 0);  // end points and gamma: unused for sRGB
  head.U32(kLcsGmImages);
  head.U32(0);  // no profile
  head.U32(0);
  head.U32(0);
  std::memcpy(out, head.Bytes().data(), kV5HeaderSize);
  out += kV5HeaderSize;
  const bool alpha = image->HasAlpha();
  std::vector<raster::Rgb> colours(alpha ? 0 : static_cast<std::size_t>(width));
  raster::RowReader reader(*image);
  for (int y = height - 1; y >= 0; --y, out += row_bytes) {
    if (alpha) {
      std::memcpy(out, image->Row(y), row_bytes);
      continue;
    }
    reader.Read(y, 0, width, colours.data());
    for (int x = 0; x < width; ++x) {
      out[4 * x] = colours[x].blue;
      out[4 * x + 1] = colours[x].green;
      out[4 * x + 2] = colours[x].red;
      out[4 * x + 3] = 255;
    }
  }
}

void TBitmap::SaveToStream(TStream& stream) {
  if (HasAlpha()) {
    // BMP readers disagree on alpha: a picture with transparency is written on white, as
    // a 24-bit file that every viewer shows the same.
    TBitmap flat;
    flat.Assign(this);
    flat.FlattenOnWhite();
    flat.SaveToStream(stream);
    return;
  }
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

  const bmp::Writer head = os2 ? CoreHeader(h, table) : InfoHeader(h, section.BitMasks(), table);

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
