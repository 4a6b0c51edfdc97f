#pragma once
// What the file commands make of a chosen file name: which format a picture is saved in,
// which kind of file is loaded, the filters the file dialogs offer, and the extension a
// dialog's chosen file type stands for. The picture and text file types are listed once
// (file_types.cpp); the filters and the lookups are made from that list.
#include <string>
#include <string_view>

#include "base/file_name.h"

namespace pelmora {

enum class PictureFileFormat { None, Jpeg, Bitmap, Png };

// The format a picture is saved in for an extension with its dot, in any case: JPEG for
// ".jpg", ".jpeg", ".jpe" and ".jfif", BMP for ".bmp" and ".dib", PNG for ".png", none for
// any other.
PictureFileFormat PictureSaveFormat(const FileName& extension);

enum class LoadedFileKind { None, Jpeg, Bitmap, Png, Text };

// The kind of file the load command reads for an extension with its dot, in any case:
// the picture extensions the save command writes, and text for ".txt", ".rtf" and ".rft"
// (the extension older versions gave saved text).
LoadedFileKind LoadedFileKindOf(const FileName& extension);

// The picture save dialog's filter: one type per picture format, JPEG first (the default
// type), each with its main extension.
std::string PictureSaveFilter();
// The open dialog's filter: every loadable extension together, then text and each picture
// format with all their extensions.
std::string OpenFilter();

// The extension, with its dot, of the index-th (from 1) file type of a dialog filter
// ("description|pattern|..."): that of its first pattern when the pattern is "*.ext";
// empty when there is no such type or its pattern names no single extension.
std::string FilterTypeExtension(std::string_view filter, int index);

}  // namespace pelmora
