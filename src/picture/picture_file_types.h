#pragma once
// The picture file types the program loads and saves, in the order its dialogs offer them:
// each with the format it is saved in, its description and its extensions, the main one
// first. The file-format registry takes their extensions from here (the JPEG image kind
// when it is registered), and so do the commands' choice of format and the dialogs'
// filters, so every type the program loads also loads through the registry.
#include <span>

#include "picture/graphic.h"

namespace pelmora {

enum class PictureFileFormat { None, Jpeg, Bitmap, Png };

struct PictureFileType {
  PictureFileFormat format;
  const char* description;                  // as the registry and the dialogs name it
  std::span<const char* const> extensions;  // lower case, without the dot; the main one first
  const GraphicClass& (*graphic_class)();   // the kind its files are read as
};

// JPEG (the save dialog's first type), bitmap, PNG.
std::span<const PictureFileType> PictureFileTypes();

// The type with this format; none for PictureFileFormat::None.
const PictureFileType* PictureFileTypeOf(PictureFileFormat format);

}  // namespace pelmora
