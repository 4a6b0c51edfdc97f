#include "picture/picture.h"

#include "base/errors.h"
#include "base/file_name.h"
#include "base/strings.h"
#include "picture/bitmap.h"
#include "picture/clipboard_formats.h"
#include "picture/file_formats.h"

namespace pelmora {

TPicture::TPicture() {
  TFileFormatsList::Instance();
  TClipboardFormats::Instance();
}

TPicture::~TPicture() = default;

TBitmap& TPicture::Bitmap() {
  if (graphic_ == nullptr || !graphic_->Class().InheritsFrom(TBitmap::StaticClass())) {
    Adopt(std::make_unique<TBitmap>());
  }
  return static_cast<TBitmap&>(*graphic_);
}

int TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }

int TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

void TPicture::Assign(const TPersistent* source) {
  if (const auto* picture = dynamic_cast<const TPicture*>(source)) source = picture->Graphic();
  if (source == nullptr) {
    Adopt(nullptr);
    return;
  }
  const auto* graphic = dynamic_cast<const TGraphic*>(source);
  if (graphic == nullptr) {
    throw EConvertError(strings::kAssignError, {source->ClassName(), ClassName()});
  }
  std::unique_ptr<TGraphic> copy = graphic->Class().create();
  copy->Assign(graphic);
  Adopt(std::move(copy));
}

void TPicture::LoadFromFile(const FileName& file_name) {
  const FileName extension = ExtractPictureExtension(file_name);
  const GraphicClass* kind = TFileFormatsList::Instance().FindExt(AsciiExtensionKey(extension));
  if (kind == nullptr) throw EInvalidGraphic(strings::kUnknownExtension, {extension});
  std::unique_ptr<TGraphic> graphic = kind->create();
  // Changes while loading are not reported: the owner sees one change, at the end.
  graphic->LoadFromFile(file_name);
  Adopt(std::move(graphic));
}

void TPicture::SaveToFile(const FileName& file_name) const {
  if (graphic_) graphic_->SaveToFile(file_name);
}

void TPicture::LoadFromClipboardFormat(std::uint16_t format, const ClipboardData& data) {
  const GraphicClass* kind = TClipboardFormats::Instance().Find(format);
  if (kind == nullptr) throw EInvalidGraphic(strings::kUnknownClipboardFormat);
  std::unique_ptr<TGraphic> graphic = kind->create();
  graphic->LoadFromClipboardFormat(format, data);
  Adopt(std::move(graphic));
}

void TPicture::SaveToClipboardFormat(std::uint16_t& format, ClipboardData& data) const {
  if (graphic_) graphic_->SaveToClipboardFormat(format, data);
}

bool TPicture::CanLoadClipboardFormat(std::uint16_t format) {
  return pelmora::CanLoadClipboardFormat(format);
}

void TPicture::Changed() {
  if (on_change_) on_change_(*this);
}

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
  if (graphic) graphic->SetOnChange([this](TGraphic&) { Changed(); });
  graphic_ = std::move(graphic);
  Changed();
}

}  // namespace pelmora
