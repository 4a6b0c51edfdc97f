#include "picture/metafile.h"

#include <cstring>

#include "base/errors.h"
#include "base/strings.h"

namespace pelmora {

namespace {
std::unique_ptr<TGraphic> CreateMetafile() { return std::make_unique<TMetafile>(); }
}  // namespace

const GraphicClass& TMetafile::StaticClass() {
  static const GraphicClass kind{"TMetafile", nullptr, &CreateMetafile};
  return kind;
}

void TMetafile::LoadFromStream(TStream& stream) {
  // An enhanced metafile begins with its header record, whose signature " EMF" sits at
  // offset 40; anything else is taken for a Windows metafile.
  unsigned char header[44] = {};
  std::size_t got = 0;
  while (got < sizeof header) {
    std::size_t n = stream.Read(header + got, sizeof header - got);
    if (n == 0) break;
    got += n;
  }
  bool enhanced = got == sizeof header && std::memcmp(header + 40, " EMF", 4) == 0;
  throw EInvalidGraphic(strings::kUnknownExtension, {enhanced ? "emf" : "wmf"});
}

}  // namespace pelmora
