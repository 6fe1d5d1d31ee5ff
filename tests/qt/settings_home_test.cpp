// A new user's first settings: an empty home, no configuration folder yet.
// The folders come from the environment, so it is set before Qt starts.
#include <sys/stat.h>

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>

#include "common/user_folders.h"
#include "dialogs/options_location.h"
#include "dialogs/qt/settings_db_name_store.h"
#include "dialogs/qt/t_einstellungen.h"
#include "dialogs/settings.h"

using namespace komet;

namespace {

QTemporaryDir* gHome = nullptr;

unsigned Mode(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

}  // namespace

class SettingsHomeTest : public QObject {
  Q_OBJECT

 private slots:
  void sichernWritesIntoTheNewConfigurationFolder() {
    const QString config = gHome->filePath(".config");
    QVERIFY(!QDir(config).exists());
    // As the program starts: an installed program, nothing beside it.
    const std::filesystem::path file = ChooseOptionsFile("/usr/bin", UserConfigFolder());
    QCOMPARE(QString::fromStdString(file.string()), config + "/Komet/KOMET.OPT");

    SettingsDbNameStore store;
    Settings settings(file, gHome->path().toStdString(), store, ',');
    TEinstellungen dialog(settings);  // loads, and writes the defaults
    QVERIFY(QFile::exists(config + "/Komet/KOMET.OPT"));
    QCOMPARE(Mode(config), 0700u);
    QCOMPARE(Mode(config + "/Komet"), 0700u);

    settings.ChooseDatabase("/home/anna/motoren.kdb");
    dialog.findChild<QLineEdit*>("lerd")->setText("1,62");
    dialog.findChild<QPushButton*>("BitBtn4")->click();  // "Sichern"

    SettingsDbNameStore reread;
    Settings again(file, gHome->path().toStdString(), reread, ',');
    again.FormCreate();
    QCOMPARE(again.record.gravity, 1.62);
    QCOMPARE(QString::fromStdString(again.motorDbName), QString("/home/anna/motoren.kdb"));
    QVERIFY(QFile::exists(config + "/Tarvo/BrixKomet.conf"));
  }
};

int main(int argc, char** argv) {
  QTemporaryDir home;
  gHome = &home;
  ::setenv("HOME", QFile::encodeName(home.path()).constData(), 1);
  ::unsetenv("XDG_CONFIG_HOME");
  ::unsetenv("XDG_DATA_HOME");
  QApplication app(argc, argv);
  SettingsHomeTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "settings_home_test.moc"
