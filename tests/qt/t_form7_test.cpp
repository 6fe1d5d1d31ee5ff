// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/qt/t_form7.h"

#include <QImage>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include "common/komet_error.h"
#include "motors/curve_viewer.h"
#include "motors/motor_database.h"
#include "motors/motor_details.h"
#include "qt/modal_helper.h"
#include "support/chooser_motors.h"
#include "support/motor_fixtures.h"

using namespace komet;
using komet::testing::WhenModal;

class TForm7Test : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    database_ = dir() / "motoren.kdb";
    testing::WriteDatabase(dir(), {testing::BoxMotor("A8", 10.0, 2.0), testing::BoxMotor("C6", 14.0, 1.8)});
    viewer_ = std::make_unique<TForm7>([this] { return database_; }, ',');
  }

  void cleanup() { viewer_.reset(); }

  void startsHiddenWithItsCaption() {
    QCOMPARE(viewer_->windowTitle(), QString("Motorendaten"));
    QCOMPARE(viewer_->size(), QSize(260, 210));
    QVERIFY(viewer_->isHidden());
    QCOMPARE(viewer_->shownFlag(), 0);
  }

  // The longest detail line (a motor also sold plugged) ends inside the window.
  void theDetailLinesAreShownWhole() {
    MotorRecord m =
        testing::DetailedMotor("F12 [AeroTech]", "AeroTech", "F12-2, 5, 7J", 24, 12, 2.8, {2, 5, 7});
    MotorDetails d = *ReadMotorDetails(m);
    d.plugged = true;
    WriteMotorDetails(d, m);
    testing::WriteDatabase(dir(), {m});
    viewer_->ShowMotor(0);
    QVERIFY(QTest::qWaitForWindowExposed(viewer_.get()));
    const QImage picture = viewer_->grab().toImage();
    int rightmost = 0;
    for (int y = picture.height() - MotorDetailBand(m); y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        if (qGray(picture.pixel(x, y)) < 128) rightmost = std::max(rightmost, x);
    QVERIFY(rightmost > 0 && rightmost < picture.width() - 2);
  }

  void itStandsBesideTheStageDialog_data() {
    QTest::addColumn<QRect>("dialog");
    QTest::addColumn<QPoint>("expected");
    const QRect screen(0, 0, 1280, 1024);
    QTest::newRow("rechts Platz") << QRect(300, 200, 500, 400) << QPoint(800, 200);
    QTest::newRow("nur links Platz") << QRect(700, 200, 500, 400) << QPoint(440, 200);
    QTest::newRow("unten zu knapp") << QRect(100, 900, 500, 400) << QPoint(600, 814);
    QTest::newRow("kein Platz") << QRect(200, 0, 900, 400) << QPoint(0, 0);
    QTest::newRow("kein Platz, rechts mehr") << QRect(100, 0, 1000, 400) << QPoint(1020, 0);
  }

  void itStandsBesideTheStageDialog() {
    QFETCH(QRect, dialog);
    QFETCH(QPoint, expected);
    QCOMPARE(PlaceBeside(dialog, QSize(260, 210), QRect(0, 0, 1280, 1024)), expected);
  }

  void theWindowOpensBesideItsDialog() {
    QWidget dialog;
    dialog.setGeometry(100, 100, 420, 300);
    dialog.show();
    TForm7 viewer([this] { return database_; }, ',', &dialog);
    viewer.ShowMotor(0);
    QVERIFY(viewer.isVisible());
    QVERIFY(!viewer.frameGeometry().intersects(dialog.frameGeometry()));
  }

  void showingAMotorReadsAndDrawsIt() {
    viewer_->ShowMotor(0);
    QTRY_COMPARE(viewer_->shownFlag(), 1);
    QCOMPARE(std::string(viewer_->motor().name.view()), std::string("A8"));
    const QImage picture = viewer_->grab().toImage();
    QTRY_COMPARE(viewer_->windowTitle(), QString("A8"));
    // 10 N over 2 s at 260 x 210: the top of the curve at y 20, its end at x 230.
    QCOMPARE(picture.pixelColor(100, 20), QColor(Qt::red));
    QCOMPARE(picture.pixelColor(230, 100), QColor(Qt::red));

    viewer_->ShowMotor(1);  // shown: read and redrawn at once
    QCOMPARE(std::string(viewer_->motor().name.view()), std::string("C6"));
    viewer_->ShowMotor(-1);  // keeps what it shows
    QCOMPARE(std::string(viewer_->motor().name.view()), std::string("C6"));
    QCOMPARE(viewer_->shownFlag(), 1);

    viewer_->close();
    QCOMPARE(viewer_->shownFlag(), 0);
  }

  void noSelectionOpensAnEmptyViewer() {
    viewer_->ShowMotor(0);
    QTRY_COMPARE(viewer_->shownFlag(), 1);
    viewer_->close();
    viewer_->ShowMotor(-1);
    QTRY_VERIFY(viewer_->isVisible());
    QCOMPARE(viewer_->shownFlag(), 0);
    const QImage picture = viewer_->grab().toImage();
    QTRY_COMPARE(viewer_->windowTitle(), QString("A8"));  // the last motor's name
    QCOMPARE(picture.pixelColor(100, 20), picture.pixelColor(5, 5));
  }

  void aRecordPastTheEndKeepsTheBuffer() {
    viewer_->ShowMotor(1);
    QTRY_COMPARE(viewer_->shownFlag(), 1);
    viewer_->ShowMotor(7);
    QCOMPARE(std::string(viewer_->motor().name.view()), std::string("C6"));
  }

  void aFailedReadIsReported() {
    std::filesystem::remove(database_);
    viewer_->ShowMotor(0);
    QString message;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
      message = box->text();
      box->accept();
    });
    QTRY_COMPARE(message, QString("Datei nicht gefunden"));
    QVERIFY(viewer_->isVisible());
    QCOMPARE(viewer_->shownFlag(), 0);

    // While shown, the caller gets the error to report.
    testing::WriteDatabase(dir(), {testing::BoxMotor("A8", 10.0, 2.0)});
    viewer_->ShowMotor(0);
    QTRY_COMPARE(viewer_->shownFlag(), 1);
    std::filesystem::remove(database_);
    QVERIFY_THROWS_EXCEPTION(KometError, viewer_->ShowMotor(0));
  }

 private:
  std::filesystem::path dir() const { return dir_->path().toStdString(); }

  std::unique_ptr<QTemporaryDir> dir_;
  std::filesystem::path database_;
  std::unique_ptr<TForm7> viewer_;
};

QTEST_MAIN(TForm7Test)
#include "t_form7_test.moc"
