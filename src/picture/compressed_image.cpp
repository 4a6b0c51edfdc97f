#include "picture/compressed_image.h"

#include "base/errors.h"
#include "base/strings.h"

namespace pelmora {
namespace {

std::unique_ptr<TBitmap> CopyOf(const TBitmap& bitmap) {
  auto copy = std::make_unique<TBitmap>();
  copy->Assign(&bitmap);
  return copy;
}

}  // namespace

TCompressedImage::TCompressedImage(const char* cannot_resize)
    : file_(std::make_shared<File>()), cannot_resize_(cannot_resize) {}

TCompressedImage::~TCompressedImage() = default;

void TCompressedImage::Assign(const TPersistent* source) {
  const auto* image = dynamic_cast<const TCompressedImage*>(source);
  if (image != nullptr && &image->Class() == &Class()) {
    std::unique_ptr<TBitmap> copy = image->bitmap_ ? CopyOf(*image->bitmap_) : nullptr;
    file_ = image->file_;
    bitmap_ = std::move(copy);
    return;
  }
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
    std::unique_ptr<TBitmap> copy = CopyOf(*bitmap);
    file_ = std::make_shared<File>();
    bitmap_ = std::move(copy);
    return;
  }
  throw EConvertError(strings::kAssignError,
                      {source != nullptr ? source->ClassName() : "nil", ClassName()});
}

void TCompressedImage::Draw(TCanvas& canvas, const TRect& rect) { Bitmap().Draw(canvas, rect); }

bool TCompressedImage::Empty() const {
  if (file_->bytes) return false;
  return bitmap_ == nullptr || bitmap_->Empty();
}

int TCompressedImage::Height() const { return bitmap_ ? bitmap_->Height() : file_->height; }

int TCompressedImage::Width() const { return bitmap_ ? bitmap_->Width() : file_->width; }

void TCompressedImage::SetHeight(int) { throw EInvalidGraphicOperation(cannot_resize_); }

void TCompressedImage::SetWidth(int) { throw EInvalidGraphicOperation(cannot_resize_); }

void TCompressedImage::SaveToStream(TStream& stream) {
  const TMemoryStream& bytes = Bytes();
  stream.WriteBuffer(bytes.Data(), bytes.Bytes().size());
}

const TMemoryStream& TCompressedImage::Bytes() {
  if (!file_->bytes) {
    std::vector<std::uint8_t> out;
    if (bitmap_ && bitmap_->Width() > 0 && bitmap_->Height() > 0) out = Encode(*bitmap_);
    file_->bytes = std::make_unique<TMemoryStream>(std::move(out));
  }
  return *file_->bytes;
}

void TCompressedImage::LoadFromClipboardFormat(std::uint16_t format, const ClipboardData& data) {
  TBitmap bitmap;
  bitmap.LoadFromClipboardFormat(format, data);
  Assign(&bitmap);
}

void TCompressedImage::SaveToClipboardFormat(std::uint16_t& format, ClipboardData& data) {
  Bitmap().SaveToClipboardFormat(format, data);
}

}  // namespace pelmora
