#include "richtext/conversion.h"

#include <array>
#include <string>

#include "base/sjis.h"

namespace pelmora {

std::size_t TConversion::ConvertReadStream(TStream& stream, void* buffer, std::size_t count) {
  return stream.Read(buffer, count);
}

std::size_t TConversion::ConvertWriteStream(TStream& stream, const void* buffer,
                                            std::size_t count) {
  return stream.Write(buffer, count);
}

namespace {

std::unique_ptr<TConversion> CreatePassThrough() { return std::make_unique<TConversion>(); }

constexpr std::array<TConversionFormat, 2> kConversionFormats{{
    {"txt", CreatePassThrough},
    {"rtf", CreatePassThrough},
}};

}  // namespace

const TConversionFormat* FindConversionFormat(const FileName& file_name) {
  const std::string extension = AsciiExtensionKey(ExtractPictureExtension(file_name));
  for (const TConversionFormat& format : kConversionFormats) {
    if (format.extension == extension) return &format;
  }
  return nullptr;
}

std::unique_ptr<TConversion> CreateConversion(const FileName& file_name) {
  const TConversionFormat* format = FindConversionFormat(file_name);
  return format ? format->conversion_class() : CreatePassThrough();
}

}  // namespace pelmora
