// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace komet {

// A fault of komet-sim's command line or its files: the message goes to
// stderr and the exit status is 2.
struct UsageError {
  std::string message;
};

// One row of a command's option table. An option without a value is applied
// with an empty text.
template <class Args>
struct CliOption {
  std::string_view name;
  bool takesValue = false;
  std::function<void(Args&, const std::string& value)> apply;
};

// Applies each argument's row, in order; an argument without a row goes to
// `other` (a file name, or an option that some later parse handles).
template <class Args>
void ParseCliOptions(std::span<const std::string> args, std::span<const CliOption<Args>> table, Args& into,
                     const std::function<void(Args&, const std::string&)>& other) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto row = std::find_if(table.begin(), table.end(), [&](const auto& o) { return o.name == arg; });
    if (row == table.end()) {
      other(into, arg);
    } else if (!row->takesValue) {
      row->apply(into, std::string());
    } else {
      if (i + 1 >= args.size()) throw UsageError{arg + ": Wert fehlt"};
      row->apply(into, args[++i]);
    }
  }
}

}  // namespace komet
