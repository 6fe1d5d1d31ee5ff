// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/t_stufendaten.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "app/document.h"
#include "common/win1252.h"
#include "dialogs/qt/calculator_dialog.h"
#include "motors/catalogue.h"
#include "motors/motor_database.h"
#include "qt/modal_helper.h"
#include "support/fake_prompts.h"

using namespace komet;
using komet::testing::WhenModal;

namespace {

// Six motors of the bundled catalogue, the Estes C6 the fourth record.
const std::filesystem::path& SmallDatabase() {
  static const std::filesystem::path path = [] {
    const std::vector<MotorRecord> catalogue = BuildCatalogue(KOMET_SOURCE_DIR);
    std::vector<MotorRecord> six;
    for (const char* name :
         {"B6 [Estes]", "A8 [Estes]", "B4 [Estes]", "C6 [Estes]", "D12 [Estes]", "C6 [Klima]"})
      for (const MotorRecord& m : catalogue)
        if (m.name.view() == name) six.push_back(m);
    const auto file = std::filesystem::temp_directory_path() / "komet-t-stufendaten-motoren.kdb";
    WriteMotorDatabase(file, six);
    return file;
  }();
  return path;
}
const std::filesystem::path kSingleStage = KOMET_SOURCE_DIR "/examples/rockets/einstufig_c6.kmw";

}  // namespace

class TStufendatenTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    doc_ = std::make_unique<Document>(
        constants_, [] { return SmallDatabase(); }, ',');
    dialog_ = std::make_unique<TStufendaten>(doc_->form(), ',');
    dialog_->setRocket(&doc_->rocket());
    // The stage dialog is the real one; nothing else asks anything.
    views_.stageDialog = [this] { return dialog_->Run(); };
    doc_->ReloadMotorDatabase();
    dialog_->UpdateMotorLists();
  }

  void cleanup() {
    dialog_.reset();
    doc_.reset();
  }

  void hasThreeStagePagesWithTheirPictures() {
    QCOMPARE(dialog_->windowTitle(), QStringLiteral("Stufendaten"));
    QCOMPARE(dialog_->size(), QSize(418, 350));
    auto* tabs = dialog_->findChild<QTabWidget*>("TabbedNotebook1");
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 3);
    const QStringList titles{"Hauptstufe", "Stufe 2", "Stufe 3"};
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(tabs->tabText(i), titles[i]);
      auto* arrow = tabs->widget(i)->findChild<QLabel*>("arrow");
      QVERIFY(arrow && arrow->text() == "<-----");
    }
    QCOMPARE(edit("RakName")->maxLength(), 50);
    for (int i = 1; i <= 9; ++i) {
      // Editable only for the search: typed text never becomes an item.
      QVERIFY(combo(i)->isEditable());
      QCOMPARE(combo(i)->insertPolicy(), QComboBox::NoInsert);
      QCOMPARE(count(i)->maximum(), 20);
      QCOMPARE(combo(i)->count(), 6);
    }
  }

  // Values typed into the widgets reach the record with OK: units, the
  // comma, merged equal motors, an upper stage with its delay.
  void okTransfersTheWidgetsIntoTheRecord() {
    answer("BitBtn1", [&] {
      edit("RakName")->setText("Saturn V");
      edit("ecwwert")->setText("0,75");
      choose(1, "C6 [Estes]", 2);
      choose(2, "C6 [Estes]", 3);
      edit("stmgr1")->setText("48,5");
      edit("durch1")->setText("25");
      edit("ComboEdit1")->setText("100");
      choose(4, "B6 [Estes]", 1);
      edit("Verz1")->setText("1,25");
      edit("stmgr2")->setText("11");
    });
    doc_->Change(prompts_, views_);
    const RocketRecord& r = doc_->rocket();
    QCOMPARE(std::string(r.name.view()), std::string("Saturn V"));
    QCOMPARE(r.cw, 0.75);
    QCOMPARE(r.stages[0].counts, (std::array<std::int32_t, 3>{5, 0, 0}));
    QCOMPARE(std::string(r.stages[0].motors[0].name.view()), std::string("C6 [Estes]"));
    QVERIFY(r.stages[0].motors[1].name.view().empty());
    QCOMPARE(r.stages[0].mass, 0.0485);
    QCOMPARE(r.stages[0].diameter, 0.025);
    QCOMPARE(r.stages[0].otherArea, 0.0001);
    QCOMPARE(r.stages[1].counts[0], 1);
    QCOMPARE(r.stages[1].ignitionDelay, 1.25);
    QCOMPARE(r.stages[2].absent, std::uint8_t{1});
    QCOMPARE(doc_->caption(), std::string("KOMET - Saturn V"));
    QVERIFY(doc_->changed());
    QVERIFY(doc_->simulation().results().resultsValid);

    // Reloaded from the record, the numbers come back with the comma.
    answer("BitBtn2", [&] {
      QCOMPARE(edit("Verz1")->text(), QString("1,25"));
      QCOMPARE(edit("stmgr1")->text(), QString("48,5"));
      QCOMPARE(count(1)->value(), 5);
      QCOMPARE(count(2)->value(), 0);
      QCOMPARE(combo(1)->currentText(), QString("C6 [Estes]"));
    });
    doc_->ChangeWithReload(prompts_, views_);
  }

  void abortKeepsTheEditsForTheNextOk() {
    QVERIFY(doc_->LoadRocketFile(kSingleStage, prompts_, views_));
    answer("BitBtn2", [&] {
      edit("RakName")->setText("Zwischenstand");
      count(1)->setValue(3);
    });
    doc_->Change(prompts_, views_);
    QCOMPARE(std::string(doc_->rocket().name.view()), std::string("Einstufer C6"));
    QVERIFY(!doc_->changed());

    answer("BitBtn1", [&] { QCOMPARE(edit("RakName")->text(), QString("Zwischenstand")); });
    doc_->Change(prompts_, views_);
    QCOMPARE(std::string(doc_->rocket().name.view()), std::string("Zwischenstand"));
    QCOMPARE(doc_->rocket().stages[0].counts[0], 3);
  }

  // With the shape's 18 mm mount a 24 mm motor is refused and the C6 stays;
  // the balance beside the motors follows the motors chosen.
  void theShapesMountRefusesAMotorThatDoesNotFit() {
    dialog_ = std::make_unique<TStufendaten>(doc_->form(), ',', nullptr, [] { return SmallDatabase(); });
    dialog_->setRocket(&doc_->rocket());
    dialog_->setShape(&doc_->shape());
    QVERIFY(doc_->LoadRocketFile(kSingleStage, prompts_, views_));
    QVERIFY(doc_->shape());
    QString message, withC6, withB4;
    answer("BitBtn2", [&] {
      withC6 = dialog_->findChild<QLabel*>("Stabilitaet1")->text();
      testing::CloseNextMessageBox(&message);
      combo(1)->setCurrentIndex(combo(1)->findText("D12 [Estes]"));
      QCOMPARE(combo(1)->currentText(), QString("C6 [Estes]"));
      choose(1, "B4 [Estes]", 1);  // 18 mm: taken, and lighter
      withB4 = dialog_->findChild<QLabel*>("Stabilitaet2")->text();
    });
    doc_->Change(prompts_, views_);
    QVERIFY2(message.contains("D12 passt nicht"), qPrintable(message));
    QVERIFY2(withC6.contains("Kaliber") && withB4.contains("Kaliber") && withB4 != withC6,
             qPrintable(withB4));
  }

  // The plot's double-click reloads the record first, so an aborted edit is gone.
  void reloadDiscardsAnAbortedEdit() {
    QVERIFY(doc_->LoadRocketFile(kSingleStage, prompts_, views_));
    answer("BitBtn2", [&] { edit("RakName")->setText("Verworfen"); });
    doc_->Change(prompts_, views_);
    answer("BitBtn2", [&] { QCOMPARE(edit("RakName")->text(), QString("Einstufer C6")); });
    doc_->ChangeWithReload(prompts_, views_);
  }

  // Edits kept from an Abbruch are named at the top; "Verwerfen" goes back
  // to the rocket. An Abbruch that changes no value leaves nothing to name.
  void keptEditsAreAnnouncedAndCanBeDropped() {
    QVERIFY(doc_->LoadRocketFile(kSingleStage, prompts_, views_));
    QList<bool> banners;
    QString text;
    answer("BitBtn2", [&] {
      banners << banner()->isVisible();
      choose(1, "D12 [Estes]", 1);
    });
    doc_->Change(prompts_, views_);
    answer("BitBtn1", [&] {
      banners << banner()->isVisible();
      text = banner()->findChild<QLabel*>("BannerText")->text();
      QCOMPARE(combo(1)->currentText(), QString("D12 [Estes]"));
      banner()->findChild<QPushButton*>("Verwerfen")->click();
      banners << banner()->isVisible();
      QCOMPARE(combo(1)->currentText(), QString("C6 [Estes]"));
    });
    doc_->Change(prompts_, views_);
    answer("BitBtn2", [&] { edit("stmgr1")->setText(edit("stmgr1")->text().replace(',', '.')); });
    doc_->Change(prompts_, views_);  // the same number, typed otherwise: nothing to name
    answer("BitBtn2", [&] { banners << banner()->isVisible(); });
    doc_->Change(prompts_, views_);
    QCOMPARE(banners, QList<bool>({false, true, false, false}));
    QCOMPARE(text, QString("Nicht übernommene Änderungen vom letzten Mal"));
    QCOMPARE(std::string(doc_->rocket().stages[0].motors[0].name.view()), std::string("C6 [Estes]"));
  }

  // Return takes the one match or the highlighted row and stays in the list;
  // only once the list shows its motor is Return the dialog's OK.
  void returnInAMotorListTakesTheMatch() {
    QSignalSpy accepted(dialog_.get(), &QDialog::accepted);
    answer("BitBtn2", [&] {
      QComboBox* list = combo(2);
      QTest::keyClicks(list->lineEdit(), "d12");  // one match
      QTest::keyClick(list->lineEdit(), Qt::Key_Return);
      QCOMPARE(list->currentText(), QString("D12 [Estes]"));
      list->lineEdit()->selectAll();
      QTest::keyClicks(list->lineEdit(), "c6");  // two: the highlighted one counts
      QAbstractItemView* popup = list->completer()->popup();
      QTRY_VERIFY(popup->isVisible());
      popup->setCurrentIndex(popup->model()->index(1, 0));
      QTest::keyClick(popup, Qt::Key_Return);
      QVERIFY(!popup->isVisible());
      QCOMPARE(list->currentText(), QString("C6 [Klima]"));
      QCOMPARE(accepted.count(), 0);
      QTest::keyClick(list->lineEdit(), Qt::Key_Return);
    });
    doc_->Change(prompts_, views_);
    QCOMPARE(accepted.count(), 1);
  }

  void calculatorOpensFromTheKeyboard() {
    bool opened = false;
    WhenModal<CalculatorDialog>([&opened](CalculatorDialog* calc) { opened = calc->close(); });
    answer("BitBtn2", [&] {
      edit("ComboEdit1")->setFocus();
      QTest::keyClick(edit("ComboEdit1"), Qt::Key_F4);
    });
    dialog_->Run();
    QVERIFY(opened);
  }

  void setFormActsOnlyWhileTheDialogIsHidden() {
    RocketRecord other;
    InitRakete(other);
    other.name.assign("Andere");
    answer("BitBtn1", [&] {
      edit("RakName")->setText("Im Dialog");
      SetForm(doc_->form(), other, ',');
      QCOMPARE(edit("RakName")->text(), QString("Im Dialog"));
    });
    doc_->Change(prompts_, views_);
    QCOMPARE(std::string(doc_->rocket().name.view()), std::string("Im Dialog"));

    SetForm(doc_->form(), other, ',');
    answer("BitBtn2", [&] { QCOMPARE(edit("RakName")->text(), QString("Andere")); });
    dialog_->Run();
  }

  void calculatorEditsAnAreaField_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("after");
    QTest::newRow("number") << "12,5"
                            << "12,5"
                            << "25,0";
    // The calculator keeps what it showed last (0 at first): 0 * 2.
    QTest::newRow("no number") << "zwölf"
                               << "0"
                               << "0,0";
    QTest::newRow("point with a comma locale") << "12.5"
                                               << "0"
                                               << "0,0";
  }

  void calculatorEditsAnAreaField() {
    QFETCH(QString, before);
    QFETCH(QString, display);
    QFETCH(QString, after);
    edit("ComboEdit2")->setText(before);
    QString shown, fieldWhileOpen;
    WhenModal<CalculatorDialog>([&](CalculatorDialog* calc) {
      shown = calc->findChild<QLineEdit*>("display")->text();
      fieldWhileOpen = edit("ComboEdit2")->text();
      for (const char* key : {"key_*", "key_2", "key_OK"}) calc->findChild<QPushButton*>(key)->click();
    });
    dialog_->findChild<QAction*>("ComboEditButton2")->trigger();
    QCOMPARE(shown, display);
    if (!ParseFieldNumber(before, ',')) QCOMPARE(fieldWhileOpen, QString("0"));
    QCOMPARE(edit("ComboEdit2")->text(), after);
  }

  void calculatorCancelLeavesTheField() {
    edit("ComboEdit3")->setText("7,5");
    WhenModal<CalculatorDialog>([](CalculatorDialog* calc) {
      calc->findChild<QPushButton*>("key_9")->click();
      calc->findChild<QPushButton*>("key_Abbruch")->click();
    });
    dialog_->findChild<QAction*>("ComboEditButton3")->trigger();
    QCOMPARE(edit("ComboEdit3")->text(), QString("7,5"));
  }

  void calculatorArithmetic() {
    CalculatorDialog calc(',');
    calc.setValue(3);
    for (const char* key : {"key_+", "key_4", "key_*", "key_2", "key_=", "key_/", "key_0", "key_,", "key_5"})
      calc.findChild<QPushButton*>(key)->click();
    calc.accept();
    QCOMPARE(calc.value(), 28.0);  // left to right: (3 + 4) * 2 / 0.5
  }

  void motorButtonsAskForTheSelectedRecord() {
    QSignalSpy spy(dialog_.get(), &TStufendaten::motorCurveRequested);
    choose(1, "C6 [Estes]", 1);
    dialog_->findChild<QToolButton*>("SpeedButton1")->click();
    dialog_->findChild<QToolButton*>("SpeedButton5")->click();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toInt(), 3);  // C6 is the fourth record of the file
    QCOMPARE(spy.at(1).at(0).toInt(), -1);
  }

  void listsFollowTheReloadedDatabase() {
    QVERIFY(doc_->LoadRocketFile(kSingleStage, prompts_, views_));
    GetNames(doc_->form(), "/kein/solcher/pfad.kdb", doc_->rocket());
    dialog_->UpdateMotorLists();
    QCOMPARE(combo(1)->count(), 0);
    doc_->ReloadMotorDatabase();
    dialog_->UpdateMotorLists();
    QCOMPARE(combo(1)->count(), 6);
    QCOMPARE(combo(1)->currentText(), QString("C6 [Estes]"));
    QCOMPARE(combo(2)->currentIndex(), -1);
  }

  void typingInAListFindsAsRocketeersType() {
    auto shown = [this](const QString& typed) {
      combo(1)->lineEdit()->setText(typed);
      emit combo(1)->lineEdit()->textEdited(typed);
      QStringList names;
      const QAbstractItemModel* m = combo(1)->completer()->completionModel();
      for (int r = 0; r < m->rowCount(); ++r) names << m->index(r, 0).data().toString();
      return names;
    };
    QCOMPARE(shown("C6-5"), QStringList({"C6 [Estes]", "C6 [Klima]"}));
    QCOMPARE(shown("Estes C6-5"), QStringList({"C6 [Estes]"}));
    QCOMPARE(shown("B6-0"), QStringList({"B6 [Estes]"}));  // the booster version
    QCOMPARE(shown("klima"), QStringList({"C6 [Klima]"}));
  }

 private:
  QLineEdit* edit(const char* name) { return dialog_->findChild<QLineEdit*>(name); }
  QWidget* banner() { return dialog_->findChild<QWidget*>("Banner"); }
  QComboBox* combo(int slot) {
    static const char* const names[] = {"Motore1", "Motore2", "motore3", "Motore4", "motore5",
                                        "motore6", "motore7", "motore8", "motore9"};
    return dialog_->findChild<QComboBox*>(names[slot - 1]);
  }
  QSpinBox* count(int slot) { return dialog_->findChild<QSpinBox*>(QString("anzmot%1").arg(slot)); }
  void choose(int slot, const QString& motor, int n) {
    combo(slot)->setCurrentIndex(combo(slot)->findText(motor));
    QVERIFY(combo(slot)->currentIndex() >= 0);
    count(slot)->setValue(n);
  }
  // Acts on the shown dialog, then closes it with the given button.
  void answer(const char* button, std::function<void()> inside) {
    WhenModal<TStufendaten>([this, button, inside = std::move(inside)](TStufendaten* d) {
      inside();
      d->findChild<QPushButton*>(button)->click();
    });
  }

  FixedConstants constants_;
  testing::ScriptedPrompts prompts_;
  testing::FakeViews views_;
  std::unique_ptr<Document> doc_;
  std::unique_ptr<TStufendaten> dialog_;
};

QTEST_MAIN(TStufendatenTest)
#include "t_stufendaten_test.moc"
