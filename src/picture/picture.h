#pragma once
// The picture: holds at most one graphic, its own, and loads it from a file by the file
// name's extension (through the file-format registry) or from a clipboard form (through
// the clipboard-format registry). It frees a graphic it replaces only once the replacement
// is complete, so a failed load or assignment leaves it as it was.
#include <cstdint>
#include <functional>
#include <memory>

#include "picture/graphic.h"

namespace pelmora {

class TBitmap;

class TPicture final : public TPersistent {
 public:
  using ChangeCallback = std::function<void(TPicture& sender)>;

  // An empty picture. Makes sure both registries exist.
  TPicture();
  ~TPicture() override;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  const char* ClassName() const noexcept override { return "TPicture"; }

  // The held graphic, or none.
  TGraphic* Graphic() const { return graphic_.get(); }
  // The held graphic when it is a bitmap (or of a kind derived from it). Otherwise the held
  // graphic, whatever its kind, is replaced by a new empty bitmap and the change
  // notification is raised.
  TBitmap& Bitmap();
  // Those of the held graphic; 0 when none is held.
  int Width() const;
  int Height() const;

  // Holds a copy of the source: none drops the graphic; a picture gives its graphic (none
  // included); a graphic gives a new graphic of the source's own kind assigned from it.
  // Anything else raises EConvertError. On failure the old graphic stays.
  void Assign(const TPersistent* source);

  // Loads a new graphic of the kind registered for the name's extension. An unregistered
  // extension raises EInvalidGraphic "拡張子 .%s の画像形式は処理できません" with the
  // extension as written in the name. One change notification on success, none on failure.
  void LoadFromFile(const FileName& file_name);
  // Writes the graphic's own stream form whatever the name says; with no graphic nothing
  // happens and no file is created.
  void SaveToFile(const FileName& file_name) const;

  // Loads a new graphic of the kind registered for the clipboard format; an unregistered
  // format raises EInvalidGraphic "未対応のクリップボード データです".
  void LoadFromClipboardFormat(std::uint16_t format, const ClipboardData& data);
  // The held graphic's clipboard form; with no graphic the outputs stay as they were.
  void SaveToClipboardFormat(std::uint16_t& format, ClipboardData& data) const;
  static bool CanLoadClipboardFormat(std::uint16_t format);

  void SetOnChange(ChangeCallback callback) { on_change_ = std::move(callback); }

 private:
  void Changed();
  // Frees the old graphic, holds the new one with its change reports routed to the
  // picture, and raises the change notification.
  void Adopt(std::unique_ptr<TGraphic> graphic);

  std::unique_ptr<TGraphic> graphic_;
  ChangeCallback on_change_;
};

}  // namespace pelmora
