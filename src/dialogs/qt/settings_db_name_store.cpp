// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/settings_db_name_store.h"

#include <QSettings>

#include "common/komet_error.h"
#include "common/qt/qt_text.h"

namespace komet {
namespace {
constexpr const char* kKey = "DBName";
}

std::string SettingsDbNameStore::Load() const {
  QSettings settings("Tarvo", "BrixKomet");
  return ToStd(settings.value(kKey).toString());
}

void SettingsDbNameStore::Save(const std::string& utf8) {
  QSettings settings("Tarvo", "BrixKomet");
  settings.setValue(kKey, ToQ(utf8));
  settings.sync();
  if (settings.status() != QSettings::NoError)
    throw KometError(KometError::Kind::Io, "Die Einstellungen konnten nicht gespeichert werden.");
}

}  // namespace komet
