// Every window of the program on a 1024 x 768 screen with the fonts Debian
// ships: each opens wholly on the screen, no label or button text is wider
// than its widget, every button has an Alt key of its own, and Tab walks a
// window in reading order.
#include <QAbstractButton>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QToolButton>
#include <QtTest>

#include "app/qt/help_window.h"
#include "app/qt/t_about.h"
#include "app/qt/t_auswertung.h"
#include "app/qt/t_form6.h"
#include "app/qt/t_main.h"
#include "app/qt/t_motorberater.h"
#include "common/qt/accelerators.h"
#include "dialogs/qt/calculator_dialog.h"
#include "dialogs/qt/t_einstellungen.h"
#include "dialogs/qt/t_form5.h"
#include "dialogs/qt/t_motorwahl.h"
#include "dialogs/qt/t_stufendaten.h"
#include "motors/qt/t_form7.h"
#include "qt/modal_helper.h"

using namespace komet;
using komet::testing::AcceptFileDialog;
using komet::testing::WhenModal;

namespace {

const QString kExamples = QStringLiteral(KOMET_SOURCE_DIR "/examples");
const QRect kScreen(0, 0, 1024, 768);

// Windows another piece of work is still changing: their findings are
// reported, not failed.
bool Pending(const QString& window) {
  return window.startsWith("TAuswertung") || window.startsWith("TMotorberater");
}

// The accelerator letter of a text: the character after a single '&'.
QChar Accelerator(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i)
    if (text[i] == u'&') {
      if (text[i + 1] != u'&') return text[i + 1].toLower();
      ++i;
    }
  return {};
}

QString Plain(QString text) {
  return text.remove(QRegularExpression("&(?!&)"));
}

int TextWidth(const QFontMetrics& fm, const QString& text) {
  int widest = 0;
  for (const QString& line : text.split('\n')) widest = std::max(widest, fm.horizontalAdvance(line));
  return widest;
}

// The controls a user reaches by Tab, in the window's own chain.
QList<QWidget*> TabChain(QWidget* window) {
  QList<QWidget*> chain;
  QWidget* w = window->nextInFocusChain();
  for (int guard = 0; w != window && guard < 2000; ++guard, w = w->nextInFocusChain())
    if (w->window() == window && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
        !w->focusProxy())
      chain << w;
  return chain;
}

}  // namespace

class WindowFitTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(QGuiApplication::primaryScreen()->geometry(), kScreen);
    InstallAccelerators(qApp);
  }

  void everyWindowFits_data() {
    QTest::addColumn<int>("points");
    QTest::newRow("DejaVu Sans 9 pt") << 9;
    QTest::newRow("DejaVu Sans 10 pt") << 10;
  }

  void everyWindowFits() {
    QFETCH(int, points);
    QApplication::setFont(QFont("DejaVu Sans", points));
    problems_.clear();
    pending_.clear();
    seen_.clear();
    QTemporaryDir dir;
    QFile::copy(kExamples + "/rockets/zweistufig.kmw", dir.filePath("zweistufig.kmw"));
    MemoryDbNameStore store;
    Settings settings(dir.filePath("KOMET.OPT").toStdString(), dir.path().toStdString(), store, ',');
    TMain main(settings, MainSetup{kExamples.toStdString() + "/../catalogue/motoren.kdb", {}, ','});
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    WhenModal<QFileDialog>([&](QFileDialog* d) { AcceptFileDialog(d, dir.filePath("zweistufig.kmw")); });
    main.OffnenClick();
    inspect(&main, "TMain");

    atModal<TEinstellungen>("TEinstellungen", [] {});
    main.OptionsClick();
    atModal<TAbout>("TAbout", [] {});
    main.Info1Click();
    atModal<TStufendaten>("TStufendaten", [this](TStufendaten* d) {
      // The chooser and the calculator open over the dialog; the curve viewer beside it.
      atModal<TMotorwahl>("TMotorwahl", [] {});
      d->findChild<QToolButton*>("WahlButton1")->click();
      atModal<CalculatorDialog>("CalculatorDialog", [] {});
      d->findChild<QAction*>("ComboEditButton1")->trigger();
      d->findChild<QToolButton*>("SpeedButton1")->click();
      if (auto* viewer = d->findChild<TForm7*>(); viewer && QTest::qWaitForWindowExposed(viewer))
        inspect(viewer, "TForm7");
    });
    main.AEndernClick();

    main.NotizenClick();
    auto* notes = main.findChild<TForm5*>();
    QVERIFY(QTest::qWaitForWindowExposed(notes));
    inspect(notes, "TForm5");
    notes->findChild<QPlainTextEdit*>("Notiz")->setPlainText("getippt");
    atModal<QMessageBox>("Notizen übernehmen?", [](QMessageBox* box) {
      for (QAbstractButton* b : box->buttons())
        if (box->buttonRole(b) == QMessageBox::NoRole) b->click();
    });
    notes->close();

    main.Inhalt1Click();
    inspect(main.findChild<HelpWindow*>(), "HelpWindow");
    main.AuswertungClick();
    inspect(main.findChild<TAuswertung*>(), "TAuswertung");
    main.MotorberaterClick();
    if (auto* guide = main.findChild<TMotorberater*>(); guide && guide->isVisible()) {
      inspect(guide, "TMotorberater");
      guide->close();
    }

    main.document().markChanged();
    atModal<TForm6>("TForm6", [](TForm6* d) { d->findChild<QPushButton*>("BitBtn3")->click(); });
    QVERIFY(!main.close());

    for (const char* name :
         {"TMain", "TEinstellungen", "TAbout", "TStufendaten", "TMotorwahl", "CalculatorDialog", "TForm7",
          "TForm5", "Notizen übernehmen?", "HelpWindow", "TForm6"})
      QVERIFY2(seen_.contains(name), name);
    if (!pending_.isEmpty()) qWarning("%s", qPrintable("Noch offen:\n" + pending_.join('\n')));
    QVERIFY2(problems_.isEmpty(), qPrintable(problems_.join('\n')));
  }

 private:
  // Inspects the next modal window of type T, lets `inside` act on it, then
  // closes it (if `inside` has not).
  template <typename T>
  void atModal(const QString& name, std::function<void(T*)> inside) {
    WhenModal<T>([this, name, inside](T* w) {
      inspect(w, name);
      inside(w);
      if (w->isVisible()) w->reject();
    });
  }
  template <typename T>
  void atModal(const QString& name, std::function<void()> inside) {
    atModal<T>(name, std::function<void(T*)>([inside](T*) { inside(); }));
  }

  void inspect(QWidget* window, const QString& name) {
    if (!window) return report(name, "not opened");
    seen_ << name;
    QCoreApplication::processEvents();
    const QRect frame = window->frameGeometry();
    if (!kScreen.contains(frame))
      report(name, QString("opens at %1,%2 %3 x %4, not wholly on the screen")
                       .arg(frame.x())
                       .arg(frame.y())
                       .arg(frame.width())
                       .arg(frame.height()));
    // Every page of a notebook, as the user leafs through it.
    QList<QTabWidget*> tabs = window->findChildren<QTabWidget*>();
    tabs.removeIf([window](QTabWidget* t) { return t->window() != window; });
    for (QTabWidget* t : tabs)
      for (int i = 0; i < t->count(); ++i) {
        t->setCurrentIndex(i);
        QCoreApplication::processEvents();
        checkTexts(window, name);
      }
    if (tabs.isEmpty()) checkTexts(window, name);
    for (QTabWidget* t : tabs) t->setCurrentIndex(0);
    checkAccelerators(window, name);
    checkTabOrder(window, name);
  }

  void checkTexts(QWidget* window, const QString& name) {
    for (QLabel* l : window->findChildren<QLabel*>()) {
      if (l->window() != window || !l->isVisible() || l->wordWrap() || l->text().isEmpty() ||
          Qt::mightBeRichText(l->text()) || !l->pixmap().isNull())
        continue;
      const int room = l->contentsRect().width() - 2 * std::max(0, l->margin()) - std::max(0, l->indent());
      const int needed = TextWidth(l->fontMetrics(), Plain(l->text()));
      if (needed > room)
        report(name, QString("label \"%1\" needs %2 px, has %3").arg(l->text()).arg(needed).arg(room));
    }
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
      if (b->window() != window || !b->isVisible() || b->text().isEmpty()) continue;
      if (b->text().contains("Schliessen") && !(name == "TForm5" && b->objectName() == "BitBtn2"))
        report(name, QString("button \"%1\" spells it Schliessen").arg(b->text()));
      // A tool button's hint asks for padding its caption can do without.
      const int needed = qobject_cast<QToolButton*>(b) ? TextWidth(b->fontMetrics(), Plain(b->text())) + 4
                                                       : b->sizeHint().width();
      if (needed > b->width())
        report(name, QString("button \"%1\" needs %2 px, has %3").arg(b->text()).arg(needed).arg(b->width()));
    }
  }

  void checkAccelerators(QWidget* window, const QString& name) {
    QHash<QChar, QString> used;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
      if (b->window() != window || !b->isVisible() || b->text().isEmpty() || qobject_cast<QToolButton*>(b))
        continue;
      // A key of the calculator ("7", "+") is typed as itself.
      if (!b->text().contains(QRegularExpression("\\p{L}"))) continue;
      const QChar key = Accelerator(b->text());
      if (key.isNull())
        report(name, QString("button \"%1\" has no Alt key").arg(b->text()));
      else if (used.contains(key))
        report(name, QString("buttons \"%1\" and \"%2\" share Alt+%3").arg(used[key], b->text()).arg(key));
      else
        used.insert(key, b->text());
    }
  }

  // Reading order: a later control stands lower, or in the same row to the
  // right; or the chain moves on into a box or page that starts lower.
  void checkTabOrder(QWidget* window, const QString& name) {
    const QList<QWidget*> chain = TabChain(window);
    for (qsizetype i = 1; i < chain.size(); ++i) {
      const QRect a(chain[i - 1]->mapTo(window, QPoint()), chain[i - 1]->size());
      const QRect b(chain[i]->mapTo(window, QPoint()), chain[i]->size());
      const bool lower = b.top() >= a.top() - 2;
      const bool sameRowRight = b.left() >= a.right() - 2 && b.top() < a.bottom();
      if (!lower && !sameRowRight)
        report(name,
               QString("Tab goes from %1 up to %2").arg(chain[i - 1]->objectName(), chain[i]->objectName()));
    }
  }

  void report(const QString& window, const QString& problem) {
    QStringList& list = Pending(window) ? pending_ : problems_;
    if (!list.contains(window + ": " + problem)) list << window + ": " + problem;
  }

  QStringList problems_, pending_, seen_;
};

// The screen of a small notebook, whatever the session has.
int main(int argc, char** argv) {
  QTemporaryDir dir;
  const QString config = dir.filePath("screen.json");
  QFile file(config);
  if (!file.open(QIODevice::WriteOnly)) return 2;
  file.write(R"({"screens": [{"name": "klein", "x": 0, "y": 0, "width": 1024, "height": 768,
                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  file.close();
  qputenv("QT_QPA_PLATFORM", QFile::encodeName("offscreen:configfile=" + config));
  QApplication app(argc, argv);
  WindowFitTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "window_fit_test.moc"
