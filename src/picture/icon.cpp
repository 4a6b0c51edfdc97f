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

void TIcon::LoadFromStream(TStream&) { throw EInvalidGraphic(strings::kUnknownExtension, {"ico"}); }

}  // namespace pelmora
