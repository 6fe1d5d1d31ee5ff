// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace komet {

// One argument of Format: a number or a text.
using FormatArg = std::variant<double, std::int64_t, std::string_view>;

// printf-style formatting that writes decimalSeparator for the point of
// floating conversions, whatever the process locale. Supports the flags
// "-+ 0#", a width, a precision and the conversions d i u f F e E g G s %.
// An argument of the wrong kind is converted; a missing one prints nothing.
std::string FormatList(char decimalSeparator, std::string_view format, std::initializer_list<FormatArg> args);

template <typename... Args>
std::string Format(char decimalSeparator, std::string_view format, const Args&... args) {
  [[maybe_unused]] auto toArg = [](const auto& a) -> FormatArg {
    using T = std::decay_t<decltype(a)>;
    if constexpr (std::is_floating_point_v<T>)
      return static_cast<double>(a);
    else if constexpr (std::is_integral_v<T>)
      return static_cast<std::int64_t>(a);
    else
      return std::string_view(a);
  };
  return FormatList(decimalSeparator, format, {toArg(args)...});
}

// Whole numbers with a separator between them: "3, 5, 7".
std::string JoinNumbers(const std::vector<int>& values, std::string_view separator);

// The pieces one after the other. (Messages are built this way rather than
// with "text" + std::string(...), which trips GCC 12's -Wrestrict.)
std::string Concat(std::initializer_list<std::string_view> pieces);

}  // namespace komet
