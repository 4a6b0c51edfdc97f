#pragma once
// Byte streams: the file and memory forms that pictures, bitmaps, JPEG images and the
// rich-text files read and write.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/file_name.h"

namespace pelmora {

enum class SeekOrigin { Begin, Current, End };

class TStream {
 public:
  virtual ~TStream() = default;
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Reads up to count bytes; returns how many were read, 0 at the end. A file stream
  // whose read fails raises EReadError, so a damaged file never passes for a short one.
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Writes up to count bytes; returns how many were written.
  virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
  // Moves the position; returns the new position from the start.
  virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;

  std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
  void SetPosition(std::int64_t position) { Seek(position, SeekOrigin::Begin); }
  virtual std::int64_t Size();
  std::int64_t Remaining() { return Size() - Position(); }

  // Read or write exactly count bytes: a short read raises EReadError, a short write
  // EWriteError.
  void ReadBuffer(void* buffer, std::size_t count);
  void WriteBuffer(const void* buffer, std::size_t count);
  // Copies count bytes from source to this stream through a bounded buffer.
  void CopyFrom(TStream& source, std::int64_t count);
};

// A growable buffer in memory.
class TMemoryStream final : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(bytes_.size()); }

  // Sets the size exactly (new bytes are zero); the position stays where it was.
  void SetSize(std::size_t size) { bytes_.resize(size); }
  const std::uint8_t* Data() const { return bytes_.data(); }
  std::uint8_t* Data() { return bytes_.data(); }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// A stream over a read-only block of memory that someone else owns.
class TSpanStream final : public TStream {
 public:
  TSpanStream(const void* data, std::size_t size)
      : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void*, std::size_t) override { return 0; }
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(size_); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

enum class FileMode {
  // An existing file, read access; others may read it but not write it.
  OpenRead,
  // Created, or truncated if it exists; read-write access; no sharing.
  Create,
};

// A file of the system, read, written and moved in through its handle: what the file
// streams share. The file is closed when the stream is destroyed.
class TSystemFileStream : public TStream {
 public:
  ~TSystemFileStream() override;

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;

 protected:
  TSystemFileStream();
  struct File;  // the platform's open file
  std::unique_ptr<File> file_;
};

// A file on disk. Opening failures raise EFOpenError or EFCreateError with the name.
class TFileStream final : public TSystemFileStream {
 public:
  TFileStream(const FileName& file_name, FileMode mode);
};

// A new file that takes the place of the named one only once it is complete, so a save
// that fails never destroys the file it was to replace. The bytes go to a temporary file
// in the same folder; Commit closes it and moves it over the named file. Destroyed
// without a successful Commit, it removes the temporary file and the named file stays as
// it was.
class TReplacingFileStream final : public TSystemFileStream {
 public:
  // Raises EFCreateError with the name when the named file could not be replaced (a
  // folder, a read-only file) or no temporary file can be made beside it.
  explicit TReplacingFileStream(const FileName& file_name);
  ~TReplacingFileStream() override;

  // Flushes and closes the temporary file and puts it in the named file's place. Raises
  // EWriteError when the bytes could not all be stored, EFCreateError when the named file
  // could not be replaced; either way the named file stays as it was.
  void Commit();

 private:
  FileName file_name_;
  FileName temporary_;
  bool committed_ = false;
};

}  // namespace pelmora
