#include "app/file_types.h"

#include <vector>

#include "base/sjis.h"

namespace pelmora {

namespace {

// Text saved as ".rft" by older versions loads as text too.
constexpr const char* kTextExtensions[] = {"txt", "rtf", "rft"};

// One file type as the dialogs offer it: its label, its extensions without the dot (the
// main one first, those its label names before the others) and what the commands make of it.
struct FileType {
  std::string label;
  int named;  // how many extensions the label names
  std::span<const char* const> extensions;
  PictureFileFormat format;
  LoadedFileKind kind;
};

LoadedFileKind LoadedKindOf(PictureFileFormat format) {
  switch (format) {
    case PictureFileFormat::Jpeg: return LoadedFileKind::Jpeg;
    case PictureFileFormat::Bitmap: return LoadedFileKind::Bitmap;
    case PictureFileFormat::Png: return LoadedFileKind::Png;
    case PictureFileFormat::None: break;
  }
  return LoadedFileKind::None;
}

// Text, then the picture file types, each labelled with its description and main extension.
const std::vector<FileType>& FileTypes() {
  static const std::vector<FileType> types = [] {
    std::vector<FileType> list{{"テキスト　(*.txt,*.rtf)", 2, kTextExtensions,
                                PictureFileFormat::None, LoadedFileKind::Text}};
    for (const PictureFileType& type : PictureFileTypes()) {
      list.push_back({std::string(type.description) + " (*." + type.extensions.front() + ")", 1,
                      type.extensions, type.format, LoadedKindOf(type.format)});
    }
    return list;
  }();
  return types;
}

const FileType* TypeOf(const FileName& extension) {
  const std::string key = AsciiExtensionKey(extension);
  if (key.size() < 2 || key[0] != '.') return nullptr;
  for (const FileType& type : FileTypes()) {
    for (const char* e : type.extensions) {
      if (key.compare(1, std::string::npos, e) == 0) return &type;
    }
  }
  return nullptr;
}

// "*.a;*.b" for the extensions.
std::string Patterns(const FileType& type) {
  std::string out;
  for (const char* e : type.extensions) out += std::string(out.empty() ? "*." : ";*.") + e;
  return out;
}

}  // namespace

PictureFileFormat PictureSaveFormat(const FileName& extension) {
  const FileType* type = TypeOf(extension);
  return type ? type->format : PictureFileFormat::None;
}

LoadedFileKind LoadedFileKindOf(const FileName& extension) {
  const FileType* type = TypeOf(extension);
  return type ? type->kind : LoadedFileKind::None;
}

std::string PictureSaveFilter() {
  std::string filter;
  for (const FileType& type : FileTypes()) {
    if (type.format == PictureFileFormat::None) continue;
    if (!filter.empty()) filter += '|';
    filter += type.label + "|*." + type.extensions.front();
  }
  return filter;
}

std::string OpenFilter() {
  std::string named, all, each;
  for (const FileType& type : FileTypes()) {
    int n = 0;
    for (const char* e : type.extensions) {
      if (n++ < type.named) named += std::string(named.empty() ? "*." : ",*.") + e;
    }
    all += (all.empty() ? "" : ";") + Patterns(type);
    each += "|" + type.label + "|" + Patterns(type);
  }
  return "総て　(" + named + ")|" + all + each;
}
std::string FilterTypeExtension(std::string_view filter, int index) {
  if (index < 1) return {};
  const std::vector<std::string_view> parts = FilterParts(filter);
  const std::size_t pattern_at = 2 * static_cast<std::size_t>(index) - 1;
  if (pattern_at >= parts.size()) return {};
  std::string_view pattern = parts[pattern_at];
  pattern = pattern.substr(0, FindChar(pattern, ';'));
  if (pattern.size() < 3 || pattern.substr(0, 2) != "*.") return {};
  const std::string_view extension = pattern.substr(1);
  for (std::size_t i = 1; i < extension.size(); i += CharSizeAt(extension, i)) {
    if (CharSizeAt(extension, i) == 1 && std::string_view("*?.").find(extension[i]) !=
                                             std::string_view::npos) {
      return {};
    }
  }
  return std::string(extension);
}

}  // namespace pelmora
