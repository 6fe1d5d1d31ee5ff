// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/t_form6.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "qt/modal_helper.h"

using namespace komet;
using komet::testing::WhenModal;

namespace {

// Every word of a label lies inside it: a wrapped label is tall enough for
// its lines, an unwrapped one wide enough for its text.
bool ShowsWholeText(const QLabel* label) {
  const QRect r = label->contentsRect();
  if (label->wordWrap()) {
    for (const QString& word : label->text().split(' ', Qt::SkipEmptyParts))
      if (label->fontMetrics().horizontalAdvance(word) > r.width()) return false;
    return label->heightForWidth(r.width()) <= r.height();
  }
  return label->fontMetrics().horizontalAdvance(label->text()) <= r.width();
}

}  // namespace

class TForm6Test : public QObject {
  Q_OBJECT

 private slots:
  void everyQuestionShowsWhole_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("question");
    QTest::newRow("Neu und Öffnen") << QString() << "Raketendaten geändert, sichern?";
    QTest::newRow("Ende") << QString() << "Raketendaten geändert, vor dem Verlassen sichern?";
    QTest::newRow("Überschreiben")
        << "/home/raketenbauer/Projekte/Vereinsmeisterschaft 2024/Wettbewerb Höhe/Klasse C/"
           "Zweistufer mit Bündel Version 3.kmw"
        << "Datei  existiert bereits, überschreiben?";
  }

  void everyQuestionShowsWhole() {
    QFETCH(QString, path);
    QFETCH(QString, question);
    TForm6 form;
    form.SetLabel2(path);
    form.SetLabel1(question);
    // Measured while shown, checked after it is answered.
    QSize size;
    bool label1Whole = false, label2Whole = false, aboveButtons = false;
    QString shownPath, tip;
    WhenModal<TForm6>([&](TForm6* d) {
      auto* label1 = d->findChild<QLabel*>("Label1");
      auto* label2 = d->findChild<QLabel*>("Label2");
      size = d->size();
      label1Whole = ShowsWholeText(label1) && d->rect().contains(label1->geometry());
      label2Whole = ShowsWholeText(label2);
      aboveButtons = label1->geometry().bottom() < d->findChild<QPushButton*>("BitBtn1")->geometry().top();
      shownPath = label2->text();
      tip = label2->toolTip();
      d->findChild<QPushButton*>("BitBtn3")->click();
    });
    QCOMPARE(form.Ask(), SaveAnswer::Cancel);
    QCOMPARE(size.width(), 399);
    QVERIFY(size.height() >= 114);
    QVERIFY(label1Whole);
    QVERIFY(label2Whole);
    QVERIFY(aboveButtons);
    if (!path.isEmpty()) {
      QVERIFY2(shownPath.endsWith("Version 3.kmw"), qPrintable(shownPath));
      QVERIFY(shownPath.startsWith("/home/"));
      QCOMPARE(tip, path);
    }
  }

  void aQuestionThatFitsKeepsTheSize() {
    TForm6 form;
    form.SetLabel1("Raketendaten geändert, sichern?");
    QSize size;
    WhenModal<TForm6>([&](TForm6* d) {
      size = d->size();
      d->reject();
    });
    QCOMPARE(form.Ask(), SaveAnswer::Cancel);
    QCOMPARE(size, QSize(399, 114));
  }

  // The dialog serves every question: Return always means OK, even after
  // the last question was answered with another button.
  void returnAnswersOkEachTime() {
    TForm6 form;
    form.SetLabel1("Raketendaten geändert, sichern?");
    WhenModal<TForm6>([](TForm6* d) {
      auto* cancel = d->findChild<QPushButton*>("BitBtn3");
      cancel->setFocus();
      QTest::keyClick(cancel, Qt::Key_Space);
    });
    QCOMPARE(form.Ask(), SaveAnswer::Cancel);
    for (int i = 0; i < 2; ++i) {
      WhenModal<TForm6>(
          [](TForm6* d) { QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Return); });
      QCOMPARE(form.Ask(), SaveAnswer::Ok);
    }
  }
};

QTEST_MAIN(TForm6Test)
#include "t_form6_test.moc"
