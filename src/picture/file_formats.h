#pragma once
// The file-format registry: which graphic kind a file becomes, by its name's extension.
// One process-wide list, created on first use with the built-in entries (wmf, emf, ico, and
// the extensions of the bitmap and PNG file types) and extended at start-up by other kinds
// (the JPEG image adds those of the JPEG file type). GUI thread only; not locked.
#include <string>
#include <string_view>
#include <vector>

#include "picture/graphic.h"
#include "picture/picture_file_types.h"

namespace pelmora {

struct FileFormat {
  std::string extension;  // lower-cased, without the dot
  std::string description;
  const GraphicClass* graphic_class;
};

class TFileFormatsList {
 public:
  // A list holding the built-in entries. The program uses the one from Instance(); other
  // lists exist for tests.
  TFileFormatsList();

  // The process-wide list, created on the first call.
  static TFileFormatsList& Instance();

  // Appends an entry; the extension is lower-cased on the way in.
  void Add(std::string_view extension, std::string_view description, const GraphicClass& kind);
  // Appends an entry for each of the type's extensions, as its kind.
  void Add(const PictureFileType& type);
  // The kind of the last entry whose extension equals the lower-cased argument, or none: a
  // later registration hides an earlier one.
  const GraphicClass* FindExt(std::string_view extension) const;
  // Removes every entry whose kind is kind or derives from it.
  void Remove(const GraphicClass& kind);

  const std::vector<FileFormat>& Entries() const { return entries_; }

 private:
  std::vector<FileFormat> entries_;
};

// Registers an extension, or each of a picture file type's, with the process-wide list.
void RegisterFileFormat(std::string_view extension, std::string_view description,
                        const GraphicClass& kind);
void RegisterFileFormat(const PictureFileType& type);
// Removes a kind, and every kind derived from it, from both process-wide registries (file
// formats and clipboard formats).
void UnregisterGraphicClass(const GraphicClass& kind);

}  // namespace pelmora
