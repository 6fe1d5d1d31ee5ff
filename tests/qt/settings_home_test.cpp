// SPDX-License-Identifier: GPL-3.0-or-later
// A new user's first settings: an empty home without a configuration folder.
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/qt/site_settings.h"
#include "common/qt/komet_settings.h"
#include "common/user_folders.h"
#include "dialogs/options_location.h"
#include "dialogs/qt/settings_db_name_store.h"
#include "dialogs/qt/t_einstellungen.h"

using namespace komet;

namespace {
QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

class SettingsHomeTest : public QObject {
  Q_OBJECT

 private slots:
  // Settings of an earlier version are taken over at the first start, once,
  // into the one file every setting is kept in; the old file stays as it was.
  void earlierSettingsAreTakenOverOnce() {
    const QString config = QDir::homePath() + "/.config";
    QCOMPARE(QString::fromStdString(KometSettingsFile().string()), config + "/Komet/komet.conf");
    const QString old = config + "/Tarvo/BrixKomet.conf";
    MakeUserFolder((config + "/Tarvo").toStdString());
    QFile f(old);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[General]\nDBName=/alt/motoren.kdb\n\n[Startplatz]\nWind=3\n");
    f.close();
    const QByteArray before = Bytes(old);

    SettingsDbNameStore store;
    QCOMPARE(store.Load(), std::string("/alt/motoren.kdb"));
    QCOMPARE(LoadLaunchSite().wind, 3.0);
    LaunchSite site;
    site.wind = 7.0;
    SaveLaunchSite(site);
    QCOMPARE(Bytes(old), before);

    // Written again in the old place (an old copy still in use): not taken over twice.
    QSettings(old, QSettings::IniFormat).setValue("DBName", "/neu/motoren.kdb");
    QCOMPARE(store.Load(), std::string("/alt/motoren.kdb"));
    const QSettings one(config + "/Komet/komet.conf", QSettings::IniFormat);
    QCOMPARE(one.value("Startplatz/Wind").toDouble(), 7.0);
    QCOMPARE(one.value("DBName").toString(), QString("/alt/motoren.kdb"));
    QCOMPARE(QDir(config + "/Komet").entryList(QDir::Files), QStringList({"komet.conf"}));
  }

  // The motor guide's height limit becomes the field's ceiling once; after
  // that the ceiling is the one setting, and the old key is gone.
  void theGuidesHeightLimitBecomesTheCeilingOnce() {
    OpenKometSettings()->setValue("Motorberater/Hoehenlimit", 400.0);
    QCOMPARE(LoadLaunchField(), (LaunchField{150.0, 400.0}));
    QVERIFY(!OpenKometSettings()->contains("Motorberater/Hoehenlimit"));
    SaveLaunchField({90.0, 0.0});
    OpenKometSettings()->setValue("Motorberater/Hoehenlimit", 250.0);  // an older copy of komet
    QCOMPARE(LoadLaunchField(), (LaunchField{90.0, 0.0}));
  }

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
