#pragma once
// What the file commands make of a chosen file name: which format a picture is saved in,
// which kind of file is loaded, the filters the file dialogs offer, and the extension a
// dialog's chosen file type stands for. The text file type is listed here, the picture
// file types are the picture's own list (picture/picture_file_types.h); the filters and the
// lookups are made from these.
#include <string>
#include <string_view>

#include "base/file_name.h"
#include "picture/picture_file_types.h"

namespace pelmora {

// The format a picture is saved in for an extension with its dot, in any case: that of the
// picture file type with the extension (JPEG for ".jpg", ".jpeg", ".jpe" and ".jfif", BMP
// for ".bmp" and ".dib", PNG for ".png"), none for any other.
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
