#include "base/win/program_file.h"

#include <windows.h>

#include <vector>

#include "base/app_title.h"
#include "base/win/text.h"

namespace pelmora::win {

std::wstring ProgramFilePath() {
  // The system cuts a path that does not fit and says so only by filling the buffer, so
  // the buffer grows until the path fits, up to the longest path there is.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::string ApplicationTitle() {
  return ApplicationTitleFromPath(SjisFromWide(ProgramFilePath()));
}

}  // namespace pelmora::win
