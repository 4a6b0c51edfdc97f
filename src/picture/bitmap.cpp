#include "picture/bitmap.h"

#include <cstdlib>
#include <mutex>

#include "base/errors.h"
#include "base/muldiv.h"
#include "base/strings.h"
#include "picture/bitmap_copy.h"
#include "picture/canvas.h"
#include "raster/alpha.h"
#include "raster/checked_math.h"
#include "raster/operations.h"
#include "raster/screen.h"

namespace pelmora {

namespace {

// Guards every swap of a bitmap's record, so that a record's count of sharers is exact
// while one bitmap decides whether it must take its own copy.
std::mutex& RecordLock() {
  static std::mutex lock;
  return lock;
}

std::unique_ptr<TGraphic> CreateBitmap() { return std::make_unique<TBitmap>(); }

// The twin of a display bitmap has been written through row addresses: bring those
// pixels back into the display bitmap, which is what draws and copies read. The rows stay
// handed out, so later writes through them are brought back by later reads too.
void SyncTwin(TBitmapImage& record) {
  if (!record.twin_written || record.section == nullptr || record.handle == nullptr) return;
  raster::Convert(*record.section, *record.handle);
}

}  // namespace

const GraphicClass& TBitmap::StaticClass() {
  static const GraphicClass kClass{"TBitmap", nullptr, &CreateBitmap};
  return kClass;
}

TBitmap::TBitmap() : image_(std::make_shared<TBitmapImage>()) {}

TBitmap::~TBitmap() {
  std::lock_guard guard(RecordLock());
  image_.reset();
}

std::shared_ptr<TBitmapImage> TBitmap::Record() const {
  std::lock_guard guard(RecordLock());
  return image_;
}

void TBitmap::SetRecord(std::shared_ptr<TBitmapImage> record) {
  std::shared_ptr<TBitmapImage> old;
  {
    std::lock_guard guard(RecordLock());
    old = std::move(image_);
    image_ = std::move(record);
  }
  // The old record is released outside the lock.
}

TBitmapImage& TBitmap::PrepareForChange() {
  std::shared_ptr<TBitmapImage> record = Record();
  bool shared;
  {
    std::lock_guard guard(RecordLock());
    // Ours plus the local copy above.
    shared = record.use_count() > 2;
  }
  if (shared) {
    SyncTwin(*record);
    auto own = std::make_shared<TBitmapImage>(*record);
    if (record->handle != nullptr) {
      CopiedImage copy = CopyImage(record->handle.get(), record->palette.get(),
                                   record->description);
      own->handle = copy.image;
      own->section = copy.image && copy.image->IsSection() ? copy.image : nullptr;
      own->twin_written = false;
      own->description = copy.description;
      own->description.header.x_pels_per_meter = record->description.header.x_pels_per_meter;
      own->description.header.y_pels_per_meter = record->description.header.y_pels_per_meter;
    }
    SetRecord(own);
    record = own;
  }
  // A display bitmap keeps its section twin: changes go through the twin's rows, and the
  // rows handed out before must stay valid together.
  record->file_copy.reset();
  record->description.header.clr_used = 0;
  record->description.header.clr_important = 0;
  return *record;
}

void TBitmap::SectionNeeded(TBitmapImage& record) {
  if (record.section != nullptr || record.handle == nullptr) return;
  raster::Description target = record.description;
  if (target.header.size == 0) {
    const raster::Description facts = record.handle->Describe();
    target.header.size = raster::kInfoHeaderSize;
    target.header.width = facts.bitmap.width;
    target.header.height = facts.bitmap.height;
    target.header.planes = 1;
    target.header.bit_count =
        static_cast<std::uint16_t>(facts.bitmap.planes * facts.bitmap.bits_pixel);
  }
  CopiedImage twin = CopyImage(record.handle.get(), record.palette.get(), target);
  record.section = twin.image;
  record.twin_written = false;
}

void TBitmap::CopyInto(const raster::Description& target,
                       std::shared_ptr<raster::Palette> new_palette, bool fill_white) {
  std::shared_ptr<TBitmapImage> record = Record();
  SyncTwin(*record);
  CopiedImage copy = CopyImage(record->handle.get(), new_palette.get(), target, fill_white);
  auto fresh = std::make_shared<TBitmapImage>();
  fresh->handle = copy.image;
  fresh->section = copy.image && copy.image->IsSection() ? copy.image : nullptr;
  fresh->description = copy.description;
  if (copy.image != nullptr && copy.image->IsSection()) {
    // What the platform does not keep in a section, the description still carries.
    fresh->description.header.clr_important = target.header.clr_important;
  }
  fresh->palette = std::move(new_palette);
  fresh->halftone = fresh->palette != nullptr && fresh->palette->IsHalftone();
  fresh->os2 = record->os2;
  SetRecord(std::move(fresh));
}

void TBitmap::Assign(const TPersistent* source) {
  if (source == nullptr) {
    SetRecord(std::make_shared<TBitmapImage>());
  } else if (const auto* other = dynamic_cast<const TBitmap*>(source)) {
    if (other != this) {
      SetRecord(other->Record());
      if (Transparent() != other->Transparent()) SetTransparent(other->Transparent());
    }
  } else {
    throw EConvertError(strings::kAssignError, {source->ClassName(), "TBitmap"});
  }
  SetPaletteModified(Record()->palette != nullptr);
  Changed();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) {
  std::shared_ptr<TBitmapImage> record = Record();
  if (record->handle == nullptr) return;
  std::shared_ptr<raster::Palette> palette = Palette();
  SyncTwin(*record);
  const raster::Image& image = *record->handle;
  const int depth = canvas.DeviceDepth();
  if (image.HasAlpha()) {
    // Shown over the checkerboard, already at the rectangle's size.
    if (rect.Width() <= 0 || rect.Height() <= 0) return;
    // Squares of the same size on the screen at any scale.
    const int square = ScaledMeasure(raster::kCheckerSquare,
                                     std::max(canvas.PixelsPerInch(), kDesignedPixelsPerInch));
    const raster::Image& shown =
        ViewOnCheckerboard(record->handle, rect.Width(), rect.Height(), square);
    canvas.StretchDraw(shown, rect, depth <= 8 ? StretchMode::Halftone : StretchMode::ColorOnColor,
                       palette.get());
    return;
  }
  StretchMode mode;
  if (depth <= 8 && depth < image.BitCount()) {
    mode = StretchMode::Halftone;
  } else if (!image.IsMonochrome()) {
    mode = StretchMode::ColorOnColor;
  } else {
    mode = StretchMode::Unchanged;
  }
  canvas.StretchDraw(image, rect, mode, palette.get());
}

bool TBitmap::Empty() const {
  auto record = Record();
  return record->handle == nullptr && record->section == nullptr && record->file_copy == nullptr;
}

int TBitmap::Height() const { return std::abs(Record()->description.bitmap.height); }

int TBitmap::Width() const { return Record()->description.bitmap.width; }

std::shared_ptr<raster::Palette> TBitmap::Palette() {
  std::shared_ptr<TBitmapImage> record = Record();
  if (record->palette != nullptr || ignore_palette_ || record->handle == nullptr ||
      !record->handle->IsSection()) {
    return record->palette;
  }
  // A section without a palette gets one made from its colour table, or a halftone one
  // when the screen cannot show its colours; the result belongs to the image record.
  const raster::Image& image = *record->handle;
  std::shared_ptr<raster::Palette> made;
  if (!image.ColourTable().empty()) {
    auto table = image.ColourTable();
    made = std::make_shared<raster::Palette>(std::vector<raster::Rgb>(table.begin(), table.end()));
  } else if (raster::Screen().Depth() < image.BitCount()) {
    made = raster::Palette::MakeHalftone();
  }
  if (made == nullptr) {
    ignore_palette_ = true;
    return nullptr;
  }
  std::lock_guard guard(RecordLock());
  record->palette = made;
  record->halftone = made->IsHalftone();
  return made;
}

void TBitmap::SetWidth(int value) {
  if (value != Width()) ChangeSize(value, Height());
}

void TBitmap::SetHeight(int value) {
  if (value != Height()) ChangeSize(Width(), value);
}

void TBitmap::ChangeSize(int width, int height) {
  raster::Description target = Record()->description;
  target.bitmap.bits = nullptr;
  const bool has_header = target.header.size != 0;
  // Only a side that changes is set: the other keeps its header value, and with it the
  // row order of a top-down section.
  if (width != Width()) {
    target.bitmap.width = width;
    if (has_header) target.header.width = width;
  }
  if (height != Height()) {
    target.bitmap.height = height;
    if (has_header) target.header.height = height;
  }
  CopyInto(target, Record()->palette);
  Changed();
}

void TBitmap::SetPalette(std::shared_ptr<raster::Palette> palette) {
  std::shared_ptr<TBitmapImage> record = Record();
  if (palette == record->palette) return;
  bool shared;
  {
    std::lock_guard guard(RecordLock());
    shared = record.use_count() > 2;
  }
  if (palette == nullptr && !shared) {
    std::lock_guard guard(RecordLock());
    record->palette.reset();
    record->halftone = false;
  } else {
    raster::Description target = record->description;
    target.bitmap.bits = nullptr;
    CopyInto(target, palette);
    record = Record();
    if (palette != nullptr && record->handle != nullptr && record->handle->IsSection() &&
        record->handle->BitCount() <= 8) {
      record->handle->SetColourTable(0, palette->Entries());
    }
  }
  SetPaletteModified(true);
  Changed();
}

TPixelFormat TBitmap::PixelFormat() const {
  std::shared_ptr<TBitmapImage> record = Record();
  const raster::Description& d = record->description;
  if ((record->handle != nullptr && !record->handle->IsSection()) ||
      (record->section == nullptr && d.header.size == 0)) {
    return TPixelFormat::Device;
  }
  switch (d.header.bit_count) {
    case 1:
      return TPixelFormat::Bit1;
    case 4:
      return TPixelFormat::Bit4;
    case 8:
      return TPixelFormat::Bit8;
    case 16:
      if (d.header.compression == raster::kBiRgb) return TPixelFormat::Bit15;
      if (d.header.compression == raster::kBiBitfields && d.masks[1] == 0x07E0) {
        return TPixelFormat::Bit16;
      }
      return TPixelFormat::Custom;
    case 24:
      return TPixelFormat::Bit24;
    case 32:
      return d.header.compression == raster::kBiRgb ? TPixelFormat::Bit32 : TPixelFormat::Custom;
    default:
      return TPixelFormat::Custom;
  }
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == PixelFormat()) return;
  if (format == TPixelFormat::Custom) throw EInvalidGraphic(strings::kInvalidPixelFormat);

  std::shared_ptr<TBitmapImage> record = Record();
  raster::Description target;
  target.bitmap = record->description.bitmap;
  target.bitmap.bits = nullptr;
  std::shared_ptr<raster::Palette> palette = record->palette;
  if (format != TPixelFormat::Device) {
    static constexpr std::uint16_t kBits[] = {0, 1, 4, 8, 16, 16, 24, 32};
    raster::InfoHeader& h = target.header;
    h.size = raster::kInfoHeaderSize;
    h.width = target.bitmap.width;
    h.height = target.bitmap.height;
    h.planes = 1;
    h.bit_count = kBits[static_cast<int>(format)];
    h.compression = raster::kBiRgb;
    if (format == TPixelFormat::Bit16) {
      h.compression = raster::kBiBitfields;
      target.masks = raster::DefaultBitfieldMasks(16);
    }
    if (format == TPixelFormat::Bit4) palette = raster::Palette::System16();
    if (format == TPixelFormat::Bit8) palette = raster::Palette::MakeHalftone();
  }
  // The copy below makes a record of this bitmap's own, without a kept file copy and
  // with cleared colour counts: all that readying for a change would do.
  CopyInto(target, palette);
  if (palette != nullptr) SetPaletteModified(true);
  Changed();
}

std::uint8_t* TBitmap::ScanLine(int y) {
  if (y < 0 || y >= Height()) {
    throw EInvalidGraphicOperation(strings::kScanLineOutOfRange);
  }
  TBitmapImage& record = PrepareForChange();
  SectionNeeded(record);
  if (record.section == nullptr) throw EInvalidGraphicOperation(strings::kScanLineOutOfRange);
  if (record.section != record.handle) record.twin_written = true;
  return record.section->Row(y);
}

void TBitmap::SetSizeForDecoding(int width, int height) {
  std::shared_ptr<TBitmapImage> record = Record();
  raster::Description target = record->description;
  if (record->handle != nullptr || target.header.size == 0) {
    // Only an empty bitmap with a format leaves its rows unfilled.
    SetWidth(width);
    SetHeight(height);
    return;
  }
  target.bitmap.width = width;
  target.bitmap.height = height;
  target.bitmap.bits = nullptr;
  target.header.width = width;
  target.header.height = height;
  CopyInto(target, record->palette, /*fill_white=*/false);
  Changed();
}

void TBitmap::FillRowsWhite(int first, int last) {
  if (first >= last || Height() == 0) return;
  TBitmapImage& record = PrepareForChange();
  SectionNeeded(record);
  if (record.section == nullptr) return;
  if (record.section != record.handle) record.twin_written = true;
  record.section->FillRows(first, last, raster::kWhite);
}

int TBitmap::RowBytes() const {
  std::shared_ptr<TBitmapImage> record = Record();
  if (record->section != nullptr) return static_cast<int>(record->section->RowBytes());
  const raster::Description& d = record->description;
  const std::uint64_t width = static_cast<std::uint32_t>(std::abs(d.bitmap.width));
  const int bits = d.header.size != 0 ? d.header.bit_count : d.bitmap.planes * d.bitmap.bits_pixel;
  auto bytes = raster::PaddedRowBytes(width, static_cast<std::uint64_t>(bits));
  return bytes && *bytes <= INT32_MAX ? static_cast<int>(*bytes) : 0;
}

void TBitmap::SetHandleToNone() {
  std::shared_ptr<TBitmapImage> record = Record();
  if (record->handle == nullptr) return;
  auto empty = std::make_shared<TBitmapImage>();
  empty->palette = record->palette;
  empty->halftone = record->halftone;
  SetRecord(std::move(empty));
  Changed();
}

const raster::Image& TBitmap::ViewOnCheckerboard(const std::shared_ptr<raster::Image>& source,
                                                 int width, int height, int square) {
  CheckerboardView& view = checkerboard_;
  if (view.image == nullptr || view.source.lock() != source || view.width != width ||
      view.height != height || view.square != square) {
    view.image.reset();  // the old view's memory goes before the new one is taken
    view.image = raster::CompositeOnCheckerboard(*source, width, height, square);
    view.source = source;
    view.width = width;
    view.height = height;
    view.square = square;
  }
  return *view.image;
}

void TBitmap::AdoptImage(std::shared_ptr<raster::Image> image) {
  auto record = std::make_shared<TBitmapImage>();
  record->description = image->Describe();
  record->section = image;
  record->handle = std::move(image);
  SetRecord(std::move(record));
  SetPaletteModified(false);
  Changed();
}

bool TBitmap::HasAlpha() const {
  std::shared_ptr<TBitmapImage> record = Record();
  return record->handle != nullptr && record->handle->HasAlpha();
}

void TBitmap::FlattenOnWhite() {
  std::shared_ptr<TBitmapImage> record = Record();
  if (record->handle == nullptr || !record->handle->HasAlpha()) return;
  auto flat = std::make_shared<TBitmapImage>();
  flat->handle = raster::FlattenOnto(*record->handle, raster::kWhite);
  flat->section = flat->handle;
  flat->description = flat->handle->Describe();
  flat->description.header.x_pels_per_meter = record->description.header.x_pels_per_meter;
  flat->description.header.y_pels_per_meter = record->description.header.y_pels_per_meter;
  SetRecord(std::move(flat));
  Changed();
}

std::shared_ptr<const raster::Image> TBitmap::Image() const {
  std::shared_ptr<TBitmapImage> record = Record();
  SyncTwin(*record);
  return record->handle;
}

void TBitmap::LoadFromClipboardFormat(std::uint16_t format, const ClipboardData& data) {
  if (format != kCfBitmap || data.image == nullptr) {
    throw EInvalidGraphic(strings::kUnknownClipboardFormat);
  }
  raster::Description target = data.image->Describe();
  if (target.bitmap.bits == nullptr) target.header.size = 0;
  std::shared_ptr<raster::Palette> palette;
  if (data.palette != nullptr) {
    palette = data.palette == raster::Palette::System16()
                  ? raster::Palette::System16()
                  : std::make_shared<raster::Palette>(data.palette->Entries(),
                                                      data.palette->IsHalftone());
  }
  CopiedImage copy;
  if (palette == nullptr && data.image.use_count() == 1 && data.image->Width() > 0 &&
      data.image->Height() > 0) {
    // Nothing else holds the image (a fresh conversion of the clipboard's handle), and a
    // copy into its own description would be the same pixel for pixel: take it as it is
    // rather than allocate and copy a second full-size image.
    auto image = std::const_pointer_cast<raster::Image>(data.image);
    copy = CopiedImage{image, image->Describe()};
  } else {
    copy = CopyImage(data.image.get(), palette.get(), target);
  }
  auto record = std::make_shared<TBitmapImage>();
  record->handle = copy.image;
  record->section = copy.image && copy.image->IsSection() ? copy.image : nullptr;
  record->description = copy.description;
  record->palette = palette;
  record->halftone = palette != nullptr && palette->IsHalftone();
  SetRecord(std::move(record));
  SetPaletteModified(palette != nullptr);
  Changed();
}

void TBitmap::SaveToClipboardFormat(std::uint16_t& format, ClipboardData& data) {
  format = kCfBitmap;
  std::shared_ptr<TBitmapImage> record = Record();
  SyncTwin(*record);
  raster::Description target = record->description;
  target.header.size = 0;
  target.bitmap.bits = nullptr;
  CopiedImage copy = CopyImage(record->handle.get(), record->palette.get(), target);
  data.image = copy.image;
  data.palette = record->palette;
}

}  // namespace pelmora
