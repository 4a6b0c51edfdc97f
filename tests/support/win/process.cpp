#include "support/win/process.h"

#include "support/test_paths.h"

#include <vector>

namespace pelmora::test {

Process::Process(const std::wstring& program, const std::wstring& arguments) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring command_line = L"\"" + program + L"\"";
  if (!arguments.empty()) command_line += L" " + arguments;
  std::vector<wchar_t> writable(command_line.begin(), command_line.end());
  writable.push_back(L'\0');
  if (::CreateProcessW(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &info)) {
    ::CloseHandle(info.hThread);
    process_ = win::UniqueKernelHandle(info.hProcess);
    id_ = info.dwProcessId;
  }
}

Process::~Process() {
  if (Running()) {
    ::TerminateProcess(process_.Get(), 1);
    ::WaitForSingleObject(process_.Get(), 5000);
  }
}

bool Process::Running() const {
  return process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitForExit(DWORD timeout_ms) {
  if (!process_ || ::WaitForSingleObject(process_.Get(), timeout_ms) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  if (!::GetExitCodeProcess(process_.Get(), &code)) return std::nullopt;
  return code;
}

std::wstring PelmoraProgramPath() {
  std::wstring wide = BuildPath("Pelmora.exe").wstring();
  // Under Wine the build folder is a Unix path; drive Z: is the Unix root.
  if (!wide.empty() && wide[0] == L'/') wide = L"Z:" + wide;
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide;
}

}  // namespace pelmora::test
