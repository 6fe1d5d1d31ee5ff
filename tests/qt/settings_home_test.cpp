// SPDX-License-Identifier: GPL-3.0-or-later
// A new user's first settings: an empty home without a configuration folder.
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "common/user_folders.h"
#include "dialogs/options_location.h"
#include "dialogs/qt/settings_db_name_store.h"
#include "dialogs/qt/t_einstellungen.h"

using namespace komet;

class SettingsHomeTest : public QObject {
  Q_OBJECT

 private slots:
  void sichernWritesIntoANewPrivateConfigurationFolder() {
    const QString config = QDir::homePath() + "/.config";
    const std::filesystem::path file = ChooseOptionsFile("/usr/bin", UserConfigFolder());  // installed
    QCOMPARE(QString::fromStdString(file.string()), config + "/Komet/KOMET.OPT");
    SettingsDbNameStore store;
    Settings settings(file, "", store, ',');
    TEinstellungen dialog(settings);
    settings.ChooseDatabase("/home/anna/motoren.kdb");
    dialog.findChild<QLineEdit*>("lerd")->setText("1,62");
    dialog.findChild<QPushButton*>("BitBtn4")->click();  // "Sichern"
    QCOMPARE(QFile::permissions(config), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    Settings again(file, "", store, ',');
    again.FormCreate();
    QCOMPARE(again.record.gravity, 1.62);
    QCOMPARE(again.motorDbName, std::string("/home/anna/motoren.kdb"));
  }
};

// The folders come from the environment, set before Qt reads it.
int main(int argc, char** argv) {
  QTemporaryDir home;
  qputenv("HOME", QFile::encodeName(home.path()));
  qunsetenv("XDG_CONFIG_HOME");
  QApplication app(argc, argv);
  SettingsHomeTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "settings_home_test.moc"
