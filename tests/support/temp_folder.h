#pragma once
// Scratch folders for tests that write files.
#include <filesystem>

namespace pelmora::test {

// A folder of this name under the system's temporary folder, made if missing and emptied
// of whatever an earlier run left in it.
std::filesystem::path EmptyTempFolder(const std::filesystem::path& name);

}  // namespace pelmora::test
