#pragma once
// The metafile kind (".wmf", ".emf", CF_METAFILEPICT, CF_ENHMETAFILE). The registries name
// it so that every known extension and clipboard format maps to a kind, but the program
// reads no metafile data: a metafile is always empty, and loading one fails with
// EInvalidGraphic, which leaves a picture with the graphic it held before.
#include "picture/graphic.h"

namespace pelmora {

class TMetafile final : public TGraphic {
 public:
  static const GraphicClass& StaticClass();
  const GraphicClass& Class() const noexcept override { return StaticClass(); }

  // Another metafile (always empty) or none leaves this one empty; anything else raises
  // EConvertError.
  void Assign(const TPersistent* source) override;
  void Draw(TCanvas&, const TRect&) override {}
  bool Empty() const override { return true; }
  int Height() const override { return 0; }
  int Width() const override { return 0; }
  void SetHeight(int) override {}
  void SetWidth(int) override {}
  // Raises EInvalidGraphic "拡張子 .wmf|emf の画像形式は処理できません", the extension
  // chosen by the enhanced-metafile signature in the header.
  void LoadFromStream(TStream& stream) override;
  // An empty metafile writes no bytes.
  void SaveToStream(TStream&) override {}
  // Raises EInvalidGraphic "未対応のクリップボード データです".
  void LoadFromClipboardFormat(std::uint16_t format, const ClipboardData& data) override;
  // Produces nothing: the outputs stay as they were.
  void SaveToClipboardFormat(std::uint16_t&, ClipboardData&) override {}
};

}  // namespace pelmora
