#include "picture/graphic.h"

namespace pelmora {

void TGraphic::Changed() {
  if (on_change_) on_change_(*this);
}

void TGraphic::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Changed();
}

void TGraphic::LoadFromFile(const FileName& file_name) {
  TFileStream stream(file_name, FileMode::OpenRead);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const FileName& file_name) {
  TReplacingFileStream stream(file_name);
  SaveToStream(stream);
  stream.Commit();
}

}  // namespace pelmora
