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
      return {Kind::Io, "Dateizugriff verweigert", err};
    case EROFS:
      return {Kind::Io, "Dateizugriff verweigert: der Datenträger ist schreibgeschützt", err};
    default:
      break;
  }
  // The number alone tells the user nothing where the cause is known.
  std::string text = "E/A-Fehler " + std::to_string(err);
  switch (err) {
    case ENOSPC:
      text += ": kein Platz mehr auf dem Datenträger";
      break;
    case EDQUOT:
      text += ": das Speicherkontingent (Quota) ist erschöpft";
      break;
    case EFBIG:
      text += ": die Datei ist zu groß";
      break;
    default:
      break;
  }
  return {Kind::Io, text, err};
}

KometError KometError::NotAnInteger(const std::string& text) {
  return {Kind::Conversion, "'" + text + "' ist kein gültiger Integerwert"};
}

}  // namespace komet
