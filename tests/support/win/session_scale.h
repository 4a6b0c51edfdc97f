#pragma once
// Programs at another display scale. Wine takes the session's scale from the prefix's
// LogPixels when a process starts, so a test tries a scale in a process of its own: the
// value is set, the process started, and the old value put back.
#include <windows.h>

#include <optional>
#include <string>

namespace pelmora::test {

// The session's scale for the processes started while it lives.
class ScopedSessionScale {
 public:
  explicit ScopedSessionScale(int pixels_per_inch);
  ~ScopedSessionScale();
  ScopedSessionScale(const ScopedSessionScale&) = delete;
  ScopedSessionScale& operator=(const ScopedSessionScale&) = delete;

 private:
  HKEY key_ = nullptr;
  std::optional<DWORD> old_;
};

// Runs the tests of this program that filter names again at pixels_per_inch, with the
// environment variable name set to value; the exit code, if it ended within a minute.
std::optional<DWORD> RunTestsAtScale(int pixels_per_inch, const std::string& filter,
                                     const wchar_t* name, const std::wstring& value);

}  // namespace pelmora::test
