#include "base/errors.h"

#include "base/strings.h"

namespace pelmora {

EOSError::EOSError(std::uint32_t code, std::string_view system_text)
    : Exception(strings::kOSError, {static_cast<std::int64_t>(code), system_text}), code_(code) {}

}  // namespace pelmora
