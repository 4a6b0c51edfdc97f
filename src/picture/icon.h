#pragma once
// The icon kind (".ico"). The file-format registry names it so that the extension maps to
// a kind, but the program reads no icon data: an icon is always empty, and loading one
// fails with EInvalidGraphic, which leaves a picture with the graphic it held before.
#include "picture/graphic.h"

namespace pelmora {

class TIcon final : public TGraphic {
 public:
  static const GraphicClass& StaticClass();
  const GraphicClass& Class() const noexcept override { return StaticClass(); }

  // Another icon (always empty) or none leaves this one empty; anything else raises
  // EConvertError.
  void Assign(const TPersistent* source) override;
  void Draw(TCanvas&, const TRect&) override {}
  bool Empty() const override { return true; }
  int Height() const override { return 0; }
  int Width() const override { return 0; }
  void SetHeight(int) override {}
  void SetWidth(int) override {}
  // Raises EInvalidGraphic "拡張子 .ico の画像形式は処理できません".
  void LoadFromStream(TStream& stream) override;
  // An empty icon writes no bytes.
  void SaveToStream(TStream&) override {}
  // Icons have no clipboard form: raises EInvalidGraphic "未対応のクリップボード データです".
  void LoadFromClipboardFormat(std::uint16_t format, const ClipboardData& data) override;
  void SaveToClipboardFormat(std::uint16_t&, ClipboardData&) override {}
};

}  // namespace pelmora
