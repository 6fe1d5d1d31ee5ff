// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/settings_db_name_store.h"

#include "common/komet_error.h"
#include "common/qt/komet_settings.h"
#include "common/qt/qt_text.h"

namespace komet {
namespace {
constexpr const char* kKey = "DBName";
}

std::string SettingsDbNameStore::Load() const {
  return ToStd(OpenKometSettings()->value(kKey).toString());
}

void SettingsDbNameStore::Save(const std::string& utf8) {
  const std::unique_ptr<QSettings> settings = OpenKometSettings();
  settings->setValue(kKey, ToQ(utf8));
  settings->sync();
  if (settings->status() != QSettings::NoError)
    throw KometError(KometError::Kind::Io, "Die Einstellungen konnten nicht gespeichert werden.");
}

}  // namespace komet
