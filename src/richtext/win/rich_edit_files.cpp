// Saving the text view's content to a file and loading a file into it, through the
// control's stream messages.
#include "richtext/win/rich_edit.h"

#include <richedit.h>

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "base/stream.h"
#include "base/strings.h"
#include "richtext/conversion.h"
#include "base/text_decoding.h"
#include "richtext/line_break_reader.h"

namespace pelmora {
namespace {

// A callback's answers: go on, or stop with an error the control puts in the record.
constexpr DWORD kContinue = 0;
constexpr DWORD kReadFailed = 1;

struct StreamContext {
  TStream& stream;
  TConversion& conversion;
  TLineBreakReader reader;
  // Why the file could not be read: the load fails with it rather than with a text cut
  // short where the read failed.
  std::exception_ptr read_error;
};

// No exception may unwind through the control: every failure becomes the error answer.
DWORD CALLBACK ReadFromFile(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) noexcept {
  auto& context = *reinterpret_cast<StreamContext*>(cookie);
  *done = 0;
  if (count <= 0) return kContinue;
  try {
    const std::size_t given = context.reader.Read(context.conversion, context.stream, buffer,
                                                  static_cast<std::size_t>(count));
    *done = static_cast<LONG>(given);
    return kContinue;
  } catch (...) {
    *done = 0;
    context.read_error = std::current_exception();
    return kReadFailed;
  }
}

// Runs one stream message of the control (EM_STREAMIN or EM_STREAMOUT) with callback over
// context; returns the error the control put in the record, 0 for none.
DWORD StreamThrough(HWND control, UINT message, WPARAM format, StreamContext& context,
                    EDITSTREAMCALLBACK callback) {
  EDITSTREAM record{};
  record.dwCookie = reinterpret_cast<DWORD_PTR>(&context);
  record.dwError = 0;
  record.pfnCallback = callback;
  ::SendMessageW(control, message, format, reinterpret_cast<LPARAM>(&record));
  return record.dwError;
}

// Whether the bytes from the stream's position begin as an RTF document does.
bool StartsAsRtf(TStream& stream, TConversion& conversion) {
  constexpr std::string_view kRtfStart = "{\\rtf";
  char start[kRtfStart.size()] = {};
  std::size_t got = 0;
  while (got < sizeof start) {
    const std::size_t n = conversion.ConvertReadStream(stream, start + got, sizeof start - got);
    if (n == 0) break;
    got += n;
  }
  return std::string_view(start, got) == kRtfStart;
}

// The bytes from the stream's position to its end; the stream's own error when a read fails.
std::vector<std::uint8_t> ReadToEnd(TStream& stream, TConversion& conversion) {
  const std::int64_t remaining = std::max<std::int64_t>(stream.Remaining(), 0);
  if (static_cast<std::uint64_t>(remaining) > std::vector<std::uint8_t>().max_size()) {
    throw std::length_error("file too large");
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(remaining));
  std::size_t got = 0;
  while (got < bytes.size()) {
    const std::size_t n = conversion.ConvertReadStream(stream, bytes.data() + got, bytes.size() - got);
    if (n == 0) break;
    got += n;
  }
  bytes.resize(got);
  return bytes;
}

}  // namespace

void TRichEdit::SaveToFile(const FileName& file_name) {
  HandleNeeded();
  const std::unique_ptr<TConversion> conversion = CreateConversion(file_name);
  TReplacingFileStream file(file_name);
  SaveToStream(file, *conversion);
  file.Commit();
}

void TRichEdit::LoadFromFile(const FileName& file_name) {
  HandleNeeded();
  const std::unique_ptr<TConversion> conversion = CreateConversion(file_name);
  {
    TFileStream file(file_name, FileMode::OpenRead);
    LoadFromStream(file, *conversion);
  }
}

void TRichEdit::SaveToStream(TStream& stream, TConversion& conversion) {
  HandleNeeded();
  // The whole RTF is made first: it is checked against the text before a byte is written.
  const std::string content = StreamOut(plain_text_ ? (SF_TEXT | SF_UNICODE) : SF_RTF);
  std::size_t written = 0;
  try {
    written = conversion.ConvertWriteStream(stream, content.data(), content.size());
  } catch (...) {
    written = 0;
  }
  if (written < content.size()) throw EOutOfResources(strings::kStreamOutFailed);
}

void TRichEdit::LoadFromStream(TStream& stream, TConversion& conversion) {
  HandleNeeded();
  const std::int64_t start = stream.Position();
  // RTF goes to the control as RTF. Anything else is read here, in its own encoding: the
  // control would read it in the system code page, and so garble UTF-8 and UTF-16.
  if (!plain_text_ && StartsAsRtf(stream, conversion)) {
    stream.SetPosition(start);
    StreamContext context{stream, conversion, {}};
    const DWORD error = StreamThrough(handle_, EM_STREAMIN, SF_RTF, context, &ReadFromFile);
    // A read that failed is the file's fault, not its format's: the load fails with the
    // read's own error, and the bytes are not tried again as plain text.
    if (context.read_error) std::rethrow_exception(context.read_error);
    if (error == 0) return;
  }
  // Plain text, or RTF the control could not read, which then shows as its text.
  stream.SetPosition(start);
  const std::vector<std::uint8_t> bytes = ReadToEnd(stream, conversion);
  const DecodedText decoded = DecodeTextFile(bytes);
  if (!StreamTextIn(decoded.text)) throw EOutOfResources(strings::kStreamInFailed);
}

}  // namespace pelmora
