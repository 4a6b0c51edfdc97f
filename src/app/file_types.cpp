#include "app/file_types.h"

#include <initializer_list>
#include <vector>

#include "base/sjis.h"

namespace pelmora {

namespace {

// One file type: its label in the dialogs, its extensions (the first is the main one, the
// ones its label names come first) and what the commands make of it.
struct FileType {
  const char* label;
  int named;  // how many extensions the label names
  std::initializer_list<const char*> extensions;
  PictureFileFormat format;
  LoadedFileKind kind;
};

// Text saved as ".rft" by older versions, and pictures under the other JPEG and bitmap
// extensions, load as their kind; pictures save under their main extension.
const FileType kFileTypes[] = {
    {"テキスト　(*.txt,*.rtf)", 2, {".txt", ".rtf", ".rft"}, PictureFileFormat::None,
     LoadedFileKind::Text},
    {"JPEG イメージファイル (*.jpg)", 1, {".jpg", ".jpeg", ".jpe", ".jfif"},
     PictureFileFormat::Jpeg, LoadedFileKind::Jpeg},
    {"ビットマップ (*.bmp)", 1, {".bmp", ".dib"}, PictureFileFormat::Bitmap,
     LoadedFileKind::Bitmap},
    {"PNG イメージファイル (*.png)", 1, {".png"}, PictureFileFormat::Png, LoadedFileKind::Png},
};

const FileType* TypeOf(const FileName& extension) {
  const std::string key = AsciiExtensionKey(extension);
  for (const FileType& type : kFileTypes) {
    for (const char* e : type.extensions) {
      if (key == e) return &type;
    }
  }
  return nullptr;
}

// "*.a;*.b" for the extensions.
std::string Patterns(const FileType& type) {
  std::string out;
  for (const char* e : type.extensions) out += std::string(out.empty() ? "*" : ";*") + e;
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
  for (const FileType& type : kFileTypes) {
    if (type.format == PictureFileFormat::None) continue;
    if (!filter.empty()) filter += '|';
    filter += std::string(type.label) + "|*" + *type.extensions.begin();
  }
  return filter;
}

std::string OpenFilter() {
  std::string named, all, each;
  for (const FileType& type : kFileTypes) {
    int n = 0;
    for (const char* e : type.extensions) {
      if (n++ < type.named) named += std::string(named.empty() ? "*" : ",*") + e;
    }
    all += (all.empty() ? "" : ";") + Patterns(type);
    each += std::string("|") + type.label + "|" + Patterns(type);
  }
  return "総て　(" + named + ")|" + all + each;
}

std::string FilterTypeExtension(std::string_view filter, int index) {
  if (index < 1) return {};
  // The filter's parts, split at each "|" that is a character of its own.
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= filter.size();) {
    if (i == filter.size() || (CharSizeAt(filter, i) == 1 && filter[i] == '|')) {
      parts.push_back(filter.substr(start, i - start));
      start = ++i;
    } else {
      i += CharSizeAt(filter, i);
    }
  }
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
