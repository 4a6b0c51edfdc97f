// The file stream on POSIX systems, for the native build of the portable core.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/errors.h"
#include "base/stream.h"
#include "base/strings.h"

namespace pelmora {

struct TFileStream::Handle {
  int fd = -1;
  ~Handle() {
    if (fd >= 0) ::close(fd);
  }
};

TFileStream::TFileStream(const std::string& file_name, FileMode mode) : handle_(new Handle) {
  if (mode == FileMode::OpenRead) {
    handle_->fd = ::open(file_name.c_str(), O_RDONLY | O_CLOEXEC);
    // A folder opens for reading here but not on Windows; refuse it the same way.
    struct stat info;
    if (handle_->fd < 0 || ::fstat(handle_->fd, &info) != 0 || S_ISDIR(info.st_mode)) {
      throw EFOpenError(strings::kFileOpenError, {file_name});
    }
  } else {
    handle_->fd = ::open(file_name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (handle_->fd < 0) throw EFCreateError(strings::kFileCreateError, {file_name});
  }
}

TFileStream::~TFileStream() = default;

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
  for (;;) {
    ssize_t n = ::read(handle_->fd, buffer, count);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return 0;
  }
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
  for (;;) {
    ssize_t n = ::write(handle_->fd, buffer, count);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return 0;
  }
}

std::int64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
  int whence = origin == SeekOrigin::Begin     ? SEEK_SET
               : origin == SeekOrigin::Current ? SEEK_CUR
                                               : SEEK_END;
  off_t result = ::lseek(handle_->fd, static_cast<off_t>(offset), whence);
  if (result < 0) result = ::lseek(handle_->fd, 0, SEEK_CUR);
  return static_cast<std::int64_t>(result < 0 ? 0 : result);
}

}  // namespace pelmora
#endif
