#include "support/win/session_scale.h"

#include "support/win/process.h"

namespace pelmora::test {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

}  // namespace

ScopedSessionScale::ScopedSessionScale(int pixels_per_inch) {
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key_, nullptr) != ERROR_SUCCESS) {
    key_ = nullptr;
    return;
  }
  DWORD old = 0, size = sizeof old, type = 0;
  if (::RegQueryValueExW(key_, kLogPixels, nullptr, &type, reinterpret_cast<BYTE*>(&old),
                         &size) == ERROR_SUCCESS && type == REG_DWORD) {
    old_ = old;
  }
  const DWORD value = static_cast<DWORD>(pixels_per_inch);
  ::RegSetValueExW(key_, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
}

ScopedSessionScale::~ScopedSessionScale() {
  if (!key_) return;
  if (old_) {
    ::RegSetValueExW(key_, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*old_),
                     sizeof *old_);
  } else {
    ::RegDeleteValueW(key_, kLogPixels);
  }
  ::RegCloseKey(key_);
}

std::optional<DWORD> RunTestsAtScale(int pixels_per_inch, const std::string& filter,
                                     const wchar_t* name, const std::wstring& value) {
  wchar_t program[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, program, MAX_PATH);
  ScopedSessionScale scale(pixels_per_inch);
  // The child takes a copy of the environment when it starts.
  ::SetEnvironmentVariableW(name, value.c_str());
  Process child(program, L"--gtest_color=no --gtest_filter=" +
                             std::wstring(filter.begin(), filter.end()));
  ::SetEnvironmentVariableW(name, nullptr);
  return child.WaitForExit(60000);
}

}  // namespace pelmora::test
