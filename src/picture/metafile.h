#pragma once
// The metafile kind (".wmf", ".emf", CF_METAFILEPICT, CF_ENHMETAFILE): named by both
// registries, its data never read.
#include "picture/unread_graphic.h"

namespace pelmora {

class TMetafile final : public TUnreadGraphic {
 public:
  static const GraphicClass& StaticClass();
  const GraphicClass& Class() const noexcept override { return StaticClass(); }

  // Raises EInvalidGraphic "拡張子 .wmf|emf の画像形式は処理できません", the extension
  // chosen by the enhanced-metafile signature in the header.
  void LoadFromStream(TStream& stream) override;
};

}  // namespace pelmora
