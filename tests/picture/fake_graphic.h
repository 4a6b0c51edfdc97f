#pragma once
// A small graphic kind for exercising the picture and the registries without real image
// formats. Its stream form is the text "FAKE:" followed by its data; data beginning with
// "BAD" fails to load with EInvalidGraphic, after the kind has reported a change, as a real
// decoder would part-way through.
#include <string>

#include "base/errors.h"
#include "base/stream.h"
#include "picture/graphic.h"

namespace pelmora::test {

class FakeGraphic : public TGraphic {
 public:
  static const GraphicClass kClass;
  static constexpr std::uint16_t kBadClipboardFormat = 0xC0BA;
  static std::unique_ptr<TGraphic> Create() { return std::make_unique<FakeGraphic>(); }

  const GraphicClass& Class() const noexcept override { return kClass; }
  void Assign(const TPersistent* source) override {
    const auto* other = dynamic_cast<const FakeGraphic*>(source);
    if (other == nullptr) throw EConvertError("cannot assign");
    data = other->data;
    Changed();
  }
  void Draw(TCanvas&, const TRect&) override {}
  bool Empty() const override { return data.empty(); }
  int Height() const override { return data.empty() ? 0 : 1; }
  int Width() const override { return static_cast<int>(data.size()); }
  void SetHeight(int) override {}
  void SetWidth(int) override {}
  void LoadFromStream(TStream& stream) override {
    std::string bytes(static_cast<std::size_t>(stream.Remaining()), '\0');
    stream.ReadBuffer(bytes.data(), bytes.size());
    data = bytes;
    Changed();
    if (bytes.starts_with("BAD")) throw EInvalidGraphic("bad fake");
  }
  void SaveToStream(TStream& stream) override {
    std::string form = "FAKE:" + data;
    stream.WriteBuffer(form.data(), form.size());
  }
  // Any format loads, except kBadClipboardFormat.
  void LoadFromClipboardFormat(std::uint16_t format, const ClipboardData&) override {
    if (format == kBadClipboardFormat) throw EInvalidGraphic("bad clipboard fake");
    data = "clip";
  }
  void SaveToClipboardFormat(std::uint16_t& format, ClipboardData&) override { format = 0xC0DE; }

  std::string data;
};

// A kind derived from FakeGraphic, for unregistering a kind together with its descendants.
class DerivedFakeGraphic final : public FakeGraphic {
 public:
  static const GraphicClass kClass;
  static std::unique_ptr<TGraphic> Create() { return std::make_unique<DerivedFakeGraphic>(); }
  const GraphicClass& Class() const noexcept override { return kClass; }
};

inline const GraphicClass FakeGraphic::kClass{"TFakeGraphic", nullptr, &FakeGraphic::Create};
inline const GraphicClass DerivedFakeGraphic::kClass{"TDerivedFakeGraphic", &FakeGraphic::kClass,
                                                     &DerivedFakeGraphic::Create};

}  // namespace pelmora::test
