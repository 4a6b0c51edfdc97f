#pragma once
// The icon kind (".ico"): named by the file-format registry, its data never read.
#include "picture/unread_graphic.h"

namespace pelmora {

class TIcon final : public TUnreadGraphic {
 public:
  static const GraphicClass& StaticClass();
  const GraphicClass& Class() const noexcept override { return StaticClass(); }

  // Raises EInvalidGraphic "拡張子 .ico の画像形式は処理できません".
  void LoadFromStream(TStream& stream) override;
};

}  // namespace pelmora
