// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace komet {

// The one error type of the core. Its message is the German text the user
// reads (UTF-8); the window layer shows it in a message box and goes on.
class KometError : public std::runtime_error {
 public:
  enum class Kind { Io, Conversion, Format, Printer };

  KometError(Kind kind, const std::string& message, int code = 0)
      : std::runtime_error(message), kind_(kind), code_(code) {}

  Kind kind() const { return kind_; }
  // The errno of an input/output error, else 0.
  int code() const { return code_; }

  // "Datei nicht gefunden", "Dateizugriff verweigert" or "E/A-Fehler %d",
  // with the cause beside it where it is known (a full disk, the quota, a
  // write-protected medium).
  static KometError FromErrno(int err);
  // "'%s' ist kein gültiger Integerwert".
  static KometError NotAnInteger(const std::string& text);

 private:
  Kind kind_;
  int code_;
};

}  // namespace komet
