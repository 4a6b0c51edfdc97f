#pragma once
// Converters between a rich-text file and the bytes the rich-edit control streams, chosen
// by the file name's extension.
#include <cstddef>
#include <memory>
#include <string_view>

#include "base/stream.h"

namespace pelmora {

// The pass-through converter: the file's bytes go to and from the control unchanged.
class TConversion {
 public:
  virtual ~TConversion() = default;
  TConversion() = default;
  TConversion(const TConversion&) = delete;
  TConversion& operator=(const TConversion&) = delete;

  // Reads up to count bytes of the file; returns how many were read.
  virtual std::size_t ConvertReadStream(TStream& stream, void* buffer, std::size_t count);
  // Writes count bytes to the file; returns how many were written.
  virtual std::size_t ConvertWriteStream(TStream& stream, const void* buffer, std::size_t count);
};

using TConversionClass = std::unique_ptr<TConversion> (*)();

// One entry of the converter table: an extension (lower case, no dot) and its converter.
struct TConversionFormat {
  std::string_view extension;
  TConversionClass conversion_class;
};

// The table entry for a file name: the extension after the last "." (lower-cased, no dot)
// compared exactly with "txt", then "rtf"; nullptr when no entry matches.
const TConversionFormat* FindConversionFormat(const FileName& file_name);

// The converter for a file name: the table's, or the pass-through converter for a name the
// table does not know.
std::unique_ptr<TConversion> CreateConversion(const FileName& file_name);

}  // namespace pelmora
