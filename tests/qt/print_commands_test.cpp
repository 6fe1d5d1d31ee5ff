// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/qt/print_commands.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <memory>

#include "common/komet_error.h"
#include "common/qt/system_locale.h"
#include "model/rocket_file.h"
#include "print/qt/qprinter_device.h"
#include "qt/pdf_reader.h"
#include "support/replaced_file.h"
#include "support/temp_dir.h"

using namespace komet;
using komet::testing::PdfPages;
using komet::testing::PdfText;

class PrintCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    RocketRecord empty;
    InitRakete(empty);
    const auto file = ReadRocketFile(KOMET_SOURCE_DIR "/examples/rockets/einstufig_c6.kmw", empty);
    QVERIFY(file.isRocket());
    rocket_ = file.record;
    sim_ = std::make_unique<Simulation>();
    sim_->RunSimulation(rocket_, FixedConstants{});
    QVERIFY(sim_->results().resultsValid);
  }

  void theReportPrintsOnePageWithEveryPart() {
    const QString pdf = dir_.filePath("bericht.pdf");
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, pdf);
    QVERIFY(PrintFlightReport(printer, *sim_, rocket_, switches_));
    QCOMPARE(PdfPages(pdf), 1);
    const QString text = PdfText(pdf);
    const QString name = QString::fromLatin1(rocket_.name.view().data(), rocket_.name.view().size());
    for (const QString& part :
         {QStringLiteral("Rakete : ") + name, QStringLiteral("Max v:"), QStringLiteral("Brennschluss bei:"),
          QStringLiteral("empfohlene Verzögerung:"), QStringLiteral("Hauptstufe"),
          QStringLiteral("Masse [gr]"), QStringLiteral("Einstellungen:"),
          QStringLiteral("gedruckt am : ") + PrintDateText()})
      QVERIFY2(text.contains(part), qPrintable(part + "\n---\n" + text));
  }

  void nothingIsPrintedWithoutAFlight() {
    Simulation fresh;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, dir_.filePath("nichts.pdf"));
    QVERIFY(!PrintFlightReport(printer, fresh, rocket_, switches_));
    QVERIFY(!SaveReportPdf(dir_.filePath("nichts2.pdf").toStdString(), fresh, rocket_, switches_));
    QVERIFY(!QFile::exists(dir_.filePath("nichts.pdf")));
    QVERIFY(!QFile::exists(dir_.filePath("nichts2.pdf")));
  }

  void savingReplacesAnOlderFileAndLeavesNoTemporary() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("bericht.pdf");
    std::ofstream(pdf.toStdString()) << "alt";
    QVERIFY(SaveReportPdf(pdf.toStdString(), *sim_, rocket_, switches_));
    QCOMPARE(PdfPages(pdf), 1);
    QVERIFY(PdfText(pdf).contains("Max v:"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"bericht.pdf"});
    QVERIFY(QFile(pdf).permissions() & QFileDevice::ReadOther);
  }

  void savingLeavesTheOlderFileAloneAndKeepsItsRights() {
    testing::TempDir dir;
    const testing::ReplacedFile old(dir.path() / "bericht.pdf", "alt", 0640);
    QVERIFY(SaveReportPdf(old.path(), *sim_, rocket_, switches_));
    QCOMPARE(QString::fromStdString(old.Fault()), QString());
  }

  void aPlaceThatCannotTakeTheFileThrowsAndKeepsTheOldOne() {
    QTemporaryDir dir;
    const QString blocker = dir.filePath("datei");
    std::ofstream(blocker.toStdString()) << "x";
    try {
      SaveReportPdf((blocker + "/bericht.pdf").toStdString(), *sim_, rocket_, switches_);
      QFAIL("no error");
    } catch (const KometError& e) {
      QVERIFY2(QString::fromUtf8(e.what()).contains(blocker + "/bericht.pdf"), e.what());
    }
    // A directory in the way of the name: the rename fails after the PDF was made.
    const QString taken = dir.filePath("ordner.pdf");
    QVERIFY(QDir().mkdir(taken));
    QVERIFY(QFile::copy(blocker, taken + "/inhalt"));
    QVERIFY_THROWS_EXCEPTION(KometError, SaveReportPdf(taken.toStdString(), *sim_, rocket_, switches_));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"datei"});
  }

  void theTimeReadsLikeAClock() {
    const QString time = PrintTimeText();
    QVERIFY2(QRegularExpression("\\d{1,2}:\\d{2}:\\d{2}").match(time).hasMatch(), qPrintable(time));
    const QString zone = QDateTime::currentDateTime().timeZoneAbbreviation();
    QVERIFY2(zone.isEmpty() || !time.contains(zone), qPrintable(time));
    QVERIFY(!PrintDateText().isEmpty());
  }

 private:
  QTemporaryDir dir_;
  RocketRecord rocket_;
  std::unique_ptr<Simulation> sim_;
  PlotSwitches switches_;
};

QTEST_MAIN(PrintCommandsTest)
#include "print_commands_test.moc"
