#include "base/stream.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>

#include "base/errors.h"
#include "base/strings.h"
#include "support/error_message.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace pelmora {
namespace {

using test::MessageOf;

using Bytes = std::vector<std::uint8_t>;

// A stream that hands over at most `chunk` bytes per call and accepts at most
// `write_limit` bytes in all, as a pipe or a full disk would.
class TrickleStream final : public TStream {
 public:
  TrickleStream(Bytes data, std::size_t chunk, std::size_t write_limit)
      : data_(std::move(data)), chunk_(chunk), write_limit_(write_limit) {}

  std::size_t Read(void* buffer, std::size_t count) override {
    std::size_t n = std::min({count, chunk_, data_.size() - position_});
    std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    return n;
  }
  std::size_t Write(const void* buffer, std::size_t count) override {
    std::size_t n = std::min({count, chunk_, write_limit_ - written_.size()});
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    written_.insert(written_.end(), bytes, bytes + n);
    return n;
  }
  std::int64_t Seek(std::int64_t, SeekOrigin) override {
    return static_cast<std::int64_t>(position_);
  }

  const Bytes& Written() const { return written_; }

 private:
  Bytes data_;
  std::size_t chunk_;
  std::size_t write_limit_;
  std::size_t position_ = 0;
  Bytes written_;
};

TEST(Stream, ReadBufferAndWriteBufferAreAllOrError) {
  {
    TrickleStream stream({1, 2, 3, 4, 5}, 2, 100);
    std::uint8_t out[5] = {};
    stream.ReadBuffer(out, 5);  // three partial reads make one whole one
    EXPECT_EQ(Bytes(out, out + 5), Bytes({1, 2, 3, 4, 5}));
    EXPECT_EQ(MessageOf<EReadError>([&] { stream.ReadBuffer(out, 1); }),
              "ストリームからの読み込みエラー");
  }
  {
    TMemoryStream stream(Bytes{1, 2, 3});
    std::uint8_t out[4] = {};
    EXPECT_EQ(MessageOf<EReadError>([&] { stream.ReadBuffer(out, 4); }),
              strings::kReadError);
    stream.SetPosition(0);
    stream.ReadBuffer(out, 0);
    EXPECT_EQ(stream.Position(), 0);
  }
  {
    const std::uint8_t in[5] = {9, 8, 7, 6, 5};
    TrickleStream stream({}, 2, 5);
    stream.WriteBuffer(in, 5);
    EXPECT_EQ(stream.Written(), Bytes(in, in + 5));
    EXPECT_EQ(MessageOf<EWriteError>([&] { stream.WriteBuffer(in, 1); }),
              "ストリームへの書き込みエラー");
  }
  {
    const std::uint8_t in[1] = {1};
    TSpanStream stream(in, 1);
    EXPECT_EQ(MessageOf<EWriteError>([&] { stream.WriteBuffer(in, 1); }),
              strings::kWriteError);
  }
}

TEST(Stream, CopyFrom) {
  {
    TMemoryStream source(Bytes{1, 2, 3, 4});
    source.SetPosition(1);
    TMemoryStream target;
    target.CopyFrom(source, 2);
    EXPECT_EQ(target.Bytes(), Bytes({2, 3}));
    EXPECT_EQ(source.Position(), 3);
  }
  {
    TMemoryStream source(Bytes{1, 2});
    TMemoryStream target;
    target.CopyFrom(source, 0);
    target.CopyFrom(source, -5);
    EXPECT_EQ(target.Size(), 0);
    EXPECT_EQ(source.Position(), 0);
    EXPECT_THROW(target.CopyFrom(source, 3), EReadError);
  }
  {
    // More than one block's worth, through a source that trickles.
    Bytes big(3 << 20);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
    TrickleStream source(big, 100'000, 0);
    TMemoryStream target;
    target.CopyFrom(source, static_cast<std::int64_t>(big.size()));
    EXPECT_EQ(target.Bytes(), big);
  }
}

TEST(MemoryStream, SeekReadWriteAndGrow) {
  TMemoryStream stream;
  EXPECT_EQ(stream.Size(), 0);
  const std::uint8_t abc[3] = {'a', 'b', 'c'};
  stream.WriteBuffer(abc, 3);
  EXPECT_EQ(stream.Position(), 3);
  EXPECT_EQ(stream.Size(), 3);

  // Seeks from each origin; before the start means the start.
  EXPECT_EQ(stream.Seek(-1, SeekOrigin::End), 2);
  EXPECT_EQ(stream.Seek(-1, SeekOrigin::Current), 1);
  EXPECT_EQ(stream.Seek(-10, SeekOrigin::Current), 0);
  EXPECT_EQ(stream.Seek(1, SeekOrigin::Begin), 1);
  EXPECT_EQ(stream.Remaining(), 2);

  // Overwriting in the middle keeps the size.
  const std::uint8_t x = 'x';
  stream.WriteBuffer(&x, 1);
  EXPECT_EQ(stream.Bytes(), Bytes({'a', 'x', 'c'}));

  // Past the end: reading gives nothing, writing fills the gap with zeros.
  EXPECT_EQ(stream.Seek(5, SeekOrigin::Begin), 5);
  std::uint8_t out[4] = {};
  EXPECT_EQ(stream.Read(out, 4), 0u);
  EXPECT_EQ(stream.Size(), 3);
  stream.WriteBuffer(&x, 1);
  EXPECT_EQ(stream.Bytes(), Bytes({'a', 'x', 'c', 0, 0, 'x'}));

  // SetSize cuts or zero-extends and leaves the position alone.
  stream.SetSize(2);
  EXPECT_EQ(stream.Position(), 6);
  EXPECT_EQ(stream.Bytes(), Bytes({'a', 'x'}));
  stream.SetSize(4);
  EXPECT_EQ(stream.Bytes(), Bytes({'a', 'x', 0, 0}));
  stream.SetPosition(1);
  EXPECT_EQ(stream.Read(out, 4), 3u);
  EXPECT_EQ(Bytes(out, out + 3), Bytes({'x', 0, 0}));
}

TEST(MemoryStream, FarSeeksNeitherOverflowNorCrash) {
  TMemoryStream stream(Bytes{1, 2});
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(stream.Seek(kMax, SeekOrigin::End), kMax);
  EXPECT_EQ(stream.Seek(kMax, SeekOrigin::Current), kMax);
  EXPECT_EQ(stream.Seek(std::numeric_limits<std::int64_t>::min(), SeekOrigin::Current), 0);
  // A write that the buffer cannot hold is a write error, not an allocation failure.
  stream.Seek(kMax, SeekOrigin::Begin);
  const std::uint8_t b = 1;
  EXPECT_THROW(stream.WriteBuffer(&b, 1), EWriteError);
  EXPECT_EQ(stream.Size(), 2);
}

TEST(SpanStream, ReadsWithinItsBlockOnly) {
  const std::uint8_t data[4] = {1, 2, 3, 4};
  TSpanStream stream(data, 4);
  EXPECT_EQ(stream.Seek(10, SeekOrigin::Begin), 4);
  EXPECT_EQ(stream.Seek(-3, SeekOrigin::End), 1);
  std::uint8_t out[8] = {};
  EXPECT_EQ(stream.Read(out, 8), 3u);
  EXPECT_EQ(Bytes(out, out + 3), Bytes({2, 3, 4}));
  EXPECT_EQ(stream.Read(out, 8), 0u);
}

class FileStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::EmptyTempFolder("pelmora-stream-test-" + std::to_string(::getpid()));
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  std::size_t FileCount() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder_),
                                                  std::filesystem::directory_iterator()));
  }

  std::filesystem::path folder_;
};

TEST_F(FileStreamTest, CreateWriteReopenRead) {
  const std::string name = PathOf("写真.bin");
  {
    TFileStream file(name, FileMode::Create);
    const std::uint8_t data[5] = {1, 2, 3, 4, 5};
    file.WriteBuffer(data, 5);
    EXPECT_EQ(file.Size(), 5);
    EXPECT_EQ(file.Seek(1, SeekOrigin::Begin), 1);
    std::uint8_t two[2] = {};
    file.ReadBuffer(two, 2);  // created files are readable too
    EXPECT_EQ(Bytes(two, two + 2), Bytes({2, 3}));
  }
  {
    TFileStream file(name, FileMode::OpenRead);
    EXPECT_EQ(file.Size(), 5);
    std::uint8_t out[5] = {};
    file.ReadBuffer(out, 5);
    EXPECT_EQ(Bytes(out, out + 5), Bytes({1, 2, 3, 4, 5}));
    EXPECT_EQ(MessageOf<EReadError>([&] { file.ReadBuffer(out, 1); }), strings::kReadError);
    EXPECT_THROW(file.WriteBuffer(out, 1), EWriteError);  // opened for reading only
  }
  {
    // A read that fails is an error, not the end of the file: reading this file's first
    // bytes asks for memory that is not mapped.
    TFileStream file("/proc/self/mem", FileMode::OpenRead);
    std::uint8_t out[4] = {};
    EXPECT_EQ(MessageOf<EReadError>([&] { file.Read(out, 4); }), strings::kReadError);
  }
  {
    // Creating an existing file truncates it.
    TFileStream file(name, FileMode::Create);
    EXPECT_EQ(file.Size(), 0);
  }
}

TEST_F(FileStreamTest, OpeningFailuresNameTheFile) {
  const std::string missing = PathOf("表\\missing.jpg");
  EXPECT_EQ(MessageOf<EFOpenError>([&] { TFileStream(missing, FileMode::OpenRead); }),
            "ファイル " + missing + " は開けません");

  // A folder is not a file to read.
  const std::string folder = folder_.string();
  EXPECT_EQ(MessageOf<EFOpenError>([&] { TFileStream(folder, FileMode::OpenRead); }),
            "ファイル " + folder + " は開けません");

  const std::string in_missing_folder = PathOf("no-such-folder/out.bmp");
  EXPECT_EQ(
      MessageOf<EFCreateError>([&] { TFileStream(in_missing_folder, FileMode::Create); }),
      "ファイル " + in_missing_folder + " を作成できません");
  EXPECT_FALSE(std::filesystem::exists(in_missing_folder));
  EXPECT_EQ(MessageOf<EFCreateError>([&] { TReplacingFileStream{in_missing_folder}; }),
            "ファイル " + in_missing_folder + " を作成できません");
  EXPECT_EQ(MessageOf<EFCreateError>([&] { TReplacingFileStream{folder}; }),
            "ファイル " + folder + " を作成できません");
}

TEST_F(FileStreamTest, ReplacingStreamReplacesTheFileOnlyWhenComplete) {
  const std::string name = PathOf("保存.rtf");
  const std::string old_bytes = "old content that must survive";
  test::WriteBytes(name, old_bytes);
  {
    SCOPED_TRACE("given up part-way: the old file stays, no temporary file");
    TReplacingFileStream file(name);
    file.WriteBuffer("new", 3);
  }
  EXPECT_EQ(test::ReadBytes(name), old_bytes);
  EXPECT_EQ(FileCount(), 1u);
  {
    SCOPED_TRACE("the disk fills up part-way");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{4096, 4096};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      int code = 1;
      try {
        TReplacingFileStream file(name);
        const std::string block(64 * 1024, 'x');
        file.WriteBuffer(block.data(), block.size());
        file.Commit();
      } catch (const EWriteError&) {
        code = 0;
      } catch (...) {
        code = 2;
      }
      ::_exit(code);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(test::ReadBytes(name), old_bytes);
    EXPECT_EQ(FileCount(), 1u);
  }
  {
    SCOPED_TRACE("complete: the new bytes take the old file's place");
    TReplacingFileStream file(name);
    file.WriteBuffer("new content", 11);
    EXPECT_EQ(test::ReadBytes(name), old_bytes) << "replaced before Commit";
    file.Commit();
  }
  EXPECT_EQ(test::ReadBytes(name), "new content");
  EXPECT_EQ(FileCount(), 1u);
}

}  // namespace
}  // namespace pelmora
