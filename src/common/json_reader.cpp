// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/json_reader.h"

#include <charconv>
#include <cmath>

#include "common/komet_error.h"
#include "common/win1252.h"

namespace komet {
namespace {

constexpr int kMaxDepth = 64;

class Reader {
 public:
  explicit Reader(std::string_view text) : s_(text) {}

  JsonValue Document() {
    JsonValue v = Value(0);
    Blanks();
    if (i_ != s_.size()) Fail("nach dem Ende des Werts steht noch etwas");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    int line = 1;
    for (std::size_t k = 0; k < i_ && k < s_.size(); ++k) line += s_[k] == '\n';
    throw KometError(KometError::Kind::Format, "JSON, Zeile " + std::to_string(line) + ": " + what);
  }

  void Blanks() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r')) ++i_;
  }

  bool Take(char c) {
    Blanks();
    if (i_ < s_.size() && s_[i_] == c) return ++i_, true;
    return false;
  }

  void Expect(char c) {
    if (!Take(c)) Fail(std::string("\"") + c + "\" erwartet");
  }

  bool Word(std::string_view w) {
    if (s_.substr(i_, w.size()) != w) return false;
    i_ += w.size();
    return true;
  }

  JsonValue Value(int depth) {
    if (depth > kMaxDepth) Fail("zu tief verschachtelt");
    Blanks();
    if (i_ == s_.size()) Fail("ein Wert fehlt");
    JsonValue v;
    const char c = s_[i_];
    if (c == '{') return Object(depth);
    if (c == '[') return Array(depth);
    if (c == '"') {
      v.kind = JsonValue::Kind::String;
      v.text = String();
    } else if (Word("true") || Word("false")) {
      v.kind = JsonValue::Kind::Bool;
      v.boolean = c == 't';
    } else if (Word("null")) {
    } else {
      v.kind = JsonValue::Kind::Number;
      v.number = Number();
    }
    return v;
  }

  JsonValue Object(int depth) {
    JsonValue v;
    v.kind = JsonValue::Kind::Object;
    ++i_;
    if (Take('}')) return v;
    do {
      Blanks();
      if (i_ == s_.size() || s_[i_] != '"') Fail("ein Schlüssel in Anführungszeichen erwartet");
      std::string key = String();
      Expect(':');
      v.keys.push_back(JsonMember{std::move(key), Value(depth + 1)});
    } while (Take(','));
    Expect('}');
    return v;
  }

  JsonValue Array(int depth) {
    JsonValue v;
    v.kind = JsonValue::Kind::Array;
    ++i_;
    if (Take(']')) return v;
    do v.items.push_back(Value(depth + 1));
    while (Take(','));
    Expect(']');
    return v;
  }

  double Number() {
    // JSON's grammar is stricter than from_chars: no leading '+', no bare '.'
    const std::size_t start = i_;
    if (i_ < s_.size() && s_[i_] == '-') ++i_;
    if (i_ == s_.size() || s_[i_] < '0' || s_[i_] > '9') Fail("keine Zahl");
    double value = 0.0;
    const auto [end, ec] = std::from_chars(s_.data() + start, s_.data() + s_.size(), value);
    if (ec != std::errc() || !std::isfinite(value)) Fail("keine Zahl");
    i_ = static_cast<std::size_t>(end - s_.data());
    return value;
  }

  unsigned Hex4() {
    if (s_.size() - i_ < 4) Fail("\\u braucht vier Hexziffern");
    unsigned u = 0;
    const auto [end, ec] = std::from_chars(s_.data() + i_, s_.data() + i_ + 4, u, 16);
    if (ec != std::errc() || end != s_.data() + i_ + 4) Fail("\\u braucht vier Hexziffern");
    i_ += 4;
    return u;
  }

  std::string String() {
    ++i_;  // the opening quote
    std::string out;
    while (true) {
      if (i_ >= s_.size()) Fail("Text ohne schließendes Anführungszeichen");
      const char c = s_[i_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("Steuerzeichen im Text");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (i_ >= s_.size()) Fail("Text ohne schließendes Anführungszeichen");
      const char e = s_[i_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out += e;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          unsigned cp = Hex4();
          if (cp >= 0xD800 && cp < 0xDC00 && Word("\\u")) {
            const unsigned low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("ungültiges Ersatzzeichenpaar");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xD800 && cp < 0xE000) {
            Fail("ungültiges Ersatzzeichenpaar");
          }
          AppendUtf8(out, cp);
          break;
        }
        default:
          Fail("unbekannte Escape-Folge");
      }
    }
  }

  std::string_view s_;
  std::size_t i_ = 0;
};

}  // namespace

const JsonValue* JsonValue::Find(std::string_view key) const {
  for (const JsonMember& m : keys)
    if (m.key == key) return &m.value;
  return nullptr;
}

JsonValue ParseJson(std::string_view text) {
  return Reader(text).Document();
}

}  // namespace komet
