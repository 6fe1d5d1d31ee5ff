// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/t_einstellungen.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>

#include "common/qt/qt_text.h"
#include "motors/motor_database.h"
#include "qt/modal_helper.h"
#include "support/motor_fixtures.h"

using namespace komet;
using komet::testing::CloseNextMessageBox;

namespace {

// Runs the dialog modally; `inside` acts on it while it is shown.
bool RunWith(TEinstellungen& dialog, std::function<void()> inside) {
  QTimer::singleShot(0, &dialog, std::move(inside));
  return dialog.Run();
}

}  // namespace

class TEinstellungenTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  }

  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    store_ = MemoryDbNameStore{};
    // Imports go to the user's data folder: here, never the real one.
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir_->filePath("daten")));
  }

  void showsTheDefaultsWithAComma() {
    Settings s(optionsFile(), "/", store_);
    TEinstellungen dialog(s);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Einstellungen"));
    QCOMPARE(dialog.size(), QSize(427, 283));
    auto* tabs = dialog.findChild<QTabWidget*>();
    QCOMPARE(tabs->tabText(0), QStringLiteral("Konstanten"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Pfade"));
    QCOMPARE(texts(dialog), (QStringList{"1,17", "1,0", "3,0", "9,810", "50"}));
    QVERIFY(QFile::exists(QString::fromStdString(optionsFile().string())));
  }

  // While no database is chosen the bundled one is used, and shown so; OK
  // keeps "none chosen".
  void theBundledDatabaseShowsWhileNoneIsChosen() {
    Settings s(optionsFile(), "/", store_);
    TEinstellungen dialog(s);
    dialog.SetBundledDatabase("/usr/share/komet/motors.kdb");
    QString text, placeholder;
    QVERIFY(RunWith(dialog, [&] {
      text = edit(dialog, "MotorenPfad")->text();
      placeholder = edit(dialog, "MotorenPfad")->placeholderText();
      button(dialog, "BitBtn2")->click();
    }));
    QCOMPARE(text, QString());
    QCOMPARE(placeholder, QStringLiteral("/usr/share/komet/motors.kdb (mitgeliefert)"));
    QCOMPARE(store_.value, std::string());

    store_.value = "/home/nutzer/eigene.kdb";
    Settings chosen(optionsFile(), "/", store_);
    TEinstellungen withChoice(chosen);
    withChoice.SetBundledDatabase("/usr/share/komet/motors.kdb");
    RunWith(withChoice, [&] {
      text = edit(withChoice, "MotorenPfad")->text();
      withChoice.reject();
    });
    QCOMPARE(text, QStringLiteral("/home/nutzer/eigene.kdb"));
  }

  // The record takes 50; the field keeps what was typed until Laden or Abbruch.
  void okWithTooShortAPeriodStoresFiftyAndTheFieldKeepsTwo() {
    Settings s(optionsFile(), "/", store_);
    TEinstellungen dialog(s);
    const bool ok = RunWith(dialog, [&] {
      edit(dialog, "LBer")->setText("2");
      edit(dialog, "Lstart")->setText("2,5");
      button(dialog, "BitBtn2")->click();
    });
    QVERIFY(ok);
    QCOMPARE(s.GetCalcPeriod(), 50.0);
    QCOMPARE(s.GetRailLength(), 2.5);
    QString shown;
    const bool again = RunWith(dialog, [&] {
      shown = edit(dialog, "LBer")->text();
      button(dialog, "BitBtn1")->click();
    });
    QVERIFY(!again);
    QCOMPARE(shown, QStringLiteral("2"));
    QCOMPARE(edit(dialog, "LBer")->text(), QStringLiteral("50"));
  }

  void abbruchRestoresTheFieldsAndKeepsTheRecord() {
    Settings s(optionsFile(), "/", store_);
    TEinstellungen dialog(s);
    const OptionsRecord before = s.record;
    const bool ok = RunWith(dialog, [&] {
      edit(dialog, "Ldichte")->setText("0,9");
      edit(dialog, "lerd")->setText("1");
      dialog.reject();  // Escape and the window frame do the same
    });
    QVERIFY(!ok);
    QCOMPARE(s.record, before);
    QCOMPARE(texts(dialog), (QStringList{"1,17", "1,0", "3,0", "9,810", "50"}));
  }

  void sichernWritesTheFileAndTheDatabasePathAndStaysOpen() {
    Settings s(optionsFile(), "/", store_);
    TEinstellungen dialog(s);
    dialog.show();
    s.ChooseDatabase("/motoren/eigene.kdb");
    edit(dialog, "lerd")->setText("9,5");
    button(dialog, "BitBtn4")->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(QString::fromStdString(store_.value), QStringLiteral("/motoren/eigene.kdb"));
    QCOMPARE(ReadOptionsFile(optionsFile())->gravity, 9.5);

    edit(dialog, "lerd")->setText("1");
    button(dialog, "BitBtn3")->click();  // Laden
    QCOMPARE(edit(dialog, "lerd")->text(), QStringLiteral("9,500"));
    QVERIFY(dialog.isVisible());
  }

  void sichernThatCannotWriteSaysWhy() {
    const QString blocker = dir_->filePath("file");
    std::ofstream(blocker.toStdString()) << "x";
    Settings s(std::filesystem::path(blocker.toStdString()) / "KOMET.OPT", "/", store_);
    TEinstellungen dialog(s);
    dialog.show();
    edit(dialog, "LBer")->setText("12");
    QString message;
    CloseNextMessageBox(&message);
    button(dialog, "BitBtn4")->click();
    QVERIFY2(message.contains(blocker + "/KOMET.OPT gesichert werden"), qPrintable(message));
    QVERIFY2(message.contains("Datei nicht gefunden"), qPrintable(message));  // the reason
    QCOMPARE(s.GetCalcPeriod(), 12.0);
    QVERIFY(store_.value.empty());
  }

  void anEngFileIsImportedAndBecomesTheDatabase() {
    Settings s(optionsFile(), "/", store_);
    TEinstellungen dialog(s);
    const QString bundled = dir_->filePath("katalog.kdb");
    WriteMotorDatabase(ToPath(bundled), std::vector<MotorRecord>{testing::BoxMotor("C6 [Estes]", 6, 1.5)});
    dialog.SetBundledDatabase(bundled);
    QSignalSpy changed(&dialog, &TEinstellungen::databaseChanged);
    const QString eng = dir_->filePath("eigene.eng");
    std::ofstream(eng.toStdString()) << "T5 18 70 3-5 0.006 0.016 Test\n0.1 10\n0.5 4\n0.8 0\n";
    edit(dialog, "Ldichte")->setText("1,2");  // typed meanwhile, kept
    QString summary;
    CloseNextMessageBox(&summary);
    QVERIFY(QMetaObject::invokeMethod(&dialog, "ChooseDatabaseFile", Q_ARG(QString, eng)));
    QVERIFY2(summary.startsWith(QStringLiteral("1 Motor gelesen: 1 neu, 0 schon vorhanden")),
             qPrintable(summary));
    QCOMPARE(changed.count(), 1);
    const QString kdb = edit(dialog, "MotorenPfad")->text();
    QVERIFY2(kdb.endsWith("/Komet/meine_motoren.kdb"), qPrintable(kdb));
    QCOMPARE(ReadMotorList(ToPath(kdb)).size(), 2u);  // the catalogue's motor and the new one
    QCOMPARE(QString::fromStdString(s.GetDBName().string()), kdb);
    QCOMPARE(edit(dialog, "Ldichte")->text(), QStringLiteral("1,2"));
    QVERIFY(store_.value.empty());
    // One click back to the bundled catalogue.
    button(dialog, "Katalog")->click();
    QCOMPARE(changed.count(), 2);
    QVERIFY(s.GetDBName().empty());
    QVERIFY(edit(dialog, "MotorenPfad")->placeholderText().contains("katalog.kdb"));
    QFile::remove(kdb);
  }

  void anEngFileWithoutMotorsKeepsTheDatabase() {
    store_.value = "/alt.kdb";
    Settings s(optionsFile(), "/", store_);
    TEinstellungen dialog(s);
    QSignalSpy changed(&dialog, &TEinstellungen::databaseChanged);
    const QString eng = dir_->filePath("kaputt.eng");
    std::ofstream(eng.toStdString()) << "X1 18 70 3 0.006 0.016 Test\n0.5 4\n0.6 -3\n";
    QString message;
    CloseNextMessageBox(&message);
    QVERIFY(QMetaObject::invokeMethod(&dialog, "ChooseDatabaseFile", Q_ARG(QString, eng)));
    QVERIFY2(message.contains("Zeile 3"), qPrintable(message));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(edit(dialog, "MotorenPfad")->text(), QStringLiteral("/alt.kdb"));
  }

  // A launch-site value out of range keeps the dialog open on its page and
  // changes nothing; a good one is in effect after OK. Abbruch shows the
  // values in effect again.
  void theLaunchSiteIsTakenOnlyInItsRange() {
    Settings s(optionsFile(), "/", store_);
    TEinstellungen dialog(s);
    auto* tabs = dialog.findChild<QTabWidget*>();
    auto* standard = dialog.findChild<QCheckBox*>("Normatmosphaere");
    QString message;
    bool stayedOpen = false;
    QWidget* page = nullptr;
    const bool ok = RunWith(dialog, [&] {
      QVERIFY(!edit(dialog, "Hoehe")->isEnabled());
      standard->setChecked(true);
      QVERIFY(edit(dialog, "Hoehe")->isEnabled());
      edit(dialog, "Hoehe")->setText("850");
      edit(dialog, "Wind")->setText("31");
      CloseNextMessageBox(&message);
      button(dialog, "BitBtn2")->click();
      stayedOpen = dialog.isVisible();
      page = tabs->currentWidget();
      edit(dialog, "Wind")->setText("7,5");
      button(dialog, "BitBtn2")->click();
    });
    QVERIFY(ok);
    QVERIFY(stayedOpen);
    QVERIFY2(message.contains("Wind"), qPrintable(message));
    QCOMPARE(page, edit(dialog, "Wind")->parentWidget());
    QCOMPARE(s.Site(), (LaunchSite{true, 850.0, 15.0, 7.5}));

    RunWith(dialog, [&] {
      standard->setChecked(false);
      edit(dialog, "Wind")->setText("2");
      dialog.reject();
    });
    QCOMPARE(s.site.wind, 7.5);
    QVERIFY(standard->isChecked());
    QCOMPARE(edit(dialog, "Wind")->text(), QStringLiteral("7,5"));

    // The field on the same page: a radius out of range is refused in its
    // field, an empty ceiling is none.
    QCOMPARE(edit(dialog, "Feldradius")->text(), QStringLiteral("150"));
    QCOMPARE(edit(dialog, "Hoehengrenze")->text(), QString());
    message.clear();
    RunWith(dialog, [&] {
      edit(dialog, "Feldradius")->setText("5");
      edit(dialog, "Hoehengrenze")->setText("300");
      CloseNextMessageBox(&message);
      button(dialog, "BitBtn2")->click();
      stayedOpen = dialog.isVisible();
      edit(dialog, "Feldradius")->setText("80");
      button(dialog, "BitBtn2")->click();
    });
    QVERIFY(stayedOpen);
    QVERIFY2(message.contains("Radius"), qPrintable(message));
    QCOMPARE(s.field, (LaunchField{80.0, 300.0}));
    QCOMPARE(s.site.wind, 7.5);
  }

  // "Sichern" keeps the launch site where the program keeps its settings,
  // "Laden" brings it back; neither goes through the options file.
  void sichernAndLadenKeepTheLaunchSiteInTheProgramsSettings() {
    Settings s(optionsFile(), "/", store_);
    TEinstellungen dialog(s);
    LaunchSite kept;
    LaunchField keptField;
    dialog.saveSite = [&](const LaunchSite& site) { kept = site; };
    dialog.loadSite = [&] { return kept; };
    dialog.saveField = [&](const LaunchField& field) { keptField = field; };
    dialog.loadField = [&] { return keptField; };
    dialog.show();
    dialog.findChild<QCheckBox*>("Normatmosphaere")->setChecked(true);
    edit(dialog, "Temperatur")->setText("-5");
    edit(dialog, "Hoehengrenze")->setText("450");
    button(dialog, "BitBtn4")->click();
    QCOMPARE(kept, (LaunchSite{true, 0.0, -5.0, 5.0}));
    QCOMPARE(keptField, (LaunchField{150.0, 450.0}));
    const auto fileAfterSave = ReadOptionsFile(optionsFile());

    edit(dialog, "Temperatur")->setText("30");
    edit(dialog, "Hoehengrenze")->setText("");
    button(dialog, "BitBtn3")->click();
    QCOMPARE(edit(dialog, "Temperatur")->text(), QStringLiteral("-5,0"));
    QCOMPARE(edit(dialog, "Hoehengrenze")->text(), QStringLiteral("450"));
    QCOMPARE(s.site, kept);
    QCOMPARE(ReadOptionsFile(optionsFile()), fileAfterSave);
  }

 private:
  std::filesystem::path optionsFile() const { return dir_->filePath("KOMET.OPT").toStdString(); }
  static QLineEdit* edit(QWidget& w, const char* name) { return w.findChild<QLineEdit*>(name); }
  static QPushButton* button(QWidget& w, const char* name) { return w.findChild<QPushButton*>(name); }
  static QStringList texts(QWidget& w) {
    QStringList t;
    for (const char* name : {"Ldichte", "Lstart", "rstart", "lerd", "LBer"}) t << edit(w, name)->text();
    return t;
  }

  std::unique_ptr<QTemporaryDir> dir_;
  MemoryDbNameStore store_;
};

// The dialog shows numbers with the system locale's decimal separator: the
// test runs under a German one.
int main(int argc, char** argv) {
  qputenv("LC_ALL", "de_DE.UTF-8");
  QApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);
  TEinstellungenTest test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}
#include "t_einstellungen_test.moc"
