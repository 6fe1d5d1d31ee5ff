// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/t_form5.h"

#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "common/file_io.h"
#include "dialogs/notes_text.h"
#include "print/qt/qprinter_device.h"
#include "qt/modal_helper.h"
#include "qt/pdf_reader.h"
#include "support/file_bytes.h"

using namespace komet;
using komet::testing::AcceptFileDialog;
using komet::testing::CloseNextMessageBox;
using komet::testing::PdfPages;
using komet::testing::PdfText;
using komet::testing::WhenModal;

namespace {

// Lines of 78 characters joined by breaks: 80 stored characters a line, less
// the missing break after the last.
QString FullLines(int lines) {
  QStringList l;
  for (int i = 0; i < lines; ++i) l << QString(78, QChar(u'a' + i % 26));
  return l.join('\n');
}

}  // namespace

class TForm5Test : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    printer_.reset();
    form_ = std::make_unique<TForm5>([this] { return printer_.get(); });
    applied_.clear();
    form_->onApply = [this](const std::string& notes) { applied_.push_back(notes); };
  }

  void looksAsTheRocketBuildersKnowIt() {
    QCOMPARE(form_->windowTitle(), QStringLiteral("Notizen zur Rakete"));
    QCOMPARE(form_->size(), QSize(358, 409));
    QCOMPARE(button("BitBtn1")->text(), QStringLiteral("Übernehmen"));
    QCOMPARE(button("BitBtn2")->text(), QStringLiteral("Schliessen"));
    QCOMPARE(button("BitBtn3")->text(), QStringLiteral("Drucken"));
    QCOMPARE(editor()->lineWrapMode(), QPlainTextEdit::NoWrap);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QCOMPARE(form_->size(), QSize(358, 409));  // the buttons fit the width
  }

  void applyHandsTheTextOnAsStored() {
    form_->SetNotes("alt");
    editor()->setPlainText(QStringLiteral("Höhe 300 m\nzweite Zeile"));
    QCOMPARE(form_->GetNotes(), std::string("alt"));  // typing alone changes nothing
    button("BitBtn1")->click();
    const std::string stored = "H\xF6he 300 m\r\nzweite Zeile";
    QCOMPARE(form_->GetNotes(), stored);
    QCOMPARE(applied_.size(), std::size_t(1));
    QCOMPARE(applied_[0], stored);

    editor()->clear();
    button("BitBtn1")->click();
    QCOMPARE(applied_.back(), std::string());
  }

  void typingSurvivesAWindowSwitchAndCloseOnlySetNotesRefills() {
    form_->SetNotes("gespeichert");
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    editor()->setFocus();
    editor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor(), " und neu");
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QCOMPARE(editor()->toPlainText(), QStringLiteral("gespeichert und neu"));

    // Escape is "Schliessen": typed text is not dropped without a question.
    answerQuestion("&Abbrechen");
    QTest::keyClick(form_.get(), Qt::Key_Escape);
    QVERIFY(form_->isVisible());
    QCOMPARE(editor()->toPlainText(), QStringLiteral("gespeichert und neu"));
    QCOMPARE(form_->GetNotes(), std::string("gespeichert"));

    form_->SetNotes("andere\r\nRakete");
    QCOMPARE(editor()->toPlainText(), QStringLiteral("andere\nRakete"));
  }

  // Closing asks only when there is typed text; the answer decides its fate.
  void closingAsksAboutTypedNotes_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer");  // the question's button
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("editorAfter");  // empty: the window stays open
    QTest::newRow("unchanged") << ""
                               << ""
                               << "button"
                               << "alt";
    QTest::newRow("Ja") << " neu"
                        << "&Ja"
                        << "Escape"
                        << "alt neu";
    QTest::newRow("Nein") << " neu"
                          << "&Nein"
                          << "frame"
                          << "alt";
    QTest::newRow("Abbrechen") << " neu"
                               << "&Abbrechen"
                               << "button"
                               << "";
  }

  void closingAsksAboutTypedNotes() {
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    QFETCH(QString, how);
    QFETCH(QString, editorAfter);
    form_->SetNotes("alt");
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    editor()->moveCursor(QTextCursor::End);
    editor()->insertPlainText(typed);
    QString asked;
    answerQuestion(answer, &asked);
    if (how == "button") button("BitBtn2")->click();
    if (how == "Escape") QTest::keyClick(form_.get(), Qt::Key_Escape);
    if (how == "frame") form_->close();
    QCOMPARE(asked, typed.isEmpty() ? QString() : QStringLiteral("Notizen übernehmen?"));
    QCOMPARE(form_->isVisible(), editorAfter.isEmpty());
    QCOMPARE(editor()->toPlainText(), editorAfter.isEmpty() ? "alt" + typed : editorAfter);
    QCOMPARE(applied_, answer == "&Ja" ? std::vector<std::string>{"alt neu"} : std::vector<std::string>{});
  }

  void aFullTextIsAppliedWhole() {
    const QString full = FullLines(99) + '\n' + QString(80, u'z');  // 99 × 80 + 80
    QCOMPARE(StoredNotesLength(full.toStdString()), kMaxNotesChars);
    editor()->setPlainText(full);
    QCOMPARE(editor()->toPlainText(), full);
    button("BitBtn1")->click();
    QCOMPARE(form_->GetNotes().size(), kMaxNotesChars);
    QCOMPARE(NotesToEditor(form_->GetNotes()), full.toStdString());
  }

  void theEditorRefusesMoreThanTheLimit() {
    const QString full = FullLines(100);  // 7998 stored: room for two characters
    editor()->setPlainText(full);
    editor()->setFocus();
    editor()->moveCursor(QTextCursor::End);
    QTest::keyClick(editor(), Qt::Key_Return);  // a break is two characters: fits
    QTest::keyClicks(editor(), "xyz");          // nothing more
    QCOMPARE(editor()->toPlainText(), full + '\n');
    editor()->moveCursor(QTextCursor::Start);
    QTest::keyClicks(editor(), "vorn");
    QCOMPARE(editor()->toPlainText(), full + '\n');

    // A paste is cut to what fits, from its end.
    editor()->clear();
    editor()->insertPlainText(QString(7995, u'x'));
    editor()->insertPlainText(QStringLiteral("0123456789"));
    QCOMPARE(editor()->toPlainText(), QString(7995, u'x') + "01234");
    QCOMPARE(StoredNotesLength(editor()->toPlainText().toStdString()), kMaxNotesChars);
  }

  void withoutAPrinterItSaysSo() {
    QString message;
    CloseNextMessageBox(&message);
    button("BitBtn3")->click();
    QCOMPARE(message, QStringLiteral("Kein Drucker verfügbar"));
  }

  // Without a printer the notes still reach paper: through a PDF file.
  void withoutAPrinterTheNotesGoIntoAPdf() {
    form_->SetNotes("Erstflug\r\nH\xF6he 148 m");
    editor()->appendPlainText(QStringLiteral("nicht übernommen"));  // printed as shown
    const QString pdf = dir_.filePath("notizen");
    QVERIFY(savePdf());
    WhenModal<QFileDialog>([pdf](QFileDialog* d) { AcceptFileDialog(d, pdf); });
    savePdf()->trigger();
    QCOMPARE(PdfPages(pdf + ".pdf"), 1);
    const QString text = PdfText(pdf + ".pdf", 1);
    for (const char* line : {"Erstflug", "Höhe 148 m", "nicht übernommen", "Komet V.: 1.09"})
      QVERIFY2(text.contains(QString::fromUtf8(line)), qPrintable(text));
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList({"notizen.pdf"}));  // no leftovers

    // A full disk keeps the older file and says why.
    const std::vector<std::uint8_t> before = testing::ReadBytes((pdf + ".pdf").toStdString());
    QString message;
    CloseNextMessageBox(&message);
    WhenModal<QFileDialog>([pdf](QFileDialog* d) {  // chosen, the overwrite question answered
      d->selectFile(pdf + ".pdf");
      static_cast<QDialog*>(d)->done(QDialog::Accepted);
    });
    SetWriteFault({1, 100, ENOSPC});
    savePdf()->trigger();
    SetWriteFault({});
    QVERIFY2(message.contains("notizen.pdf") && message.contains("kein Platz mehr"), qPrintable(message));
    QVERIFY(testing::ReadBytes((pdf + ".pdf").toStdString()) == before);
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList({"notizen.pdf"}));

    // A place that cannot be written is reported, and nothing is left there.
    CloseNextMessageBox(&message);
    WhenModal<QFileDialog>([pdf](QFileDialog* d) { AcceptFileDialog(d, pdf + ".pdf/unter.pdf"); });
    savePdf()->trigger();
    QVERIFY2(message.contains("unter.pdf"), qPrintable(message));
  }

  void anEmptyEditorPrintsOnePageWithTheFooter() {
    const QString pdf = pdfPrinter("leer.pdf");
    button("BitBtn3")->click();
    QCOMPARE(PdfPages(pdf), 1);
    const QString text = PdfText(pdf, 1);
    QVERIFY2(text.contains("Komet V.: 1.09"), qPrintable(text));
    QCOMPARE(text.trimmed().count('\n'), 0);  // the footer is the only line
  }

  void aLongTextPrintsOnSeveralPagesEachWithTheFooter() {
    QStringList lines;
    for (int i = 1; i <= 200; ++i) lines << QStringLiteral("Zeile %1\tFlug mit Höhe").arg(i);
    form_->SetNotes(EditorToNotes(lines.join('\n').toStdString()));
    const QString pdf = pdfPrinter("lang.pdf");
    button("BitBtn3")->click();
    const int pages = PdfPages(pdf);
    QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
    for (int p = 1; p <= pages; ++p) QVERIFY(PdfText(pdf, p).contains("Komet V.: 1.09"));
    QVERIFY(PdfText(pdf, 1).contains("Zeile 1"));
    QVERIFY(PdfText(pdf, pages).contains("Zeile 200"));
    QVERIFY(PdfText(pdf, 1).contains("Höhe"));
    QCOMPARE(form_->GetNotes(), EditorToNotes(lines.join('\n').toStdString()));  // printing changes nothing
  }

 private:
  QPlainTextEdit* editor() { return form_->findChild<QPlainTextEdit*>("Notiz"); }
  QPushButton* button(const char* name) { return form_->findChild<QPushButton*>(name); }
  // Answers the next "Notizen übernehmen?" with the button of that caption.
  void answerQuestion(const QString& caption, QString* question = nullptr) {
    if (caption.isEmpty()) return;
    WhenModal<QMessageBox>([caption, question](QMessageBox* box) {
      if (question) *question = box->text();
      for (QAbstractButton* b : box->buttons())
        if (b->text() == caption) b->click();
    });
  }
  QAction* savePdf() {
    const QList<QAction*> items = form_->findChild<QToolButton*>("BitBtn4")->menu()->actions();
    return items.size() == 1 && items[0]->text() == QStringLiteral("Als PDF speichern...") ? items[0]
                                                                                           : nullptr;
  }

  QString pdfPrinter(const QString& name) {
    const QString path = dir_.filePath(name);
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    SetUpPdfPrinter(*printer_, path);
    return path;
  }

  QTemporaryDir dir_;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<TForm5> form_;
  std::vector<std::string> applied_;
};

QTEST_MAIN(TForm5Test)
#include "t_form5_test.moc"
