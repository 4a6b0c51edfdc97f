// The file streams on Windows: CreateFileW with the name's own UTF-16.
// It sits beside the POSIX one in the portable library, so everything that reads or writes
// files links it without depending on the shell; it uses header-only shell helpers.
#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <string>

#include "base/errors.h"
#include "base/stream.h"
#include "base/strings.h"
#include "base/win/handles.h"

namespace pelmora {

namespace {

// ReadFile and WriteFile take a 32-bit count; larger requests go in pieces.
constexpr std::size_t kMaxChunk = 1u << 30;

std::size_t ReadFrom(HANDLE file, void* buffer, std::size_t count) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    const DWORD chunk = static_cast<DWORD>(std::min(count - total, kMaxChunk));
    DWORD done = 0;
    // The end of the file reads as success with nothing read; a failure is an error.
    if (!::ReadFile(file, out + total, chunk, &done, nullptr)) {
      throw EReadError(strings::kReadError);
    }
    if (done == 0) break;
    total += done;
    if (done < chunk) break;
  }
  return total;
}

std::size_t WriteTo(HANDLE file, const void* buffer, std::size_t count) {
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    const DWORD chunk = static_cast<DWORD>(std::min(count - total, kMaxChunk));
    DWORD done = 0;
    if (!::WriteFile(file, in + total, chunk, &done, nullptr) || done == 0) break;
    total += done;
    if (done < chunk) break;
  }
  return total;
}

std::int64_t SeekIn(HANDLE file, std::int64_t offset, SeekOrigin origin) {
  const DWORD method = origin == SeekOrigin::Begin     ? FILE_BEGIN
                       : origin == SeekOrigin::Current ? FILE_CURRENT
                                                       : FILE_END;
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER result{};
  if (!::SetFilePointerEx(file, distance, &result, method)) {
    distance.QuadPart = 0;
    if (!::SetFilePointerEx(file, distance, &result, FILE_CURRENT)) return 0;
  }
  return result.QuadPart;
}

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

struct TFileStream::Handle {
  win::UniqueKernelHandle file;
};

TFileStream::TFileStream(const FileName& file_name, FileMode mode) : handle_(new Handle) {
  const std::wstring& wide_name = file_name.native();
  if (mode == FileMode::OpenRead) {
    handle_->file = win::UniqueKernelHandle(::CreateFileW(wide_name.c_str(), GENERIC_READ,
                                                          FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle_->file) throw EFOpenError(strings::kFileOpenError, {file_name});
  } else {
    handle_->file = win::UniqueKernelHandle(
        ::CreateFileW(wide_name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle_->file) throw EFCreateError(strings::kFileCreateError, {file_name});
  }
}

TFileStream::~TFileStream() = default;

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
  return ReadFrom(handle_->file.Get(), buffer, count);
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
  return WriteTo(handle_->file.Get(), buffer, count);
}

std::int64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
  return SeekIn(handle_->file.Get(), offset, origin);
}

struct TReplacingFileStream::Handle {
  win::UniqueKernelHandle file;
  std::wstring target;
  std::wstring temporary;
  bool committed = false;
  ~Handle() {
    file.Reset();
    if (!committed && !temporary.empty()) ::DeleteFileW(temporary.c_str());
  }
};

TReplacingFileStream::TReplacingFileStream(const FileName& file_name)
    : file_name_(file_name), handle_(new Handle) {
  handle_->target = file_name.native();
  // What could not be opened for writing cannot be replaced either.
  const DWORD attributes = ::GetFileAttributesW(handle_->target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
    throw EFCreateError(strings::kFileCreateError, {file_name});
  }
  const std::wstring folder = FolderOf(handle_->target);
  if (folder.empty()) throw EFCreateError(strings::kFileCreateError, {file_name});
  // A name of our own rather than GetTempFileNameW, which limits the folder's length.
  static unsigned attempt = 0;
  for (int tries = 0; tries < 100 && !handle_->file; ++tries) {
    const std::wstring name = folder + L"~pel" + std::to_wstring(::GetCurrentProcessId()) +
                              L"-" + std::to_wstring(++attempt) + L".tmp";
    handle_->file = win::UniqueKernelHandle(
        ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle_->file) {
      handle_->temporary = name;
    } else if (::GetLastError() != ERROR_FILE_EXISTS) {
      break;
    }
  }
  if (!handle_->file) throw EFCreateError(strings::kFileCreateError, {file_name});
}

TReplacingFileStream::~TReplacingFileStream() = default;

std::size_t TReplacingFileStream::Read(void* buffer, std::size_t count) {
  return ReadFrom(handle_->file.Get(), buffer, count);
}

std::size_t TReplacingFileStream::Write(const void* buffer, std::size_t count) {
  return WriteTo(handle_->file.Get(), buffer, count);
}

std::int64_t TReplacingFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
  return SeekIn(handle_->file.Get(), offset, origin);
}

void TReplacingFileStream::Commit() {
  if (handle_->committed) return;
  if (!handle_->file) throw EWriteError(strings::kWriteError);  // an earlier Commit failed
  // A delayed write that fails shows only when the data is flushed or the file closed.
  const bool stored = ::FlushFileBuffers(handle_->file.Get()) != FALSE;
  const bool closed = ::CloseHandle(handle_->file.Release()) != FALSE;
  if (!stored || !closed) throw EWriteError(strings::kWriteError);
  if (!::MoveFileExW(handle_->temporary.c_str(), handle_->target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw EFCreateError(strings::kFileCreateError, {file_name_});
  }
  handle_->committed = true;
}

}  // namespace pelmora
#endif
