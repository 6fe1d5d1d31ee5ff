// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/komet_error.h"

#include <cerrno>

namespace komet {

KometError KometError::FromErrno(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return {Kind::Io, "Datei nicht gefunden", err};
    case EACCES:
    case EPERM:
    case EROFS:
      return {Kind::Io, "Dateizugriff verweigert", err};
    default:
      return {Kind::Io, "E/A-Fehler " + std::to_string(err), err};
  }
}

KometError KometError::NotAnInteger(const std::string& text) {
  return {Kind::Conversion, "'" + text + "' ist kein gültiger Integerwert"};
}

}  // namespace komet
