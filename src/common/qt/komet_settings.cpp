// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/qt/komet_settings.h"

#include <QStandardPaths>

#include "common/komet_error.h"
#include "common/qt/qt_text.h"
#include "common/user_folders.h"

namespace komet {
namespace {

void TakeOverEarlierSettings(QSettings& into) {
  const QSettings earlier(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tarvo"),
                          QStringLiteral("BrixKomet"));
  const QStringList keys = earlier.allKeys();
  if (keys.isEmpty()) return;
  for (const QString& key : keys) into.setValue(key, earlier.value(key));
  into.sync();
}

}  // namespace

std::filesystem::path KometSettingsFile() {
  // Tests that ask for Qt's test folders must not touch the user's settings.
  if (QStandardPaths::isTestModeEnabled())
    return ToPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)) / "Komet" /
           "komet.conf";
  return UserSettingsFile();
}

std::unique_ptr<QSettings> OpenKometSettings() {
  const std::filesystem::path file = KometSettingsFile();
  std::error_code ec;
  const bool fresh = !std::filesystem::exists(file, ec);
  // Made here with the owner's rights only; QSettings would make it with
  // the umask's. A folder that cannot be made shows when writing fails.
  if (fresh) {
    try {
      MakeUserFolder(file.parent_path());
    } catch (const KometError&) {
    }
  }
  auto settings = std::make_unique<QSettings>(ToQ(file.string()), QSettings::IniFormat);
  if (fresh) TakeOverEarlierSettings(*settings);
  return settings;
}

}  // namespace komet
