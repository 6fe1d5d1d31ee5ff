// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the main window and the stage dialog's pages, as the user sees
// them with a bundled rocket. With KOMET_PICTURES_DIR set they are saved
// there (docs/main_window.png, docs/stage_dialog.png, docs/motor_chooser.png,
// docs/motorberater*.png, docs/bergung.png, docs/main_window_bergung.png,
// docs/main_window_aufstieg.png).
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "app/qt/t_auswertung.h"
#include "app/qt/t_main.h"
#include "app/qt/t_motorberater.h"
#include "dialogs/qt/motor_curve_widget.h"
#include "dialogs/qt/t_bergung.h"
#include "dialogs/qt/t_motorwahl.h"
#include "dialogs/qt/t_raketenform.h"
#include "dialogs/qt/t_stufendaten.h"
#include "plot/qt/plot_widget.h"
#include "qt/example_main.h"
#include "qt/modal_helper.h"
#include "qt/picture_helper.h"
#include "support/recovery_fixtures.h"

using namespace komet;
using komet::testing::WhenModal;

using komet::testing::CountColour;
using komet::testing::SavePicture;

namespace {

int CountYellowish(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      n += c.red() > 200 && c.green() > 200 && c.blue() < 100;
    }
  return n;
}

}  // namespace

class TMainPicturesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

  void init() {
    example_ = std::make_unique<testing::ExampleMain>();
    main_ = &example_->main();
    QTRY_COMPARE(main_->windowTitle(), QString("KOMET - Einstufer C6"));
  }

  void cleanup() { example_.reset(); }

  // With the burnout and delay markers on and a read-out under the pointer.
  void mainWindow() {
    main_->findChild<QToolButton*>("AnzBrenn")->click();
    QTest::mouseMove(main_->plot(), QPoint(45 + 195, 120));
    QTRY_VERIFY(!main_->statusBar()->findChild<QLabel*>("Panel3")->text().isEmpty());
    const QImage shot = main_->grab().toImage();
    QCOMPARE(main_->plot()->size(), QSize(681, 351));
    QVERIFY(CountColour(shot, Qt::black) > 1000);  // axes and the height curve
    QVERIFY(CountColour(shot, Qt::red) > 200);     // velocity
    QVERIFY(CountColour(shot, Qt::blue) > 200);    // acceleration
    SavePicture(shot, "main_window.png");
  }

  // Each page's rocket shows its own part red and the parts before it lime;
  // the first motor row is yellow.
  void stagePages() {
    QList<QImage> pages;
    QList<int> red, lime;
    QImage firstRow, secondRow;
    WhenModal<TStufendaten>([&](TStufendaten* d) {
      auto* tabs = d->findChild<QTabWidget*>("TabbedNotebook1");
      for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        pages << d->grab().toImage();
        const QImage rocket = tabs->widget(i)->findChild<QWidget*>("StagePicture")->grab().toImage();
        red << CountColour(rocket, Qt::red);
        lime << CountColour(rocket, QColor(0, 255, 0));
      }
      firstRow = d->findChild<QComboBox*>("Motore1")->grab().toImage();
      secondRow = d->findChild<QComboBox*>("Motore2")->grab().toImage();
      d->findChild<QPushButton*>("BitBtn2")->click();
    });
    main_->AEndernClick();
    QCOMPARE(pages.size(), 3);
    QImage sheet(pages[0].width() * 3 + 20, pages[0].height(), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    for (int i = 0; i < 3; ++i) p.drawImage(i * (pages[0].width() + 10), 0, pages[i]);
    p.end();
    SavePicture(sheet, "stage_dialog.png");
    QVERIFY(red[0] > 100 && red[1] > 100 && red[2] > 100);
    QCOMPARE(lime[0], 0);
    QVERIFY(lime[1] > 100 && lime[2] > lime[1]);
    QVERIFY(CountYellowish(firstRow) > 100);
    QCOMPARE(CountYellowish(secondRow), 0);
  }

  // The guide for the bundled rocket with the C and D motors, the highest
  // dotted over the plot.
  void motorGuide() {
    main_->MotorberaterClick();
    auto* guide = main_->findChild<TMotorberater*>("Motorberater");
    QVERIFY(guide);
    QTRY_VERIFY_WITH_TIMEOUT(!guide->running(), 30000);
    guide->findChild<QComboBox*>("KlasseVon")->setCurrentText("C");
    guide->findChild<QComboBox*>("KlasseBis")->setCurrentText("D");
    guide->BerechnenClick();
    QTRY_VERIFY_WITH_TIMEOUT(!guide->running(), 30000);
    guide->resize(1000, 420);
    guide->table()->selectRow(0);
    const QImage plain = main_->grab().toImage();
    guide->findChild<QCheckBox*>("ImDiagramm")->setChecked(true);
    const QImage compared = main_->grab().toImage();
    const QImage window = guide->grab().toImage();
    QVERIFY(CountColour(window, QColor(214, 240, 206)) > 0);  // a motor that breaks no rule
    const QAbstractItemModel* rows = guide->table()->model();
    QCOMPARE(rows->index(rows->rowCount() - 1, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
             QColor(246, 200, 200));                        // one too slow off the rail, last
    QVERIFY(CountColour(window, QColor(40, 160, 40)) > 0);  // the marker of the selected first row
    QVERIFY(plain != compared);
    SavePicture(window, "motorberater.png");
    SavePicture(compared, "motorberater_vergleich.png");

    // For the help page: the E motors, green ones first, then amber ones.
    guide->findChild<QCheckBox*>("ImDiagramm")->setChecked(false);
    guide->findChild<QComboBox*>("KlasseVon")->setCurrentText("E");
    guide->findChild<QComboBox*>("KlasseBis")->setCurrentText("E");
    // The example's 18 mm mount takes no E motor; the picture shows 24 mm ones.
    guide->findChild<QDoubleSpinBox*>("Durchmesser")->setValue(24.0);
    guide->findChild<QDoubleSpinBox*>("Laenge")->setValue(0.0);
    guide->BerechnenClick();
    QTRY_VERIFY_WITH_TIMEOUT(!guide->running(), 30000);
    guide->resize(640, 400);
    guide->table()->selectRow(0);
    const QImage help = guide->grab().toImage();
    QVERIFY(CountColour(help, QColor(255, 234, 184)) > 0);  // amber rows below the green ones
    SavePicture(help, "motorberater_hilfe.png");
  }

  // The chooser from the first motor row, narrowed to classes B to D and to
  // the 18 mm mount of the rocket's shape, with the rocket's C6 selected and
  // its curve beside the table.
  void motorChooser() {
    QImage shot;
    int red = 0, rows = 0;
    QStringList diameters;
    WhenModal<TStufendaten>([&](TStufendaten* d) {
      WhenModal<TMotorwahl>([&](TMotorwahl* c) {
        for (auto [name, text] : {std::pair{"KlasseVon", "B"}, {"KlasseBis", "D"}}) {
          auto* box = c->findChild<QComboBox*>(name);
          box->setCurrentIndex(box->findText(text));
        }
        c->findChild<QLineEdit*>("Suche")->setText("Estes");
        const QAbstractItemModel* table = c->findChild<QTableView*>("Tabelle")->model();
        rows = table->rowCount();
        for (int r = 0; r < rows; ++r) diameters << table->index(r, 3).data().toString();
        shot = c->grab().toImage();
        red = CountColour(c->findChild<MotorCurveWidget*>("Schubkurve")->grab().toImage(), Qt::red);
        c->reject();
      });
      d->findChild<QToolButton*>("WahlButton1")->click();
      d->findChild<QPushButton*>("BitBtn2")->click();
    });
    main_->AEndernClick();
    QVERIFY(rows >= 3);
    QCOMPARE(diameters, QStringList(rows, QStringLiteral("18")));
    QVERIFY(red > 100);  // the selected C6's curve
    SavePicture(shot, "motor_chooser.png");
  }

  // The flight under a 30 cm chute goes on past the 50 s to the landing,
  // with the opening marked among the burnout and delay markers.
  void recoveryFlight() {
    QVERIFY(main_->document().SetRecovery(testing::Chute(300)));
    main_->findChild<QToolButton*>("AnzBrenn")->click();
    QVERIFY(main_->document().simulation().results().flightEndTime > 70.0);
    // The ascent first: launch to a fifth past the opening across the plot.
    auto* ascent = main_->findChild<QAction*>("Aufstieg1");
    main_->plot()->grab();
    QVERIFY(ascent->isChecked());
    const FlightResults& r = main_->document().simulation().results();
    const double opened = r.deploymentStep / kSamplesPerSecond;
    const double ascentScale = main_->plot()->state().scaleX;
    QCOMPARE(ascentScale, main_->plot()->state().gridCountX * 30 / (1.2 * std::max(r.maxHeightTime, opened)));
    SavePicture(main_->grab().toImage(), "main_window_aufstieg.png");
    // Home shows the whole flight, the switch follows.
    QTest::keyClick(main_, Qt::Key_Home);
    main_->plot()->grab();
    QVERIFY(!ascent->isChecked());
    QVERIFY(main_->plot()->state().scaleX < ascentScale / 5);
    SavePicture(main_->grab().toImage(), "main_window_bergung.png");
  }

  // The recovery dialog of the bundled rocket with a 30 cm chute on the
  // C6's 5 s delay, after its flight: the last flight's line under it.
  void recoveryDialog() {
    QVERIFY(main_->document().SetRecovery(testing::Chute(300)));
    QImage shot;
    QString lastFlight;
    WhenModal<TBergung>([&](TBergung* d) {
      shot = d->grab().toImage();
      lastFlight = d->findChild<QLabel*>("LetzterFlug")->text();
      d->reject();
    });
    main_->BergungClick();
    QVERIFY2(lastFlight.contains("Abdrift"), qPrintable(lastFlight));
    QVERIFY(shot.height() < 768);
    SavePicture(shot, "bergung.png");
  }

  // The example's shape, opened from the file beside it, with its drawing.
  void shapeDialog() {
    QVERIFY(main_->document().shape());
    QImage shot;
    QString figures;
    WhenModal<TRaketenform>([&](TRaketenform* d) {
      shot = d->grab().toImage();
      figures = d->findChild<QLabel*>("Werte")->text();
      d->reject();
    });
    main_->FormClick();
    QVERIFY2(figures.contains("Kaliber"), qPrintable(figures));
    QVERIFY(shot.width() <= 1024 && shot.height() < 768);
    SavePicture(shot, "form.png");
  }

  // The evaluation of the example with its shape: the balance under the
  // head line, the window within the small screen.
  void evaluation() {
    main_->AuswertungClick();
    auto* window = main_->findChild<TAuswertung*>();
    QVERIFY(window);
    const QString head = window->findChild<QLabel*>("Kopf")->text();
    QVERIFY2(head.contains("Kaliber"), qPrintable(head));
    const QImage shot = window->grab().toImage();
    QVERIFY(shot.width() <= 1024 && shot.height() < 768);
    // A verdict wider than its column wraps into a taller row, never cut.
    const QTableWidget* delays = window->delayTable();
    const int verdict = delays->columnCount() - 1;
    const QFontMetrics metrics(delays->font());
    for (int row = 0; row < delays->rowCount(); ++row)
      if (metrics.horizontalAdvance(delays->item(row, verdict)->text()) > delays->columnWidth(verdict))
        QVERIFY2(delays->rowHeight(row) >= 2 * metrics.lineSpacing(),
                 qPrintable(delays->item(row, verdict)->text()));
    SavePicture(shot, "auswertung.png");
    window->close();
  }

 private:
  std::unique_ptr<testing::ExampleMain> example_;
  TMain* main_ = nullptr;
};

QTEST_MAIN(TMainPicturesTest)
#include "t_main_pictures_test.moc"
