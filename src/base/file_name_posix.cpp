// The narrow form of a file name on POSIX systems: the name's own bytes.
#ifndef _WIN32
#include "base/file_name.h"

namespace pelmora {

std::string NarrowFileName(const FileName& file_name) { return file_name.native(); }

}  // namespace pelmora
#endif
