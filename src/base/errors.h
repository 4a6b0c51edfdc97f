#pragma once
// The program's error kinds. Messages are Shift-JIS texts from the string table; a file
// name in a message is also kept in its own form, for a display that shows any script.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/format.h"

namespace pelmora {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  Exception(std::string_view pattern, std::initializer_list<FormatArg> args)
      : pieces_(FormatPieces(pattern, args)), message_(NarrowMessage(pieces_)) {}

  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }
  // The message in pieces, file names in their own form, when it was filled in from a
  // pattern; empty for a message given whole.
  const std::vector<MessagePiece>& Pieces() const noexcept { return pieces_; }
  // The kind's name, as a developer tool or a log shows it.
  virtual const char* ClassName() const noexcept { return "Exception"; }

 private:
  std::vector<MessagePiece> pieces_;
  std::string message_;
};

#define PELMORA_ERROR_KIND(Name, Base)                                       \
  class Name : public Base {                                                 \
   public:                                                                   \
    using Base::Base;                                                        \
    const char* ClassName() const noexcept override { return #Name; }        \
  }

// Silent: the default error display drops it.
PELMORA_ERROR_KIND(EAbort, Exception);
PELMORA_ERROR_KIND(EInvalidGraphic, Exception);
PELMORA_ERROR_KIND(EJPEG, EInvalidGraphic);
PELMORA_ERROR_KIND(EPNG, EInvalidGraphic);
PELMORA_ERROR_KIND(EInvalidGraphicOperation, Exception);
PELMORA_ERROR_KIND(EStreamError, Exception);
PELMORA_ERROR_KIND(EFOpenError, EStreamError);
PELMORA_ERROR_KIND(EFCreateError, EStreamError);
PELMORA_ERROR_KIND(EReadError, EStreamError);
PELMORA_ERROR_KIND(EWriteError, EStreamError);
PELMORA_ERROR_KIND(EOutOfResources, Exception);
PELMORA_ERROR_KIND(EConvertError, Exception);

#undef PELMORA_ERROR_KIND

// A failure the system reported with an error code.
class EOSError : public Exception {
 public:
  EOSError(std::uint32_t code, std::string_view system_text);
  std::uint32_t ErrorCode() const noexcept { return code_; }
  const char* ClassName() const noexcept override { return "EOSError"; }

 private:
  std::uint32_t code_;
};

}  // namespace pelmora
