// SPDX-License-Identifier: GPL-3.0-or-later
// komet-sim: simulate a rocket file without a window, write its series,
// results, plot and report, and import RASP motor files.
#include <unistd.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <csignal>
#include <iostream>
#include <memory>

#include "app/cli_output.h"
#include "app/program_paths.h"
#include "app/qt/cli_exporter.h"
#include "app/qt/site_settings.h"
#include "app/sim_cli.h"
#include "common/qt/qt_text.h"
#include "common/qt/system_locale.h"
#include "common/user_folders.h"
#include "dialogs/options_location.h"
#include "dialogs/qt/settings_db_name_store.h"

namespace {

// komet-sim writes its own output and nothing else: Qt's notes about the
// session it runs in (no runtime directory, no display) are no concern of
// its reader. Only what ends the program is said.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) std::cerr << "komet-sim: " << message.toStdString() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  // A reader who closed the pipe ends komet-sim quietly, as it does any tool,
  // even when the caller left the signal ignored.
  std::signal(SIGPIPE, SIG_DFL);
  qInstallMessageHandler(QuietQtMessages);
  // Pictures need fonts but never a screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QCoreApplication::setApplicationName("Komet");

  const std::filesystem::path programDir = komet::ToPath(QCoreApplication::applicationDirPath());
  komet::SettingsDbNameStore dbName;
  komet::QtCliExporter exporter;
  komet::SimCliEnvironment env;
  env.configuredDatabase = [&] { return dbName.Load(); };
  env.bundledDatabase = komet::FindBundledDatabase(programDir);
  env.examplesDir = komet::FindBundledFile(programDir, "examples/rockets/einstufig_c6.kmw").parent_path();
  env.optionsFile = komet::ChooseOptionsFile(programDir, komet::UserConfigFolder());
  env.savedSite = komet::LoadLaunchSite();
  env.savedField = komet::LoadLaunchField();
  env.exporter = &exporter;
  env.decimalSeparator = komet::LocaleDecimalSeparator();

  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  komet::FdOutputBuffer stdoutBuffer(STDOUT_FILENO);
  std::ostream out(&stdoutBuffer);
  return komet::RunKometSim(args, env, out, std::cerr);
}
