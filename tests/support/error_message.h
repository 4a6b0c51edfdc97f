#pragma once
// The message of the error an action raises, for tests that check what a failure says.
#include <functional>
#include <string>

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

}  // namespace pelmora::test
