// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace komet {

// Gives Qt's own texts (file dialogs, context menus, spin boxes) in German,
// whatever the system's language, since every other text of the program is
// German. Returns false and changes nothing when Qt's German translation is
// not installed.
bool InstallGermanQtTranslation(QCoreApplication& app);

}  // namespace komet
