#include "app/file_types.h"

#include <vector>

#include "base/sjis.h"

namespace pelmora {

PictureFileFormat PictureSaveFormat(const FileName& extension) {
  const std::string key = AsciiExtensionKey(extension);
  if (key == ".jpg" || key == ".jpeg" || key == ".jpe" || key == ".jfif") {
    return PictureFileFormat::Jpeg;
  }
  if (key == ".bmp" || key == ".dib") return PictureFileFormat::Bitmap;
  return PictureFileFormat::None;
}

LoadedFileKind LoadedFileKindOf(const FileName& extension) {
  // Every picture the save command writes can be loaded back.
  switch (PictureSaveFormat(extension)) {
    case PictureFileFormat::Jpeg:
      return LoadedFileKind::Jpeg;
    case PictureFileFormat::Bitmap:
      return LoadedFileKind::Bitmap;
    case PictureFileFormat::None:
      break;
  }
  const std::string key = AsciiExtensionKey(extension);
  if (key == ".txt" || key == ".rtf" || key == ".rft") return LoadedFileKind::Text;
  return LoadedFileKind::None;
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
