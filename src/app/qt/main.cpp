// SPDX-License-Identifier: GPL-3.0-or-later
// komet: the desktop program.
#include <QDir>
#include <QElapsedTimer>
#include <QIcon>
#include <QTextStream>
#include <cstdio>

#include "app/program_paths.h"
#include "app/qt/error_report.h"
#include "app/qt/qt_translation.h"
#include "app/qt/site_settings.h"
#include "app/qt/t_about.h"
#include "app/qt/t_main.h"
#include "app/sim_help.h"
#include "common/qt/accelerators.h"
#include "common/qt/qt_text.h"
#include "common/qt/system_locale.h"
#include "common/user_folders.h"
#include "dialogs/options_location.h"
#include "dialogs/qt/settings_db_name_store.h"
#include "dialogs/settings.h"
#include "plot/qt/plot_widget.h"

namespace {

// KOMET_EXIT_AFTER_FIRST_PAINT: print the milliseconds from start to the
// first painted flight and quit (start-up timing).
void ExitAfterFirstFlight(komet::TMain& window, const QElapsedTimer& clock) {
  QObject::connect(
      window.plot(), &komet::PlotWidget::flightPainted, &window,
      [&clock] {
        std::printf("%lld\n", static_cast<long long>(clock.elapsed()));
        std::fflush(stdout);
        QCoreApplication::exit(0);
      },
      Qt::QueuedConnection);
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts, so that they need no display.
  if (const std::optional<std::string> info =
          komet::DesktopInfo(std::vector<std::string>(argv + 1, argv + argc))) {
    std::fputs(info->c_str(), stdout);
    return 0;
  }
  QElapsedTimer clock;
  clock.start();
  komet::KometApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Komet"));
  komet::InstallGermanQtTranslation(app);
  komet::InstallAccelerators(&app);
  // The desktop matches the window to its entry and the installed icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("de.komet_projekt.komet"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("komet"), QIcon(komet::ProgramPicture(64))));

  const std::filesystem::path programDir = komet::ToPath(QCoreApplication::applicationDirPath());
  const char separator = komet::LocaleDecimalSeparator();
  komet::SettingsDbNameStore dbName;
  komet::Settings settings(komet::ChooseOptionsFile(programDir, komet::UserConfigFolder()),
                           QDir::currentPath().toStdString(), dbName, separator);
  settings.site = komet::LoadLaunchSite();
  settings.field = komet::LoadLaunchField();

  komet::MainSetup setup;
  setup.bundledDatabase = komet::FindBundledDatabase(programDir);
  for (const QString& a : QCoreApplication::arguments().mid(1)) setup.arguments.push_back(a.toStdString());
  setup.decimalSeparator = separator;

  komet::TMain window(settings, std::move(setup));
  if (qEnvironmentVariableIsSet("KOMET_EXIT_AFTER_FIRST_PAINT")) ExitAfterFirstFlight(window, clock);
  window.show();
  return app.exec();
}
