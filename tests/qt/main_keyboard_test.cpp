// The main window from the keyboard, and what follows a run: shortcuts, the
// "Kurven" menu, F1, the read-out, unapplied notes and the save dialog's start.
#include <QAction>
#include <QCursor>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

#include "app/qt/help_window.h"
#include "app/qt/t_form6.h"
#include "app/qt/t_main.h"
#include "common/format.h"
#include "dialogs/qt/t_form5.h"
#include "dialogs/qt/t_stufendaten.h"
#include "model/rocket_file.h"
#include "plot/qt/plot_widget.h"
#include "print/qt/print_commands.h"
#include "qt/modal_helper.h"

using namespace komet;
using komet::testing::AcceptFileDialog;
using komet::testing::WhenModal;

namespace {

const QString kExamples = QStringLiteral(KOMET_SOURCE_DIR "/examples");

// The title of whatever modal window the next step opens; it is closed.
void RecordModal(QString* title) {
  WhenModal<QWidget>([title](QWidget* w) {
    *title = w->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(w)) return box->accept();
    if (auto* dialog = qobject_cast<QDialog*>(w)) dialog->reject();
  });
}

}  // namespace

class MainKeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QFile::copy(kExamples + "/rockets/einstufig_c6.kmw", path("einstufig.kmw"));
    settings_ =
        std::make_unique<Settings>(path("KOMET.OPT").toStdString(), dir_->path().toStdString(), store_, ',');
    main_ = std::make_unique<TMain>(
        *settings_, MainSetup{kExamples.toStdString() + "/../catalogue/motoren.kdb", {}, ','});
    main_->show();
    main_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main_.get()));
  }

  void cleanup() {
    main_.reset();
    settings_.reset();
  }

  void shortcutsReachTheirCommands_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("opens");
    QTest::newRow("Strg+N") << QKeySequence("Ctrl+N") << "Stufendaten";
    QTest::newRow("Strg+O") << QKeySequence("Ctrl+O") << "Rakete laden";
    QTest::newRow("Strg+S unnamed") << QKeySequence("Ctrl+S") << "Rakete sichern";
    QTest::newRow("Strg+Umschalt+S") << QKeySequence("Ctrl+Shift+S") << "Rakete sichern";
  }

  void shortcutsReachTheirCommands() {
    QFETCH(QKeySequence, keys);
    QFETCH(QString, opens);
    QString title;
    RecordModal(&title);
    QTest::keySequence(main_.get(), keys);
    QCOMPARE(title, opens);
  }

  // Printing has no dialog: without a printer the program says so.
  void ctrlPPrints() {
    if (PrinterAvailable()) QSKIP("a printer is installed: Strg+P would print on it");
    QString text;
    WhenModal<QMessageBox>([&text](QMessageBox* box) {
      text = box->text();
      box->accept();
    });
    QTest::keySequence(main_.get(), QKeySequence("Ctrl+P"));
    QCOMPARE(text, QString("Kein Drucker verfügbar"));
  }

  void curveMenuAndButtonsShowOneState() {
    const char* const switches[] = {"AnzS", "AnzF", "AnzA", "Anzv", "AnzH", "AnzBrenn"};
    for (int i = 0; i < 6; ++i) {
      QAction* item = main_->findChild<QAction*>(QString(switches[i]) + "1");
      QToolButton* button = main_->findChild<QToolButton*>(switches[i]);
      QVERIFY2(item && button, switches[i]);
      const PlotSwitch id = kSwitchButtons[static_cast<std::size_t>(i)].id;
      QCOMPARE(item->isChecked(), main_->switches().IsOn(id));
      const bool before = item->isChecked();
      QTest::keySequence(main_.get(), QKeySequence(QString("Ctrl+%1").arg(i + 1)));
      QCOMPARE(main_->switches().IsOn(id), !before);
      QCOMPARE(item->isChecked(), !before);
      QCOMPARE(button->text(), QString::fromUtf8(main_->switches().Caption(id).data()));
      button->click();
      QCOMPARE(item->isChecked(), before);
      item->trigger();
      QCOMPARE(main_->switches().IsOn(id), !before);
      QCOMPARE(item->isChecked(), !before);
    }
  }

  void f1ShowsHelpOnTheWindowInFront() {
    QTest::keyClick(main_.get(), Qt::Key_F1);
    auto* help = main_->findChild<HelpWindow*>();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->findChild<QTextBrowser*>("HelpBrowser")->source().fileName(), QString("diagramm.html"));

    // A modal dialog shuts the main window out; its help opens over it.
    QString page;
    WhenModal<TStufendaten>([&page](TStufendaten* d) {
      QTest::keyClick(d->findChild<QLineEdit*>("RakName"), Qt::Key_F1);
      if (auto* own = d->findChild<HelpWindow*>(); own && own->isVisible() && !own->isModal())
        page = own->findChild<QTextBrowser*>("HelpBrowser")->source().fileName();
      d->reject();
    });
    main_->AEndernClick();
    QCOMPARE(page, QString("stufendaten.html"));
  }

  // After a run the read-out shows the new flight under the pointer, or
  // nothing when the pointer is elsewhere.
  void readOutFollowsEveryRun() {
    QCursor::setPos(main_->plot()->mapToGlobal(QPoint(45 + 150, 80)));
    open("einstufig.kmw");
    const PlotState& st = main_->plot()->state();
    QTRY_VERIFY(st.scaleX > 0);
    const double t = 150 / st.scaleX;
    QTRY_COMPARE(panel(1), QString::fromStdString(Format(',', "%.1f", t)));
    const auto& sample =
        main_->document().simulation().samples()[static_cast<std::size_t>(std::nearbyint(t * 200))];
    QCOMPARE(panel(3), QString::fromStdString(Format(',', "%.1f", sample.height)));

    QCursor::setPos(main_->mapToGlobal(QPoint(-50, -50)));
    WhenModal<TStufendaten>([](TStufendaten* d) {
      d->findChild<QLineEdit*>("stmgr1")->setText("200");
      d->accept();
    });
    main_->AEndernClick();
    QTRY_COMPARE(panel(1), QString());
    for (int p : {3, 5, 7, 9}) QCOMPARE(panel(p), QString());
    QCOMPARE(panel(0), QString("t:"));
  }

  void typedNotesAreSavedWhenTheSaveQuestionSaysOk() {
    open("einstufig.kmw");
    main_->NotizenClick();
    auto* notes = main_->findChild<TForm5*>();
    notes->findChild<QPlainTextEdit*>("Notiz")->setPlainText("getippt");
    QVERIFY(!main_->document().changed());
    WhenModal<TForm6>([](TForm6* d) { d->findChild<QPushButton*>("BitBtn1")->click(); });
    QVERIFY(main_->close());
    const RocketRecord saved =
        ReadRocketFile(path("einstufig.kmw").toStdString(), main_->document().rocket()).record;
    QCOMPARE(NotesText(saved), std::string("getippt"));
  }

  void saveAsStartsBesideTheRocketWithItsName() {
    open("einstufig.kmw");
    QString folder, name;
    WhenModal<QFileDialog>([&](QFileDialog* d) {
      folder = d->directory().absolutePath();
      name = d->findChild<QLineEdit*>("fileNameEdit")->text();
      d->reject();
    });
    main_->SichernalsClick();
    QCOMPARE(folder, QDir(dir_->path()).absolutePath());
    QCOMPARE(name, QString("Einstufer C6.kmw"));
  }

 private:
  QString path(const QString& name) const { return dir_->filePath(name); }
  QString panel(int i) const {
    return main_->statusBar()->findChild<QLabel*>(QString("Panel%1").arg(i))->text();
  }
  void open(const QString& name) {
    const QString file = path(name);
    WhenModal<QFileDialog>([file](QFileDialog* d) { AcceptFileDialog(d, file); });
    main_->OffnenClick();
    QVERIFY(!main_->document().fileName().empty());
  }

  std::unique_ptr<QTemporaryDir> dir_;
  MemoryDbNameStore store_;
  std::unique_ptr<Settings> settings_;
  std::unique_ptr<TMain> main_;
};

QTEST_MAIN(MainKeyboardTest)
#include "main_keyboard_test.moc"
