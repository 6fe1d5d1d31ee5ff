// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <filesystem>
#include <memory>

namespace komet {

// The file beside the options file that keeps every other setting (the
// motor database's name, the launch site, the guide's filters, the last
// folder): komet.conf in the user's configuration folder.
std::filesystem::path KometSettingsFile();

// The program's settings, opened on KometSettingsFile(). The first opening
// that finds no such file takes over the keys of the file earlier versions
// kept (QSettings "Tarvo"/"BrixKomet") and leaves that file as it was.
std::unique_ptr<QSettings> OpenKometSettings();

}  // namespace komet
