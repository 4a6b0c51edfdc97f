// The file streams on POSIX systems, for the native build of the portable core.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "base/errors.h"
#include "base/stream.h"
#include "base/strings.h"

namespace pelmora {
namespace {

std::size_t ReadFrom(int fd, void* buffer, std::size_t count) {
  for (;;) {
    ssize_t n = ::read(fd, buffer, count);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) throw EReadError(strings::kReadError);
  }
}

std::size_t WriteTo(int fd, const void* buffer, std::size_t count) {
  for (;;) {
    ssize_t n = ::write(fd, buffer, count);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return 0;
  }
}

std::int64_t SeekIn(int fd, std::int64_t offset, SeekOrigin origin) {
  int whence = origin == SeekOrigin::Begin     ? SEEK_SET
               : origin == SeekOrigin::Current ? SEEK_CUR
                                               : SEEK_END;
  off_t result = ::lseek(fd, static_cast<off_t>(offset), whence);
  if (result < 0) result = ::lseek(fd, 0, SEEK_CUR);
  return static_cast<std::int64_t>(result < 0 ? 0 : result);
}

// The folder part of a path with its final "/", or empty for a name without a folder.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

struct TFileStream::Handle {
  int fd = -1;
  ~Handle() {
    if (fd >= 0) ::close(fd);
  }
};

TFileStream::TFileStream(const FileName& file_name, FileMode mode) : handle_(new Handle) {
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
  return ReadFrom(handle_->fd, buffer, count);
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
  return WriteTo(handle_->fd, buffer, count);
}

std::int64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
  return SeekIn(handle_->fd, offset, origin);
}

struct TReplacingFileStream::Handle {
  int fd = -1;
  std::string temporary;
  bool committed = false;
  ~Handle() {
    if (fd >= 0) ::close(fd);
    if (!committed && !temporary.empty()) ::unlink(temporary.c_str());
  }
};

TReplacingFileStream::TReplacingFileStream(const FileName& file_name)
    : file_name_(file_name), handle_(new Handle) {
  // What could not be opened for writing cannot be replaced either.
  struct stat info;
  if (::stat(file_name.c_str(), &info) == 0 &&
      (S_ISDIR(info.st_mode) || ::access(file_name.c_str(), W_OK) != 0)) {
    throw EFCreateError(strings::kFileCreateError, {file_name});
  }
  std::string pattern = FolderOf(file_name.native()) + ".~pel-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  handle_->fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (handle_->fd < 0) throw EFCreateError(strings::kFileCreateError, {file_name});
  handle_->temporary = name.data();
  ::fchmod(handle_->fd, 0644);
}

TReplacingFileStream::~TReplacingFileStream() = default;

std::size_t TReplacingFileStream::Read(void* buffer, std::size_t count) {
  return ReadFrom(handle_->fd, buffer, count);
}

std::size_t TReplacingFileStream::Write(const void* buffer, std::size_t count) {
  return WriteTo(handle_->fd, buffer, count);
}

std::int64_t TReplacingFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
  return SeekIn(handle_->fd, offset, origin);
}

void TReplacingFileStream::Commit() {
  if (handle_->committed) return;
  if (handle_->fd < 0) throw EWriteError(strings::kWriteError);  // an earlier Commit failed
  // Some file systems report a failed write only when the data reaches the disk or the
  // file is closed.
  const bool stored = ::fsync(handle_->fd) == 0;
  const bool closed = ::close(handle_->fd) == 0;
  handle_->fd = -1;
  if (!stored || !closed) throw EWriteError(strings::kWriteError);
  if (::rename(handle_->temporary.c_str(), file_name_.c_str()) != 0) {
    throw EFCreateError(strings::kFileCreateError, {file_name_});
  }
  handle_->committed = true;
}

}  // namespace pelmora
#endif
