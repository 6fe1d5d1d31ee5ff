// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/help_window.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>

#include "app/help_figures.h"
#include "common/qt/qt_text.h"
#include "common/user_folders.h"
#include "qt/example_main.h"
#include "sim/flight_safety.h"

using namespace komet;

class HelpWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { window_ = std::make_unique<HelpWindow>(); }

  void contentsAndHelpOnHelpShowTheirPages() {
    window_->ShowContents();
    QVERIFY(window_->isVisible());
    QCOMPARE(browser()->source(), QUrl("qrc:/help/index.html"));
    QVERIFY(browser()->toPlainText().contains("Stufendaten"));
    window_->ShowHelpOnHelp();
    QCOMPARE(browser()->documentTitle(), QStringLiteral("Hilfe benutzen"));
  }

  void searchStartsEmptyAndListsEveryKeyword() {
    search()->setText("alt");
    window_->ShowSearch();
    QVERIFY(search()->text().isEmpty());
    QTRY_VERIFY(search()->hasFocus());
    const QString page = browser()->toPlainText();
    for (const char* keyword :
         {"Berechnungszeitraum", "KOMET.OPT", "import-eng", "Notizen", "empfohlene Verzögerung"})
      QVERIFY2(page.contains(QString::fromUtf8(keyword)), keyword);
  }

  void searchFindsKeywordsBeforeText() {
    search()->setText("brennschluss");
    const QString html = browser()->toHtml();
    QVERIFY(html.contains("qrc:/help/ergebnisse.html"));
    QVERIFY(browser()->toPlainText().contains("Im Text erwähnt"));
    QVERIFY(browser()->toPlainText().indexOf("Brennschluss") < browser()->toPlainText().indexOf("Im Text"));

    search()->setText("Xylophon");
    QVERIFY(browser()->toPlainText().contains("Nichts gefunden"));
  }

  // Every page is bundled, has a title and keywords, every link of it leads
  // to a bundled page (and to an anchor that page has), every picture is
  // bundled too.
  void everyLinkLeadsSomewhere() {
    int pages = 0;
    for (QDirIterator it(":/help", {"*.html"}, QDir::Files); it.hasNext();) {
      const QString path = it.next();
      QFile f(path);
      QVERIFY(f.open(QIODevice::ReadOnly));
      const QString html = QString::fromUtf8(f.readAll());
      QVERIFY2(html.contains("<title>") && html.contains("name=\"keywords\""), qPrintable(path));
      static const QRegularExpression href("href=\"([^\"#]*)(?:#([^\"]*))?\"");
      for (auto m = href.globalMatch(html); m.hasNext();) {
        const auto link = m.next();
        const QString target = link.captured(1).isEmpty() ? path : ":/help/" + link.captured(1);
        QVERIFY2(QFile::exists(target), qPrintable(path + " -> " + link.captured(0)));
        if (!link.captured(2).isEmpty()) {
          QFile t(target);
          QVERIFY(t.open(QIODevice::ReadOnly));
          QVERIFY2(t.readAll().contains(("name=\"" + link.captured(2) + "\"").toUtf8()),
                   qPrintable(path + " -> " + link.captured(0)));
        }
      }
      static const QRegularExpression img("<img src=\"([^\"]*)\"");
      for (auto m = img.globalMatch(html); m.hasNext();) {
        const QString picture = ":/help/" + m.next().captured(1);
        QVERIFY2(!QImage(picture).isNull(), qPrintable(path + " -> " + picture));
      }
      ++pages;
    }
    QVERIFY(pages >= 13);
  }

  // Figures and paths stand in the pages as {{name}} and are filled in from
  // the program; a page naming a path itself, a name the program does not
  // fill or a menu entry the main window lacks fails.
  void figuresPathsAndMenusComeFromTheProgram() {
    testing::ExampleMain example;
    QStringList entries;
    for (QMenu* menu : example.main().findChildren<QMenu*>())
      for (QAction* a : menu->actions())
        entries << a->text().remove('&').remove(QRegularExpression("\\.\\.\\.$"));
    static const QRegularExpression menuEntry("Menü \\w+\\s→\\s([^<,;:()]+?)\\s*(?:\\.\\.\\.)?[<,;:()]");
    static const QRegularExpression literalPath("~/\\.|\\$XDG_|/home/");
    for (QDirIterator it(":/help", {"*.html"}, QDir::Files); it.hasNext();) {
      const QString path = it.next();
      QFile f(path);
      QVERIFY(f.open(QIODevice::ReadOnly));
      const QString raw = QString::fromUtf8(f.readAll());
      QVERIFY2(!raw.contains(literalPath), qPrintable(path + ": a path not made by the program"));
      const QString filled = ToQ(FillHelpFigures(raw.toStdString()));
      QVERIFY2(!filled.contains("{{"), qPrintable(path + ": " + filled.mid(filled.indexOf("{{"), 30)));
      for (auto m = menuEntry.globalMatch(raw); m.hasNext();) {
        const QString entry = m.next().captured(1).simplified();
        QVERIFY2(entries.contains(entry), qPrintable(path + ": Menü … → " + entry));
      }
    }
    // The browser shows the filled page: the settings file the program opens.
    window_->ShowPage("dateien.html");
    QVERIFY(
        browser()->toPlainText().contains(ToQ(UserSettingsFile().string()).replace(QDir::homePath(), "~")));
    window_->ShowPage("motorberater.html");
    QVERIFY(browser()->toPlainText().contains(QString("unter %1 m/s").arg(kMinRailExitSpeed)));
  }

 private:
  QTextBrowser* browser() { return window_->findChild<QTextBrowser*>(); }
  QLineEdit* search() { return window_->findChild<QLineEdit*>("Suchbegriff"); }

  std::unique_ptr<HelpWindow> window_;
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
