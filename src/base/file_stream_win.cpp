// The file stream on Windows: CreateFileW with the Shift-JIS name converted at the edge.
// It sits beside the POSIX one in the portable library, so everything that reads or writes
// files links it without depending on the shell; it uses header-only shell helpers.
#ifdef _WIN32
#include <windows.h>

#include <algorithm>

#include "base/errors.h"
#include "base/stream.h"
#include "base/strings.h"
#include "base/win/handles.h"
#include "base/win/text.h"

namespace pelmora {

struct TFileStream::Handle {
  win::UniqueKernelHandle file;
};

TFileStream::TFileStream(const std::string& file_name, FileMode mode) : handle_(new Handle) {
  const std::wstring wide_name = win::WideFromSjis(file_name);
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

// ReadFile and WriteFile take a 32-bit count; larger requests go in pieces.
constexpr std::size_t kMaxChunk = 1u << 30;

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    const DWORD chunk = static_cast<DWORD>(std::min(count - total, kMaxChunk));
    DWORD done = 0;
    if (!::ReadFile(handle_->file.Get(), out + total, chunk, &done, nullptr) || done == 0) break;
    total += done;
    if (done < chunk) break;
  }
  return total;
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    const DWORD chunk = static_cast<DWORD>(std::min(count - total, kMaxChunk));
    DWORD done = 0;
    if (!::WriteFile(handle_->file.Get(), in + total, chunk, &done, nullptr) || done == 0) break;
    total += done;
    if (done < chunk) break;
  }
  return total;
}

std::int64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
  const DWORD method = origin == SeekOrigin::Begin     ? FILE_BEGIN
                       : origin == SeekOrigin::Current ? FILE_CURRENT
                                                       : FILE_END;
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER result{};
  if (!::SetFilePointerEx(handle_->file.Get(), distance, &result, method)) {
    distance.QuadPart = 0;
    if (!::SetFilePointerEx(handle_->file.Get(), distance, &result, FILE_CURRENT)) return 0;
  }
  return result.QuadPart;
}

}  // namespace pelmora
#endif
