// SPDX-License-Identifier: GPL-3.0-or-later
// The Motorberater window with the bundled catalogue and the example rocket:
// filters that act as they change, colours that stay explained, a window
// that fits a small screen and works from the keyboard.
#include "app/qt/t_motorberater.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QtTest>
#include <set>

#include "app/qt/guide_settings.h"
#include "common/qt/komet_settings.h"
#include "model/rocket_file.h"

using namespace komet;

namespace {

const std::filesystem::path kSource = KOMET_SOURCE_DIR;

RocketRecord ExampleRocket() {
  RocketRecord empty;
  InitRakete(empty);
  return ReadRocketFile(kSource / "examples/rockets/einstufig_c6.kmw", empty).record;
}

}  // namespace

class TMotorberaterTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    OpenKometSettings()->clear();
  }

  void init() {
    main_ = std::make_unique<QWidget>();
    main_->setGeometry(20, 20, 300, 300);
    main_->show();
    guide_ = new TMotorberater(',', main_.get());
    guide_->setRestartDelay(0);
    guide_->Start(ExampleRocket(), std::nullopt, FixedConstants{}, kSource / "catalogue/motoren.kdb");
    QTRY_VERIFY_WITH_TIMEOUT(!guide_->running(), 30000);
  }

  void cleanup() { main_.reset(); }

  // On the screen, no larger than 800 x 600, its filters readable.
  void fitsASmallScreen() {
    const QRect screen = guide_->screen()->availableGeometry();
    const QRect frame = guide_->frameGeometry();
    QVERIFY2(
        screen.contains(frame),
        qPrintable(
            QString("%1,%2 %3x%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())));
    QVERIFY(guide_->minimumSizeHint().width() <= 800);
    QVERIFY(guide_->minimumSizeHint().height() <= 600);
    QVERIFY(guide_->x() >= main_->frameGeometry().right() || guide_->frameGeometry().right() <= main_->x() ||
            screen.width() < main_->frameGeometry().width() + guide_->frameGeometry().width());
    for (QLabel* label : guide_->findChildren<QLabel*>())
      if (label->isVisible() && !label->wordWrap())
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
  }

  // Every filter and button is reached with Alt and a letter of its own.
  void everyControlHasItsOwnAccelerator() {
    std::set<QChar> keys;
    QStringList texts;
    for (QLabel* label : guide_->findChildren<QLabel*>())
      if (label->buddy()) texts << label->text();
    for (QAbstractButton* button : guide_->findChildren<QAbstractButton*>())
      if (!button->text().isEmpty()) texts << button->text();
    QVERIFY(texts.size() >= 15);
    for (const QString& text : texts) {
      const qsizetype amp = text.indexOf('&');
      QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(text));
      QVERIFY2(keys.insert(text[amp + 1].toLower()).second, qPrintable(text));
    }
  }

  // Return takes the selected motor, Tab leaves the table, Escape closes.
  void keyboard() {
    QSignalSpy taken(guide_, &TMotorberater::takeMotor);
    QTableView* table = guide_->table();
    table->setFocus();
    table->selectRow(1);
    QTest::keyClick(table, Qt::Key_Return);
    QCOMPARE(taken.count(), 1);
    QVERIFY(!table->tabKeyNavigation());
    QTest::keyClick(table, Qt::Key_Tab);
    QVERIFY(!table->hasFocus());
    QTest::keyClick(guide_, Qt::Key_Escape);
    QVERIFY(!guide_->isVisible());
  }

  // The first row is green with a fitting delay; a motor filter flies the
  // guide again by itself, a flight limit hides rows at once.
  void filtersActAsTheyChange() {
    const QAbstractItemModel* rows = guide_->table()->model();
    QCOMPARE(rows->index(0, 0).data().toString(), QString("grün"));
    const int all = rows->rowCount();
    guide_->findChild<QComboBox*>("KlasseVon")->setCurrentText("D");
    guide_->findChild<QComboBox*>("KlasseBis")->setCurrentText("D");
    QTRY_VERIFY_WITH_TIMEOUT(rows->rowCount() > 0 && rows->rowCount() < all && !guide_->running(), 30000);
    for (int r = 0; r < rows->rowCount(); ++r)
      QVERIFY2(rows->index(r, 1).data().toString().startsWith('D'),
               qPrintable(rows->index(r, 1).data().toString()));
    const int classD = rows->rowCount();
    guide_->table()->sortByColumn(3, Qt::DescendingOrder);  // the user's order stays
    guide_->findChild<QCheckBox*>("NurGruen")->setChecked(true);
    QVERIFY(!guide_->running());
    QVERIFY(rows->rowCount() < classD);
    for (int r = 0; r < rows->rowCount(); ++r) {
      QCOMPARE(rows->index(r, 0).data().toString(), QString("grün"));
      if (r > 0)
        QVERIFY(rows->index(r - 1, 3).data(Qt::UserRole).toDouble() >=
                rows->index(r, 3).data(Qt::UserRole).toDouble());
    }
    guide_->findChild<QDoubleSpinBox*>("GipfelBis")->setValue(590);
    for (int r = 0; r < rows->rowCount(); ++r)
      QVERIFY(rows->index(r, 3).data(Qt::UserRole).toDouble() <= 590);
  }

  // Every row says why it has its colour; the legend says what they mean.
  void everyColourIsExplained() {
    const QAbstractItemModel* rows = guide_->table()->model();
    const QString last = rows->index(rows->rowCount() - 1, 5).data(Qt::ToolTipRole).toString();
    QVERIFY2(last.contains("rot: "), qPrintable(last));
    QVERIFY(rows->index(0, 0).data(Qt::ToolTipRole).toString().contains("keine Regel verletzt"));
    QVERIFY(!rows->index(0, 0).data(Qt::DecorationRole).isNull());  // the marker, visible when selected
    // A remedy stands right under the finding it clears.
    int remedies = 0;
    for (int r = 0; r < rows->rowCount(); ++r) {
      const QStringList lines = rows->index(r, 0).data(Qt::ToolTipRole).toString().split('\n');
      for (int i = 1; i < lines.size(); ++i)
        if (lines[i].contains("Abhilfe: ")) {
          ++remedies;
          QVERIFY2(lines[i - 1].startsWith(QString::fromUtf8("• ")), qPrintable(lines[i - 1]));
        }
    }
    QVERIFY(remedies > 0);
    const QString legend = guide_->findChild<QLabel*>("Legende")->text();
    for (const char* word : {"grün", "gelb", "rot", "Tooltip"}) QVERIFY2(legend.contains(word), word);
  }

  // Above the table: the field and wind the guide judged by, and the mount
  // (without a shape the motor's own: the C6's 18 x 70 mm);
  // a rocket without recovery has its landing not judged.
  void namesTheFieldTheWindAndTheMount() {
    guide_->Start(ExampleRocket(), std::nullopt, FixedConstants{}, kSource / "catalogue/motoren.kdb",
                  LaunchField{120.0, 300.0});
    QTRY_VERIFY_WITH_TIMEOUT(!guide_->running(), 30000);
    const QString line = guide_->findChild<QLabel*>("Feld")->text();
    for (const char* part :
         {"Radius 120 m", "Höhengrenze 300 m", "Wind 5,0 m/s", "Ø 18 mm, 70 mm", "Landung nicht beurteilt"})
      QVERIFY2(line.contains(QString::fromUtf8(part)), qPrintable(line));
    const QAbstractItemModel* rows = guide_->table()->model();
    int over = 0;
    for (int r = 0; r < rows->rowCount(); ++r)
      if (rows->index(r, 3).data(Qt::UserRole).toDouble() > 300.0) {
        ++over;
        QCOMPARE(rows->index(r, 0).data().toString(), QString("rot"));
      }
    QVERIFY(over > 0);
  }

  // The mount's length is a setting: a new window starts with it.
  void mountLengthIsRemembered() {
    guide_->findChild<QDoubleSpinBox*>("Laenge")->setValue(80);
    QTRY_VERIFY_WITH_TIMEOUT(!guide_->running(), 30000);
    QCOMPARE(LoadGuideSettings().mountLengthMm, 80.0);
    TMotorberater other(',');
    QCOMPARE(other.findChild<QDoubleSpinBox*>("Laenge")->value(), 80.0);
    guide_->findChild<QDoubleSpinBox*>("Laenge")->setValue(0);
  }

 private:
  std::unique_ptr<QWidget> main_;
  TMotorberater* guide_ = nullptr;
};

QTEST_MAIN(TMotorberaterTest)
#include "t_motorberater_test.moc"
