// SPDX-License-Identifier: GPL-3.0-or-later
// A measured flight in the main window: over the plot, in the evaluation,
// and its cw taken through the stage dialog's transfer. With
// KOMET_PICTURES_DIR set, the overlay and the fit are saved there
// (docs/messflug_plot.png, docs/messflug_cw.png).
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "app/qt/t_auswertung.h"
#include "app/qt/t_cw_fit.h"
#include "app/qt/t_main.h"
#include "common/qt/komet_settings.h"
#include "dialogs/db_name_store.h"
#include "flightlog/recording_maker.h"
#include "plot/measured_overlay.h"
#include "plot/qt/plot_widget.h"
#include "qt/example_main.h"
#include "qt/modal_helper.h"
#include "qt/picture_helper.h"

using namespace komet;
using komet::testing::WhenModal;

using komet::testing::CountColour;
using komet::testing::SavePicture;

namespace {

const QColor kDots(kMeasuredColor.r, kMeasuredColor.g, kMeasuredColor.b);

// Picks `path` in the next file dialog.
void Choose(const QString& path) {
  WhenModal<QFileDialog>([path](QFileDialog* d) { komet::testing::AcceptFileDialog(d, path); });
}

}  // namespace

class TMainMessflugTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // The example rocket flown with cw 0.8, recorded in feet without saying so.
    RocketRecord rocket = testing::ExampleRocket();
    rocket.cw = 0.8;
    Simulation sim;
    sim.RunSimulation(rocket, FixedConstants{});
    testing::RecordingStyle style;
    style.shape = FlightLogShape::Columns, style.unit = HeightUnit::Foot, style.clockAtLaunch = 3.0;
    std::ofstream(dir_.filePath("flug.csv").toStdString()) << testing::WriteRecording(sim, style);
    std::ofstream(dir_.filePath("kaputt.csv").toStdString()) << "0;0\n1;5\n0,5;10\n";
  }

  void init() {
    OpenKometSettings()->remove(QStringLiteral("Messflug"));
    example_ = std::make_unique<testing::ExampleMain>();
    main_ = &example_->main();
    QTRY_COMPARE(main_->windowTitle(), QString("KOMET - Einstufer C6"));
  }

  void cleanup() { example_.reset(); }

  // Loaded (the unit asked once, then remembered), drawn, compared, fitted
  // and taken; removed again.
  void overlayFitAndTake() {
    const QImage before = main_->plot()->grab().toImage();
    QCOMPARE(CountColour(before, kDots), 0);
    QString question;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
      question = box->text();
      for (QAbstractButton* b : box->buttons())
        if (b->text() == QStringLiteral("&Fuß")) b->click();
    });
    Choose(dir_.filePath("flug.csv"));
    main_->MessflugLadenClick();
    QVERIFY2(question.contains("flug.csv"), qPrintable(question));
    QVERIFY2(QRegularExpression("Wert ist \\d+,\\d\\.").match(question).hasMatch(), qPrintable(question));
    QVERIFY(main_->plot()->measured());
    QCOMPARE(main_->plot()->measured()->unit, HeightUnit::Foot);
    const QImage overlay = main_->plot()->grab().toImage();
    QVERIFY(CountColour(overlay, kDots) > 300);
    SavePicture(main_->grab().toImage(), "messflug_plot.png");

    main_->AuswertungClick();
    auto* line = main_->findChild<TAuswertung*>("Auswertung")->findChild<QLabel*>("Messflug");
    QVERIFY(line->isVisible());
    QVERIFY2(line->text().startsWith("Messflug flug.csv: Gipfel "), qPrintable(line->text()));

    double shownAscent = 0.0;
    WhenModal<TCwFit>([&](TCwFit* d) {
      SavePicture(d->grab().toImage(), "messflug_cw.png");
      d->findChild<QRadioButton*>("Aufstieg")->setChecked(true);
      shownAscent = d->chosenCw();
      d->findChild<QPushButton*>("BitBtn1")->click();
    });
    main_->CwAnpassenClick();
    QVERIFY(std::abs(shownAscent - 0.8) < 0.01);
    QVERIFY(std::abs(main_->document().rocket().cw - shownAscent) < 0.0005 + 1e-9);
    QVERIFY(main_->document().changed());
    QVERIFY(main_->windowTitle().startsWith("KOMET"));

    main_->MessflugEntfernenClick();
    QVERIFY(!line->isVisible() || !main_->plot()->measured());
    QCOMPARE(CountColour(main_->plot()->grab().toImage(), kDots), 0);

    // The unit is remembered for files of this kind: no second question.
    Choose(dir_.filePath("flug.csv"));
    main_->MessflugLadenClick();
    QVERIFY(main_->plot()->measured());
    QCOMPARE(main_->plot()->measured()->unit, HeightUnit::Foot);
  }

  // A damaged recording: one message naming file and line, nothing drawn.
  void badRecordingChangesNothing() {
    QString message;
    komet::testing::CloseNextMessageBox(&message);
    Choose(dir_.filePath("kaputt.csv"));
    main_->MessflugLadenClick();
    QVERIFY2(message.contains("kaputt.csv, Zeile 3"), qPrintable(message));
    QVERIFY(!main_->plot()->measured());
    QVERIFY(!main_->document().changed());
  }

 private:
  QTemporaryDir dir_;
  std::unique_ptr<testing::ExampleMain> example_;
  TMain* main_ = nullptr;
};

QTEST_MAIN(TMainMessflugTest)
#include "t_main_messflug_test.moc"
