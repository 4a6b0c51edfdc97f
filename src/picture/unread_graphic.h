#pragma once
// A picture kind that the registries name, so that its extensions and clipboard formats
// map to a kind, but whose data the program does not read: it is always empty, draws and
// writes nothing, and loading one fails with EInvalidGraphic, which leaves a picture with
// the graphic it held before. Each such kind says for itself which error its load raises.
#include "picture/graphic.h"

namespace pelmora {

class TUnreadGraphic : public TGraphic {
 public:
  // Another graphic of the same kind (always empty) or none leaves this one empty;
  // anything else raises EConvertError.
  void Assign(const TPersistent* source) override;
  void Draw(TCanvas&, const TRect&) override {}
  bool Empty() const override { return true; }
  int Height() const override { return 0; }
  int Width() const override { return 0; }
  void SetHeight(int) override {}
  void SetWidth(int) override {}
  // An empty graphic writes no bytes.
  void SaveToStream(TStream&) override {}
  // No clipboard data is read: raises EInvalidGraphic "未対応のクリップボード データです".
  void LoadFromClipboardFormat(std::uint16_t format, const ClipboardData& data) override;
  // Produces nothing: the outputs stay as they were.
  void SaveToClipboardFormat(std::uint16_t&, ClipboardData&) override {}
};

}  // namespace pelmora
