#pragma once
// The tests' data folder and the build folder as paths the file system takes on every
// platform, whatever script the checkout's own path is in: the folders come as UTF-8 (u8
// literals, which the program's narrow character set, Shift-JIS, does not touch) and a
// path converts UTF-8 to the system's form (its bytes on POSIX, UTF-16 on Windows).
#include <filesystem>
#include <string_view>

namespace pelmora::test {

inline std::filesystem::path DataPath(std::string_view relative) {
  return std::filesystem::path(PELMORA_TEST_DATA) / relative;
}

inline std::filesystem::path BuildPath(std::string_view relative) {
  return std::filesystem::path(PELMORA_BUILD_DIR) / relative;
}

}  // namespace pelmora::test
