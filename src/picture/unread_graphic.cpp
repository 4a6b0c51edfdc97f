#include "picture/unread_graphic.h"

#include <typeinfo>

#include "base/errors.h"
#include "base/strings.h"

namespace pelmora {

void TUnreadGraphic::Assign(const TPersistent* source) {
  if (source == nullptr || typeid(*source) == typeid(*this)) return;
  throw EConvertError(strings::kAssignError, {source->ClassName(), ClassName()});
}

void TUnreadGraphic::LoadFromClipboardFormat(std::uint16_t, const ClipboardData&) {
  throw EInvalidGraphic(strings::kUnknownClipboardFormat);
}

}  // namespace pelmora
