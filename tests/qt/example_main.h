// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTemporaryDir>
#include <string>

#include "app/qt/t_main.h"
#include "dialogs/db_name_store.h"
#include "dialogs/settings.h"

namespace komet::testing {

// The main window on a bundled rocket and the bundled catalogue, with an
// options file of its own, shown: what the window tests start from. Wait
// for its title before using it.
class ExampleMain {
 public:
  explicit ExampleMain(const std::string& rocket = "einstufig_c6.kmw")
      : settings_(dir_.filePath("KOMET.OPT").toStdString(), dir_.path().toStdString(), store_, ','),
        main_(settings_,
              MainSetup{kExamples + "/../catalogue/motoren.kdb", {kExamples + "/rockets/" + rocket}, ','}) {
    main_.show();
  }

  TMain& main() { return main_; }

 private:
  static inline const std::string kExamples = KOMET_SOURCE_DIR "/examples";

  QTemporaryDir dir_;
  MemoryDbNameStore store_;
  Settings settings_;
  TMain main_;
};

}  // namespace komet::testing
