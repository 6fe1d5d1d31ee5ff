// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/db_name_store.h"

namespace komet {

// The motor database path in the user's settings (OpenKometSettings), key
// "DBName".
class SettingsDbNameStore final : public DbNameStore {
 public:
  std::string Load() const override;
  // Throws KometError when the settings cannot be written.
  void Save(const std::string& utf8) override;
};

}  // namespace komet
