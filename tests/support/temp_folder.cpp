#include "support/temp_folder.h"

#include <stdexcept>

namespace pelmora::test {

std::filesystem::path EmptyTempFolder(const std::filesystem::path& name) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / name;
  fs::create_directories(folder);
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    fs::remove_all(entry.path());
  }
  return folder;
}

}  // namespace pelmora::test
