// The text view's content to and from memory: streamed out and in through the control,
// and read as text.
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "base/errors.h"
#include "base/progress.h"
#include "base/strings.h"
#include "richtext/win/faithful_rtf.h"
#include "richtext/win/rich_edit.h"

namespace pelmora {
namespace {

struct StringSink {
  std::string bytes;
};

DWORD CALLBACK WriteToString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) noexcept {
  auto& sink = *reinterpret_cast<StringSink*>(cookie);
  *done = 0;
  if (count <= 0) return 0;
  try {
    sink.bytes.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(count));
    *done = count;
    return 0;
  } catch (...) {
    return 1;  // out of memory: the control stops and reports it
  }
}

struct BytesSource {
  std::string_view rest;
  std::size_t total = rest.size();
};

DWORD CALLBACK ReadFromBytes(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) noexcept {
  auto& source = *reinterpret_cast<BytesSource*>(cookie);
  const std::size_t n = std::min(source.rest.size(), static_cast<std::size_t>(std::max(count, 0L)));
  std::memcpy(buffer, source.rest.data(), n);
  source.rest.remove_prefix(n);
  *done = static_cast<LONG>(n);
  ReportProgress(source.total - source.rest.size(), source.total);
  return 0;
}

// Text for the control in whole units: a block never ends inside a surrogate pair or between
// the two characters of a CR LF pair, which the control would read as two line breaks.
struct UnicodeTextSource {
  std::u16string_view rest;
  std::size_t total = rest.size();
};

DWORD CALLBACK ReadUnicodeText(DWORD_PTR cookie, LPBYTE buffer, LONG count,
                               LONG* done) noexcept {
  auto& source = *reinterpret_cast<UnicodeTextSource*>(cookie);
  std::size_t n = std::min(source.rest.size(),
                           static_cast<std::size_t>(std::max(count, 0L)) / sizeof(char16_t));
  if (n > 1 && n < source.rest.size()) {
    const char16_t last = source.rest[n - 1], next = source.rest[n];
    const bool pair_split = (last == u'\r' && next == u'\n') ||
                            (last >= 0xD800 && last <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF);
    if (pair_split) --n;
  }
  std::memcpy(buffer, source.rest.data(), n * sizeof(char16_t));
  source.rest.remove_prefix(n);
  *done = static_cast<LONG>(n * sizeof(char16_t));
  ReportProgress(source.total - source.rest.size(), source.total);
  return 0;
}

}  // namespace

bool TRichEdit::StreamTextIn(std::u16string_view text, bool selection) {
  UnicodeTextSource source{text};
  EDITSTREAM record{};
  record.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  record.pfnCallback = &ReadUnicodeText;
  Send(EM_STREAMIN, SF_TEXT | SF_UNICODE | (selection ? SFF_SELECTION : 0),
       reinterpret_cast<LPARAM>(&record));
  return record.dwError == 0;
}

LONG TRichEdit::TextLength() {
  GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, 1200};
  return static_cast<LONG>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query)));
}

std::wstring TRichEdit::Text() {
  HandleNeeded();
  return TextOf(GT_USECRLF);
}

std::wstring TRichEdit::TextOf(DWORD flags) {
  GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, 1200};
  if (flags & GT_USECRLF) query.flags |= GTL_USECRLF;
  const LRESULT length = Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query));
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GETTEXTEX request{};
  request.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  request.flags = flags;
  request.codepage = 1200;
  const LRESULT got =
      Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, length)));
  return text;
}

std::string TRichEdit::StreamOut(WPARAM format) {
  StringSink sink;
  EDITSTREAM record{};
  record.dwCookie = reinterpret_cast<DWORD_PTR>(&sink);
  record.pfnCallback = &WriteToString;
  Send(EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&record));
  if (record.dwError != 0) throw EOutOfResources(strings::kStreamOutFailed);
  if ((format & 0xFF) != SF_RTF) return std::move(sink.bytes);
  // What the RTF is checked against: the same content as text, each paragraph ended by CR.
  std::wstring text;
  if (format & SFF_SELECTION) {
    const std::string bytes = StreamOut(SF_TEXT | SF_UNICODE | SFF_SELECTION);
    text.assign(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::erase(text, L'\n');
  } else {
    text = TextOf(GT_DEFAULT);
  }
  return win::FaithfulRtf(std::move(sink.bytes), text);
}

bool TRichEdit::StreamIn(WPARAM format, std::string_view bytes) {
  BytesSource source{bytes};
  EDITSTREAM record{};
  record.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  record.pfnCallback = &ReadFromBytes;
  Send(EM_STREAMIN, format, reinterpret_cast<LPARAM>(&record));
  return record.dwError == 0;
}

}  // namespace pelmora
