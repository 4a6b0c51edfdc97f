#pragma once
// The message of the error an action raises, for tests that check what a failure says.
#include <functional>
#include <string>

#include "base/errors.h"

namespace pelmora::test {

// The message of the Error the action raises; a placeholder when it raises nothing.
template <typename Error>
std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.Message();
  }
  return "(nothing raised)";
}

// "Kind: message" of what a call throws, "ok" when it returns.
template <typename F>
std::string FailureOf(F&& call) {
  try {
    call();
  } catch (const Exception& e) {
    return std::string(e.ClassName()) + ": " + e.Message();
  }
  return "ok";
}

inline std::string Failure(const char* kind, const char* message) {
  return std::string(kind) + ": " + message;
}

}  // namespace pelmora::test
