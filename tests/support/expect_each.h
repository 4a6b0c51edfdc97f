#pragma once
// Table-driven checks of a function of one text: each row names an input and the result
// it must give, and a failure names the row's input.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

namespace pelmora::test {

template <typename Function>
void ExpectEach(const Function& function,
                std::initializer_list<std::pair<std::string, std::string>> rows) {
  for (const auto& [input, expected] : rows) {
    EXPECT_EQ(function(input), expected) << "for the input \"" << input << '"';
  }
}

}  // namespace pelmora::test
