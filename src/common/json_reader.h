// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace komet {

struct JsonMember;

// A parsed JSON value: small files a user writes by hand or by script
// (a rocket's shape), not data sets.
struct JsonValue {
  enum class Kind { Null, Bool, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0.0;
  std::string text;              // String
  std::vector<JsonValue> items;  // Array
  std::vector<JsonMember> keys;  // Object, in file order

  // The member of that name; nullptr when absent or this is no object.
  const JsonValue* Find(std::string_view key) const;
};

// An object's member: a pair would need JsonValue complete where it is
// declared, which not every standard library allows.
struct JsonMember {
  std::string key;
  JsonValue value;
};

// Reads one JSON text (RFC 8259; \u escapes to UTF-8). Throws KometError
// "JSON, Zeile N: ..." on anything else, including nesting deeper than 64.
JsonValue ParseJson(std::string_view text);

}  // namespace komet
