#pragma once
// What the file commands make of a chosen file name: which format a picture is saved in,
// which kind of file is loaded, and the extension a dialog's chosen file type stands for.
#include <string>
#include <string_view>

#include "base/file_name.h"

namespace pelmora {

enum class PictureFileFormat { None, Jpeg, Bitmap };

// The format a picture is saved in for an extension with its dot, in any case: JPEG for
// ".jpg", ".jpeg", ".jpe" and ".jfif", BMP for ".bmp" and ".dib", none for any other.
PictureFileFormat PictureSaveFormat(const FileName& extension);

enum class LoadedFileKind { None, Jpeg, Bitmap, Text };

// The kind of file the load command reads for an extension with its dot, in any case:
// the picture extensions the save command writes, and text for ".txt", ".rtf" and ".rft"
// (the extension older versions gave saved text).
LoadedFileKind LoadedFileKindOf(const FileName& extension);

// The extension, with its dot, of the index-th (from 1) file type of a dialog filter
// ("description|pattern|..."): that of its first pattern when the pattern is "*.ext";
// empty when there is no such type or its pattern names no single extension.
std::string FilterTypeExtension(std::string_view filter, int index);

}  // namespace pelmora
