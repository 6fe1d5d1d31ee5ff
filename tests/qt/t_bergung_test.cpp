// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/t_bergung.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

#include "app/qt/t_main.h"
#include "dialogs/qt/t_stufendaten.h"
#include "qt/example_main.h"
#include "qt/modal_helper.h"

using namespace komet;
using komet::testing::CloseNextMessageBox;
using komet::testing::WhenModal;

namespace {

RecoveryContext SmallRocket() {
  RecoveryContext c;
  c.delays = {3, 5, 7};
  c.recommended = 4.8;
  c.landingMass = 0.045;
  c.rocketDragArea = 0.0003;
  c.airDensity = 1.17;
  c.gravity = 9.81;
  return c;
}

template <typename T>
T* child(QWidget* w, const char* name) {
  return w->findChild<T*>(QString::fromLatin1(name));
}

}  // namespace

class TBergungTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

  // OK with a value out of its range says why, stays open and puts the
  // cursor into the field; the helper's diameter then corrects it.
  void okRefusesAValueOutOfRangeAndTheHelperCorrectsIt() {
    TBergung dialog(std::nullopt, SmallRocket(), ',');
    QString message;
    QWidget* focused = nullptr;
    bool stayedOpen = false;
    QTimer::singleShot(0, &dialog, [&] {
      child<QRadioButton>(&dialog, "Fallschirm")->click();
      child<QLineEdit>(&dialog, "Durchmesser")->setText("20");
      CloseNextMessageBox(&message);
      child<QPushButton>(&dialog, "BitBtn1")->click();
      stayedOpen = dialog.isVisible();
      focused = dialog.focusWidget();
      child<QLineEdit>(&dialog, "Sinkrate")->setText("3");
      child<QPushButton>(&dialog, "Uebernehmen")->click();
      child<QPushButton>(&dialog, "BitBtn1")->click();
    });
    QVERIFY(dialog.Run());
    QVERIFY(stayedOpen);
    QVERIFY2(message.contains("Fallschirmdurchmesser"), qPrintable(message));
    QCOMPARE(focused, child<QLineEdit>(&dialog, "Durchmesser"));
    RecoveryForm slower = ShowRecovery(std::nullopt, SmallRocket(), ',');
    slower.descentRate = "3";
    const ChuteSuggestion helper = SuggestChute(slower, SmallRocket(), ',');
    QVERIFY(helper.diameterMm);
    QVERIFY(dialog.recovery());
    QCOMPARE(dialog.recovery()->diameterMm, *helper.diameterMm);  // the helper's, taken with one click
    QCOMPARE(dialog.recovery()->delay, 5.0);                      // the published delay offered first
  }

  // The rule's cw follows the length until the user types one; "cw nach
  // Regel" brings the rule back.
  void theStreamerCwFollowsTheLengthUntilTyped() {
    TBergung dialog(std::nullopt, SmallRocket(), ',');
    dialog.show();
    child<QRadioButton>(&dialog, "Band")->click();
    auto* length = child<QLineEdit>(&dialog, "Laenge");
    auto* cw = child<QLineEdit>(&dialog, "BandCw");
    const QString metre = cw->text();
    length->selectAll();
    QTest::keyClicks(length, "2000");
    const QString twoMetres = cw->text();
    QVERIFY(!twoMetres.isEmpty() && twoMetres != metre);
    cw->setText("0,5");
    length->selectAll();
    QTest::keyClicks(length, "1000");
    QCOMPARE(cw->text(), QStringLiteral("0,5"));
    child<QPushButton>(&dialog, "Regel")->click();
    QCOMPARE(cw->text(), metre);
  }

  // From the stage dialog's button and from the menu the dialog opens for
  // the document's rocket, and its OK is the document's.
  void theStageDialogAndTheMenuOpenItForTheRocket() {
    testing::ExampleMain example;
    TMain& main = example.main();
    QTRY_VERIFY(main.document().simulation().results().resultsValid);
    QVERIFY(!main.document().changed());

    QWidget* parent = nullptr;
    bool chute = true;
    WhenModal<TStufendaten>([&](TStufendaten* stage) {
      WhenModal<TBergung>([&](TBergung* d) {
        parent = d->parentWidget();
        chute = child<QRadioButton>(d, "Fallschirm")->isChecked();
        child<QRadioButton>(d, "Fallschirm")->click();
        child<QPushButton>(d, "BitBtn1")->click();
      });
      child<QToolButton>(stage, "Bergung")->click();
      stage->reject();
    });
    main.AEndernClick();
    QVERIFY(parent && parent->inherits("komet::TStufendaten"));
    QVERIFY(!chute);  // the example rocket has none
    QVERIFY(ReadRecovery(main.document().rocket()));
    QVERIFY(main.document().changed());
    QVERIFY(main.document().simulation().results().deployed);

    QAction* menuItem = main.findChild<QAction*>("Bergung1");
    QVERIFY(menuItem);
    WhenModal<TBergung>([&](TBergung* d) {
      chute = child<QRadioButton>(d, "Fallschirm")->isChecked();
      child<QRadioButton>(d, "Keine")->click();
      child<QPushButton>(d, "BitBtn1")->click();
    });
    menuItem->trigger();
    QVERIFY(chute);
    QVERIFY(!ReadRecovery(main.document().rocket()));
    QVERIFY(!main.document().simulation().results().deployed);
  }
};

QTEST_MAIN(TBergungTest)
#include "t_bergung_test.moc"
