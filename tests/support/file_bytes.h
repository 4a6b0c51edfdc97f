#pragma once
// Whole files as byte strings, for tests that prepare input files or check output files.
#include <filesystem>
#include <string>

namespace pelmora::test {

// Creates or truncates the file and writes bytes; throws std::runtime_error when the file
// cannot be written, so a test never goes on with input it did not get.
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);

}  // namespace pelmora::test
