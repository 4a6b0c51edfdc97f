// Saving the text view's content to a file and loading a file into it, through the
// control's stream messages.
#include "richtext/win/rich_edit.h"

#include <richedit.h>

#include <algorithm>
#include <exception>

#include "base/errors.h"
#include "base/stream.h"
#include "base/strings.h"
#include "richtext/conversion.h"
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
  StreamContext context{stream, conversion, {}};
  DWORD error =
      StreamThrough(handle_, EM_STREAMIN, plain_text_ ? SF_TEXT : SF_RTF, context, &ReadFromFile);
  // A read that failed is the file's fault, not its format's: the load fails with the read's
  // own error, and the bytes are not tried again as plain text.
  if (context.read_error) std::rethrow_exception(context.read_error);
  if (error == 0) return;
  // Not RTF after all (or unreadable as such): the same bytes again as plain text.
  stream.SetPosition(start);
  context.reader.Reset();
  error = StreamThrough(handle_, EM_STREAMIN, SF_TEXT, context, &ReadFromFile);
  if (context.read_error) std::rethrow_exception(context.read_error);
  if (error != 0) throw EOutOfResources(strings::kStreamInFailed);
}

}  // namespace pelmora
