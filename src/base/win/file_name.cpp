// The narrow form of a file name on Windows: its UTF-16 converted to Shift-JIS.
#include "base/file_name.h"
#include "base/win/text.h"

namespace pelmora {

std::string NarrowFileName(const FileName& file_name) {
  return win::SjisFromWide(file_name.native());
}

}  // namespace pelmora
