// The file streams on POSIX systems, for the native build of the portable core.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <vector>

#include "base/errors.h"
#include "base/stream.h"
#include "base/strings.h"

namespace pelmora {
namespace {

// The folder part of a path with its final "/", or empty for a name without a folder.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

struct TSystemFileStream::File {
  int fd = -1;
  ~File() {
    if (fd >= 0) ::close(fd);
  }
};

TSystemFileStream::TSystemFileStream() : file_(std::make_unique<File>()) {}
TSystemFileStream::~TSystemFileStream() = default;

std::size_t TSystemFileStream::Read(void* buffer, std::size_t count) {
  for (;;) {
    ssize_t n = ::read(file_->fd, buffer, count);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) throw EReadError(strings::kReadError);
  }
}

std::size_t TSystemFileStream::Write(const void* buffer, std::size_t count) {
  for (;;) {
    ssize_t n = ::write(file_->fd, buffer, count);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return 0;
  }
}

std::int64_t TSystemFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
  int whence = origin == SeekOrigin::Begin     ? SEEK_SET
               : origin == SeekOrigin::Current ? SEEK_CUR
                                               : SEEK_END;
  off_t result = ::lseek(file_->fd, static_cast<off_t>(offset), whence);
  if (result < 0) result = ::lseek(file_->fd, 0, SEEK_CUR);
  return static_cast<std::int64_t>(result < 0 ? 0 : result);
}

TFileStream::TFileStream(const FileName& file_name, FileMode mode) {
  if (mode == FileMode::OpenRead) {
    file_->fd = ::open(file_name.c_str(), O_RDONLY | O_CLOEXEC);
    // A folder opens for reading here but not on Windows; refuse it the same way.
    struct stat info;
    if (file_->fd < 0 || ::fstat(file_->fd, &info) != 0 || S_ISDIR(info.st_mode)) {
      throw EFOpenError(strings::kFileOpenError, {file_name});
    }
  } else {
    file_->fd = ::open(file_name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file_->fd < 0) throw EFCreateError(strings::kFileCreateError, {file_name});
  }
}

TReplacingFileStream::TReplacingFileStream(const FileName& file_name) : file_name_(file_name) {
  // What could not be opened for writing cannot be replaced either.
  struct stat info;
  if (::stat(file_name.c_str(), &info) == 0 &&
      (S_ISDIR(info.st_mode) || ::access(file_name.c_str(), W_OK) != 0)) {
    throw EFCreateError(strings::kFileCreateError, {file_name});
  }
  std::string pattern = FolderOf(file_name.native()) + ".~pel-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  file_->fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (file_->fd < 0) throw EFCreateError(strings::kFileCreateError, {file_name});
  temporary_ = name.data();
  ::fchmod(file_->fd, 0644);
}

TReplacingFileStream::~TReplacingFileStream() {
  file_.reset();  // closed before its name goes
  if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

void TReplacingFileStream::Commit() {
  if (committed_) return;
  if (file_->fd < 0) throw EWriteError(strings::kWriteError);  // an earlier Commit failed
  // Some file systems report a failed write only when the data reaches the disk or the
  // file is closed.
  const bool stored = ::fsync(file_->fd) == 0;
  const bool closed = ::close(file_->fd) == 0;
  file_->fd = -1;
  if (!stored || !closed) throw EWriteError(strings::kWriteError);
  if (::rename(temporary_.c_str(), file_name_.c_str()) != 0) {
    throw EFCreateError(strings::kFileCreateError, {file_name_});
  }
  committed_ = true;
}

}  // namespace pelmora
#endif
