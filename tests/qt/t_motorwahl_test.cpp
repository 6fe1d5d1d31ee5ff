// SPDX-License-Identifier: GPL-3.0-or-later
// The chooser "Motor wählen" and the search in the stage dialog's motor
// lists, over a small database of our own (sorted: A8, Alt F, C6, D12, E9,
// G40, Z0).
#include "dialogs/qt/t_motorwahl.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "dialogs/qt/motor_curve_widget.h"
#include "dialogs/qt/t_stufendaten.h"
#include "qt/modal_helper.h"
#include "support/chooser_motors.h"
#include "support/temp_dir.h"

using namespace komet;
using komet::testing::WhenModal;

namespace {

constexpr int kC6 = 2, kD12 = 3, kG40 = 5;

QStringList Column(QTableView* table, int column) {
  QStringList texts;
  for (int r = 0; r < table->model()->rowCount(); ++r)
    texts << table->model()->index(r, column).data().toString();
  return texts;
}

int CountRed(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == QColor(Qt::red);
  return n;
}

}  // namespace

class TMotorwahlTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    db_ = komet::testing::WriteDatabase(dir_.path(), komet::testing::ChooserMotors());
    form_.motorList = ReadMotorList(db_);
    SortMotorList(form_.motorList);
  }

  void init() {
    for (auto& n : form_.anzmot) n = "0";
    form_.motore.fill(-1);
    form_.durch = {"18,0", "24,0", ""};
    stage_ = std::make_unique<TStufendaten>(form_, ',', nullptr, [this] { return db_; });
  }
  void cleanup() { stage_.reset(); }

  void showsTheWholeDatabase() {
    TMotorwahl chooser(rows(), {}, -1, ',');
    QCOMPARE(chooser.windowTitle(), QString("Motor wählen"));
    QCOMPARE(table(chooser)->model()->rowCount(), 7);
    QCOMPARE(table(chooser)->model()->columnCount(), 11);
    QCOMPARE(Column(table(chooser), 0), QStringList({"A8 [Estes]", "Alt F", "C6 [Estes]", "D12 [Estes]",
                                                     "E9 [Klima]", "G40 [AeroTech]", "Z0"}));
    const QAbstractItemModel* m = table(chooser)->model();
    QCOMPARE(m->headerData(3, Qt::Horizontal).toString(), QString("Ø\nmm"));
    const QStringList d12{"D12 [Estes]", "Estes", "D",    "24",   "96",     "19,2",
                          "12,0",        "12,0",  "1,60", "25,0", "0-3-5-7"};
    for (int c = 0; c < 11; ++c) QCOMPARE(m->index(3, c).data().toString(), d12[c]);
    QVERIFY(m->index(6, 3).data().toString().isEmpty());  // Z0: no diameter known, none shown
    QVERIFY(!chooser.findChild<QCheckBox*>("Passt")->isEnabled());
    QCOMPARE(chooser.findChild<QLabel*>("Anzahl")->text(), QString("7 von 7 Motoren"));
    QVERIFY(!chooser.findChild<QPushButton*>("OK")->isEnabled());
  }

  void filtersNarrowTheTable() {
    TMotorwahl chooser(rows(), {}, -1, ',');
    chooser.findChild<QLineEdit*>("Suche")->setText("eSt");
    QCOMPARE(Column(table(chooser), 0), QStringList({"A8 [Estes]", "C6 [Estes]", "D12 [Estes]"}));
    pick(chooser, "KlasseVon", "C");
    QCOMPARE(Column(table(chooser), 0), QStringList({"C6 [Estes]", "D12 [Estes]"}));
    chooser.findChild<QLineEdit*>("Suche")->clear();
    pick(chooser, "KlasseBis", "E");
    QCOMPARE(Column(table(chooser), 0), QStringList({"C6 [Estes]", "D12 [Estes]", "E9 [Klima]"}));
    pick(chooser, "Hersteller", "Klima");
    QCOMPARE(Column(table(chooser), 0), QStringList({"E9 [Klima]"}));
    QCOMPARE(chooser.findChild<QLabel*>("Anzahl")->text(), QString("1 von 7 Motoren"));
    pick(chooser, "Hersteller", "alle");
    pick(chooser, "Durchmesser", "18 mm");
    QCOMPARE(Column(table(chooser), 0), QStringList({"C6 [Estes]"}));
  }

  // The fit check starts on when the stage's mount is known: the 24 mm
  // motors (96 mm long) are too long for 80 mm, the G40 too wide.
  void fitsTheStageByDefault() {
    TMotorwahl chooser(rows(), {24, 80}, -1, ',');
    auto* passt = chooser.findChild<QCheckBox*>("Passt");
    QVERIFY(passt->isChecked());
    QCOMPARE(passt->text(), QString("passt in diese Stufe (Ø 24,0 mm, bis 80 mm lang)"));
    QCOMPARE(Column(table(chooser), 0), QStringList({"A8 [Estes]", "Alt F", "C6 [Estes]", "Z0"}));
    passt->setChecked(false);
    QCOMPARE(table(chooser)->model()->rowCount(), 7);
  }

  void sortsByAnyColumn() {
    TMotorwahl chooser(rows(), {}, -1, ',');
    QTableView* t = table(chooser);
    t->horizontalHeader()->setSortIndicator(5, Qt::AscendingOrder);  // impulse
    QCOMPARE(Column(t, 0), QStringList({"Z0", "A8 [Estes]", "C6 [Estes]", "D12 [Estes]", "E9 [Klima]",
                                        "Alt F", "G40 [AeroTech]"}));
    t->horizontalHeader()->setSortIndicator(8, Qt::DescendingOrder);  // burn time
    QCOMPARE(Column(t, 8), QStringList({"3,00", "2,50", "1,60", "1,60", "1,20", "0,70", ""}));
    t->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);  // maker, no maker first
    QCOMPARE(Column(t, 1).mid(2), QStringList({"AeroTech", "Estes", "Estes", "Estes", "Klima"}));
    t->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);  // name: the list's order reversed
    QCOMPARE(Column(t, 0).first(), QString("Z0"));
    QCOMPARE(Column(t, 0).last(), QString("A8 [Estes]"));
  }

  // A reader looks for D2 before D16; the lists keep the program's order.
  void namesSortByTheirNumbers() {
    std::vector<MotorRow> named;
    for (const char* name : {"D16 [Estes]", "D2 [Klima]", "A10 [Quest]", "A2 [Quest]", "D12 [Estes]"})
      named.push_back(MakeMotorRow(komet::testing::BoxMotor(name, 10, 1), name));
    TMotorwahl chooser(std::move(named), {}, -1, ',');
    QTableView* t = table(chooser);
    t->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    QCOMPARE(Column(t, 0),
             QStringList({"A2 [Quest]", "A10 [Quest]", "D2 [Klima]", "D12 [Estes]", "D16 [Estes]"}));
    t->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
    QCOMPARE(Column(t, 0).first(), QString("D16 [Estes]"));
  }

  void selectedRowShowsItsCurve() {
    TMotorwahl chooser(rows(), {}, kD12, ',');
    QCOMPARE(chooser.selectedIndex(), kD12);
    QVERIFY(chooser.findChild<QPushButton*>("OK")->isEnabled());
    auto* curve = chooser.findChild<MotorCurveWidget*>("Schubkurve");
    QVERIFY(curve->motor());
    QCOMPARE(curve->motor()->name.view(), std::string_view("D12 [Estes]"));
    curve->resize(260, 210);
    QVERIFY(CountRed(curve->grab().toImage()) > 100);
    // Filtered away, the selection and the curve go.
    chooser.findChild<QLineEdit*>("Suche")->setText("a");
    QCOMPARE(chooser.selectedIndex(), -1);
    QVERIFY(!curve->motor());
    QVERIFY(!chooser.findChild<QPushButton*>("OK")->isEnabled());
    // A search that leaves one motor has found it.
    chooser.findChild<QLineEdit*>("Suche")->setText("Estes C6-5");
    QVERIFY(curve->motor());
    QCOMPARE(curve->motor()->name.view(), std::string_view("C6 [Estes]"));
    QVERIFY(chooser.findChild<QPushButton*>("OK")->isEnabled());
  }

  void okPutsTheMotorIntoTheSlotWithCountOne() {
    answer([](TMotorwahl* c) {
      c->findChild<QLineEdit*>("Suche")->setText("g40");
      table(*c)->selectRow(0);
      c->findChild<QPushButton*>("OK")->click();
    });
    stage_->findChild<QToolButton*>("WahlButton8")->click();  // stage 3: no diameter, everything shows
    QCOMPARE(combo("motore8")->currentIndex(), kG40);
    QCOMPARE(combo("motore8")->currentText(), QString("G40 [AeroTech]"));
    QCOMPARE(stage_->findChild<QSpinBox*>("anzmot8")->value(), 1);
  }

  void aCountAboveZeroStays() {
    stage_->findChild<QSpinBox*>("anzmot4")->setValue(3);
    answer([](TMotorwahl* c) {
      selectByName(*c, "C6 [Estes]");
      c->findChild<QPushButton*>("OK")->click();
    });
    stage_->findChild<QToolButton*>("WahlButton4")->click();
    QCOMPARE(combo("Motore4")->currentIndex(), kC6);
    QCOMPARE(stage_->findChild<QSpinBox*>("anzmot4")->value(), 3);
  }

  void doubleClickChooses() {
    answer([](TMotorwahl* c) {
      c->findChild<QLineEdit*>("Suche")->setText("c");
      QTableView* t = table(*c);
      QCOMPARE(t->model()->index(0, 0).data().toString(), QString("C6 [Estes]"));
      QVERIFY(QTest::qWaitForWindowExposed(c));
      const QRect cell = t->visualRect(t->model()->index(0, 3));
      // As a mouse does it: a click, then the second press arrives as a double-click.
      QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, cell.center());
      QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, cell.center());
    });
    stage_->findChild<QToolButton*>("WahlButton1")->click();
    QCOMPARE(combo("Motore1")->currentIndex(), kC6);
    QCOMPARE(stage_->findChild<QSpinBox*>("anzmot1")->value(), 1);
  }

  // Without a shape the stage's motor now decides what fits (not the
  // stage's body diameter), and Abbruch changes nothing.
  void chooserFitsTheSlotsStageAndAbortKeepsTheSlot() {
    combo("Motore4")->setCurrentIndex(kD12);  // stage 2: a 24 mm motor, 96 mm long
    stage_->findChild<QSpinBox*>("anzmot4")->setValue(1);
    int shown = -1;
    bool checked = false;
    answer([&](TMotorwahl* c) {
      shown = table(*c)->model()->rowCount();
      checked = c->findChild<QCheckBox*>("Passt")->isChecked();
      table(*c)->selectRow(0);
      c->findChild<QPushButton*>("Abbruch")->click();
    });
    stage_->findChild<QToolButton*>("WahlButton5")->click();
    QVERIFY(checked);
    QCOMPARE(shown, 6);  // all but the 29 mm G40
    QCOMPARE(combo("motore5")->currentIndex(), -1);
    QCOMPARE(stage_->findChild<QSpinBox*>("anzmot5")->value(), 0);
  }

  void typingInAListOffersTheEntriesContainingIt() {
    QComboBox* list = shownMotorList();
    QVERIFY(list);
    QCompleter* completer = list->completer();
    list->lineEdit()->setFocus();
    list->lineEdit()->clear();
    QTest::keyClicks(list->lineEdit(), "ES]");
    QTRY_VERIFY(completer->popup()->isVisible());
    QTRY_COMPARE(completer->completionCount(), 3);
    QCOMPARE(list->currentIndex(), -1);  // typing alone chooses nothing
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    QCOMPARE(list->currentIndex(), kC6);  // the second of A8, C6, D12
    QCOMPARE(list->currentText(), QString("C6 [Estes]"));
  }

  void textThatIsNoEntryNeverBecomesASelection() {
    QComboBox* list = shownMotorList(kD12);
    QVERIFY(list);
    list->lineEdit()->selectAll();
    QTest::keyClicks(list->lineEdit(), "xyz");
    QCOMPARE(list->currentIndex(), kD12);
    emit list->lineEdit()->editingFinished();
    QCOMPARE(list->currentIndex(), kD12);
    QCOMPARE(list->lineEdit()->text(), QString("D12 [Estes]"));

    // A whole name, in any case, is that entry.
    list->lineEdit()->selectAll();
    QTest::keyClicks(list->lineEdit(), "e9 [klima]");
    emit list->lineEdit()->editingFinished();
    QCOMPARE(list->currentIndex(), 4);
    QCOMPARE(list->currentText(), QString("E9 [Klima]"));
  }

  void escapeUndoesTheTypingBeforeItClosesTheDialog() {
    QComboBox* list = shownMotorList(kC6);
    QVERIFY(list);
    list->lineEdit()->setFocus();
    list->lineEdit()->selectAll();
    QTest::keyClicks(list->lineEdit(), "G4");
    QTRY_VERIFY(list->completer()->popup()->isVisible());
    QTest::keyClick(list->completer()->popup(), Qt::Key_Escape);
    QVERIFY(!list->completer()->popup()->isVisible());
    QCOMPARE(list->lineEdit()->text(), QString("C6 [Estes]"));
    QVERIFY(stage_->isVisible());

    QTest::keyClicks(list->lineEdit(), "x");  // popup closed: Escape on the field itself
    QTest::keyClick(list->lineEdit(), Qt::Key_Escape);
    QCOMPARE(list->lineEdit()->text(), QString("C6 [Estes]"));
    QVERIFY(stage_->isVisible());
    QCOMPARE(list->currentIndex(), kC6);
  }

  void emptyTextOffersTheWholeList() {
    QComboBox* list = shownMotorList();
    QVERIFY(list);
    list->lineEdit()->setFocus();
    QTest::keyClicks(list->lineEdit(), "D1");
    QTRY_COMPARE(list->completer()->completionCount(), 1);
    QTest::keyClick(list->lineEdit(), Qt::Key_Backspace);
    QTest::keyClick(list->lineEdit(), Qt::Key_Backspace);
    QTRY_VERIFY(list->completer()->popup()->isVisible());
    QCOMPARE(list->completer()->completionCount(), 7);
    QCOMPARE(list->currentIndex(), -1);
  }

 private:
  std::vector<MotorRow> rows() const { return ReadMotorRows(db_, form_.motorList); }
  static QTableView* table(TMotorwahl& c) { return c.findChild<QTableView*>("Tabelle"); }
  QComboBox* combo(const char* name) { return stage_->findChild<QComboBox*>(name); }
  // The first motor list of the stage dialog once it shows, set to `entry`
  // unless that is -1; null when the dialog never shows.
  QComboBox* shownMotorList(int entry = -1) {
    stage_->show();
    if (!QTest::qWaitForWindowExposed(stage_.get())) return nullptr;
    QComboBox* list = combo("Motore1");
    if (entry >= 0) list->setCurrentIndex(entry);
    return list;
  }
  // Acts on the chooser once it shows; one left open (a broken step) is
  // closed, so the test fails instead of hanging.
  static void answer(std::function<void(TMotorwahl*)> act) {
    WhenModal<TMotorwahl>([act = std::move(act)](TMotorwahl* c) {
      act(c);
      if (c->isVisible()) c->reject();
    });
  }
  static void selectByName(TMotorwahl& c, const QString& name) {
    QTableView* t = table(c);
    for (int r = 0; r < t->model()->rowCount(); ++r)
      if (t->model()->index(r, 0).data().toString() == name) return t->selectRow(r);
    QFAIL("no such row");
  }
  static void pick(TMotorwahl& c, const char* combo, const QString& text) {
    auto* box = c.findChild<QComboBox*>(combo);
    box->setCurrentIndex(box->findText(text));
    QVERIFY(box->currentIndex() >= 0);
  }

  komet::testing::TempDir dir_;
  std::filesystem::path db_;
  StageForm form_;
  std::unique_ptr<TStufendaten> stage_;
};

QTEST_MAIN(TMotorwahlTest)
#include "t_motorwahl_test.moc"
