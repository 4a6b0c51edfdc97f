// The file streams on Windows: CreateFileW with the name's own UTF-16.
// Compiled into the portable library on Windows, so everything that reads or writes files
// links it without depending on the shell; it uses header-only shell helpers.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "base/errors.h"
#include "base/stream.h"
#include "base/strings.h"
#include "base/win/handles.h"

namespace pelmora {

namespace {

// ReadFile and WriteFile take a 32-bit count; larger requests go in pieces.
constexpr std::size_t kMaxChunk = 1u << 30;

// The folder of a path with its final separator, from the full path the system makes of
// it; empty when it has none.
std::wstring FolderOf(const std::wstring& path) {
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return {};
  full.resize(length);
  const std::size_t separator = full.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : full.substr(0, separator + 1);
}

}  // namespace

struct TSystemFileStream::File {
  win::UniqueKernelHandle handle;
};

TSystemFileStream::TSystemFileStream() : file_(std::make_unique<File>()) {}
TSystemFileStream::~TSystemFileStream() = default;

std::size_t TSystemFileStream::Read(void* buffer, std::size_t count) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    const DWORD chunk = static_cast<DWORD>(std::min(count - total, kMaxChunk));
    DWORD done = 0;
    // The end of the file reads as success with nothing read; a failure is an error.
    if (!::ReadFile(file_->handle.Get(), out + total, chunk, &done, nullptr)) {
      throw EReadError(strings::kReadError);
    }
    if (done == 0) break;
    total += done;
    if (done < chunk) break;
  }
  return total;
}

std::size_t TSystemFileStream::Write(const void* buffer, std::size_t count) {
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    const DWORD chunk = static_cast<DWORD>(std::min(count - total, kMaxChunk));
    DWORD done = 0;
    if (!::WriteFile(file_->handle.Get(), in + total, chunk, &done, nullptr) || done == 0) break;
    total += done;
    if (done < chunk) break;
  }
  return total;
}

std::int64_t TSystemFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
  const DWORD method = origin == SeekOrigin::Begin     ? FILE_BEGIN
                       : origin == SeekOrigin::Current ? FILE_CURRENT
                                                       : FILE_END;
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER result{};
  if (!::SetFilePointerEx(file_->handle.Get(), distance, &result, method)) {
    distance.QuadPart = 0;
    if (!::SetFilePointerEx(file_->handle.Get(), distance, &result, FILE_CURRENT)) return 0;
  }
  return result.QuadPart;
}

TFileStream::TFileStream(const FileName& file_name, FileMode mode) {
  const std::wstring& wide_name = file_name.native();
  if (mode == FileMode::OpenRead) {
    file_->handle = win::UniqueKernelHandle(::CreateFileW(wide_name.c_str(), GENERIC_READ,
                                                          FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_->handle) throw EFOpenError(strings::kFileOpenError, {file_name});
  } else {
    file_->handle = win::UniqueKernelHandle(
        ::CreateFileW(wide_name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_->handle) throw EFCreateError(strings::kFileCreateError, {file_name});
  }
}

TReplacingFileStream::TReplacingFileStream(const FileName& file_name) : file_name_(file_name) {
  const std::wstring& target = file_name.native();
  // What could not be opened for writing cannot be replaced either.
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
    throw EFCreateError(strings::kFileCreateError, {file_name});
  }
  const std::wstring folder = FolderOf(target);
  if (folder.empty()) throw EFCreateError(strings::kFileCreateError, {file_name});
  // A name of our own rather than GetTempFileNameW, which limits the folder's length.
  static unsigned attempt = 0;
  for (int tries = 0; tries < 100 && !file_->handle; ++tries) {
    const std::wstring name = folder + L"~pel" + std::to_wstring(::GetCurrentProcessId()) +
                              L"-" + std::to_wstring(++attempt) + L".tmp";
    file_->handle = win::UniqueKernelHandle(
        ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file_->handle) {
      temporary_ = name;
    } else if (::GetLastError() != ERROR_FILE_EXISTS) {
      break;
    }
  }
  if (!file_->handle) throw EFCreateError(strings::kFileCreateError, {file_name});
}

TReplacingFileStream::~TReplacingFileStream() {
  file_->handle.Reset();  // closed before its name goes
  if (!committed_ && !temporary_.empty()) ::DeleteFileW(temporary_.c_str());
}

void TReplacingFileStream::Commit() {
  if (committed_) return;
  if (!file_->handle) throw EWriteError(strings::kWriteError);  // an earlier Commit failed
  // A delayed write that fails shows only when the data is flushed or the file closed.
  const bool stored = ::FlushFileBuffers(file_->handle.Get()) != FALSE;
  const bool closed = ::CloseHandle(file_->handle.Release()) != FALSE;
  if (!stored || !closed) throw EWriteError(strings::kWriteError);
  if (!::MoveFileExW(temporary_.c_str(), file_name_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw EFCreateError(strings::kFileCreateError, {file_name_});
  }
  committed_ = true;
}

}  // namespace pelmora
