#include "picture/file_formats.h"

#include <algorithm>

#include "base/sjis.h"
#include "base/strings.h"
#include "picture/clipboard_formats.h"
#include "picture/icon.h"
#include "picture/metafile.h"

namespace pelmora {

TFileFormatsList::TFileFormatsList() {
  Add("wmf", strings::kMetafileDescription, TMetafile::StaticClass());
  Add("emf", strings::kEnhancedMetafileDescription, TMetafile::StaticClass());
  Add("ico", strings::kIconDescription, TIcon::StaticClass());
  Add(*PictureFileTypeOf(PictureFileFormat::Bitmap));
  Add(*PictureFileTypeOf(PictureFileFormat::Png));
}

TFileFormatsList& TFileFormatsList::Instance() {
  // Never destroyed, so that a kind unregistering itself while the process ends always
  // finds the list.
  static auto* list = new TFileFormatsList;
  return *list;
}

void TFileFormatsList::Add(std::string_view extension, std::string_view description,
                           const GraphicClass& kind) {
  entries_.push_back({LowerCaseAscii(extension), std::string(description), &kind});
}

void TFileFormatsList::Add(const PictureFileType& type) {
  for (const char* extension : type.extensions) {
    Add(extension, type.description, type.graphic_class());
  }
}

const GraphicClass* TFileFormatsList::FindExt(std::string_view extension) const {
  std::string wanted = LowerCaseAscii(extension);
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if (it->extension == wanted) return it->graphic_class;
  }
  return nullptr;
}

void TFileFormatsList::Remove(const GraphicClass& kind) {
  std::erase_if(entries_,
                [&](const FileFormat& entry) { return entry.graphic_class->InheritsFrom(kind); });
}

void RegisterFileFormat(std::string_view extension, std::string_view description,
                        const GraphicClass& kind) {
  TFileFormatsList::Instance().Add(extension, description, kind);
}

void RegisterFileFormat(const PictureFileType& type) { TFileFormatsList::Instance().Add(type); }

void UnregisterGraphicClass(const GraphicClass& kind) {
  TFileFormatsList::Instance().Remove(kind);
  TClipboardFormats::Instance().Remove(kind);
}

}  // namespace pelmora
