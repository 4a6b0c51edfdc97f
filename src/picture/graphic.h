#pragma once
// The common interface of the graphic kinds (bitmap, JPEG and PNG images; icon and metafile
// are only named by the registries). A holder (the picture) sets the change callback.
#include <cstdint>
#include <functional>
#include <memory>

#include "base/rect.h"
#include "base/stream.h"

namespace pelmora {

namespace raster {
class Image;
class Palette;
}  // namespace raster

class TCanvas;  // a drawing surface; the Windows shell provides it over a device context
class TGraphic;

// A clipboard form in engine terms: the Windows shell turns a CF_BITMAP handle into an
// image (and back) at its edge. No image stands for a data handle of 0. A load may take
// an image that nothing else holds as its own instead of copying it.
struct ClipboardData {
  std::shared_ptr<const raster::Image> image;
  std::shared_ptr<const raster::Palette> palette;
};

// Anything that can be the source of an assignment.
class TPersistent {
 public:
  virtual ~TPersistent() = default;
  virtual const char* ClassName() const noexcept = 0;
};

// A graphic kind: its name, the kind it derives from and how to create an empty one, so
// that the registries can make a graphic from its kind alone.
struct GraphicClass {
  const char* name;
  const GraphicClass* parent;
  std::unique_ptr<TGraphic> (*create)();

  bool InheritsFrom(const GraphicClass& other) const {
    for (const GraphicClass* k = this; k != nullptr; k = k->parent) {
      if (k == &other) return true;
    }
    return false;
  }
};

class TGraphic : public TPersistent {
 public:
  using ChangeCallback = std::function<void(TGraphic& sender)>;

  TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  virtual const GraphicClass& Class() const noexcept = 0;
  const char* ClassName() const noexcept override { return Class().name; }

  // The operations, in the order every kind provides them.
  virtual void Assign(const TPersistent* source) = 0;
  // Raises the change callback.
  virtual void Changed();
  virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
  virtual bool Empty() const = 0;
  virtual int Height() const = 0;
  virtual std::shared_ptr<raster::Palette> Palette() { return nullptr; }
  virtual bool Transparent() const { return transparent_; }
  virtual int Width() const = 0;
  virtual void SetHeight(int value) = 0;
  virtual void SetPalette(std::shared_ptr<raster::Palette>) {}
  virtual void SetTransparent(bool value);
  virtual void SetWidth(int value) = 0;
  // Load and save to a file only wrap the stream operations: the file is opened for
  // reading with others reading only and closed on every path; a save writes a new file
  // that replaces the named one only when it is complete.
  void LoadFromFile(const FileName& file_name);
  void SaveToFile(const FileName& file_name);
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  virtual void LoadFromClipboardFormat(std::uint16_t format, const ClipboardData& data) = 0;
  virtual void SaveToClipboardFormat(std::uint16_t& format, ClipboardData& data) = 0;

  bool PaletteModified() const { return palette_modified_; }
  void SetPaletteModified(bool value) { palette_modified_ = value; }

  void SetOnChange(ChangeCallback callback) { on_change_ = std::move(callback); }

 private:
  ChangeCallback on_change_;
  bool palette_modified_ = false;
  bool transparent_ = false;
};

}  // namespace pelmora
