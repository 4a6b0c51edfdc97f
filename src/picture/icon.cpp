#include "picture/icon.h"

#include "base/errors.h"
#include "base/strings.h"

namespace pelmora {

namespace {
std::unique_ptr<TGraphic> CreateIcon() { return std::make_unique<TIcon>(); }
}  // namespace

const GraphicClass& TIcon::StaticClass() {
  static const GraphicClass kind{"TIcon", nullptr, &CreateIcon};
  return kind;
}

void TIcon::Assign(const TPersistent* source) {
  if (source == nullptr || dynamic_cast<const TIcon*>(source) != nullptr) return;
  throw EConvertError(strings::kAssignError, {source->ClassName(), ClassName()});
}

void TIcon::LoadFromStream(TStream&) { throw EInvalidGraphic(strings::kUnknownExtension, {"ico"}); }

void TIcon::LoadFromClipboardFormat(std::uint16_t, const ClipboardData&) {
  throw EInvalidGraphic(strings::kUnknownClipboardFormat);
}

}  // namespace pelmora
