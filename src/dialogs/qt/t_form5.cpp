// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/t_form5.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPageLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/qt/system_locale.h"
#include "dialogs/notes_text.h"
#include "print/line_printer.h"
#include "print/notes_page.h"
#include "print/qt/print_commands.h"
#include "print/qt/qprinter_device.h"

namespace komet {
namespace {

constexpr int kWidth = 358;
constexpr int kHeight = 409;
constexpr int kPanelHeight = 41;

// What one editor character takes in the stored text: a line break is CR LF,
// the second half of a surrogate pair belongs to the first.
std::size_t StoredWidth(QChar c) {
  if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n') return 2;
  return c.isLowSurrogate() ? 0 : 1;
}

// The tool bar's printer picture when the program carries it.
QIcon PrinterIcon(const QStyle* style) {
  const QString own = QStringLiteral(":/komet/icons/druck.svg");
  if (QFile::exists(own)) return QIcon(own);
  return QIcon::fromTheme(QStringLiteral("document-print"), style->standardIcon(QStyle::SP_FileIcon));
}

}  // namespace

TForm5::TForm5(std::function<QPrinter*()> printer, QWidget* parent)
    : QWidget(parent, Qt::Window), printer_(std::move(printer)) {
  setWindowTitle(QStringLiteral("Notizen zur Rakete"));
  resize(kWidth, kHeight);
  createEditor();
  createPanel();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Notiz, 1);
  layout->addWidget(Panel1);
}

void TForm5::createEditor() {
  Notiz = new QPlainTextEdit(this);
  Notiz->setObjectName(QStringLiteral("Notiz"));
  Notiz->setLineWrapMode(QPlainTextEdit::NoWrap);
  Notiz->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Notiz->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Notiz->setTabChangesFocus(false);
  // Tab stops every 8 characters, as the printout has them.
  Notiz->setTabStopDistance(8 * Notiz->fontMetrics().averageCharWidth());
  connect(Notiz->document(), &QTextDocument::contentsChange, this, &TForm5::NotizContentsChange);
  connect(Notiz, &QPlainTextEdit::textChanged, this, &TForm5::NotizChange);
}

void TForm5::createPanel() {
  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedHeight(kPanelHeight);
  auto* row = new QHBoxLayout(Panel1);
  row->setContentsMargins(8, 0, 8, 0);
  auto make = [&](QPushButton*& button, const char* name, const QString& text, const QIcon& icon) {
    button = new QPushButton(icon, text, Panel1);
    button->setObjectName(QString::fromLatin1(name));
    row->addWidget(button);
  };
  make(BitBtn1, "BitBtn1", QStringLiteral("Übernehmen"), style()->standardIcon(QStyle::SP_DialogOkButton));
  make(BitBtn2, "BitBtn2", QStringLiteral("Schliessen"),
       style()->standardIcon(QStyle::SP_DialogCancelButton));
  row->addStretch(1);
  make(BitBtn3, "BitBtn3", QStringLiteral("Drucken"), PrinterIcon(style()));
  createPdfButton(row);
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &TForm5::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &TForm5::BitBtn2Click);
  connect(BitBtn3, &QPushButton::clicked, this, &TForm5::BitBtn3Click);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &TForm5::BitBtn2Click);
}

// Printing for a machine without a printer. A fourth captioned button would
// widen the window, so the PDF hangs from an arrow at the printer button,
// as a split button's menu.
void TForm5::createPdfButton(QHBoxLayout* row) {
  BitBtn4 = new QToolButton(Panel1);
  BitBtn4->setObjectName(QStringLiteral("BitBtn4"));
  BitBtn4->setArrowType(Qt::DownArrow);
  BitBtn4->setPopupMode(QToolButton::InstantPopup);
  BitBtn4->setToolTip(QStringLiteral("Als PDF speichern..."));
  auto* menu = new QMenu(BitBtn4);
  menu->addAction(QStringLiteral("Als PDF speichern..."), this, &TForm5::BitBtn4Click);
  BitBtn4->setMenu(menu);
  BitBtn4->setFixedHeight(BitBtn3->sizeHint().height());
  row->removeWidget(BitBtn3);
  auto* split = new QHBoxLayout;
  split->setSpacing(0);
  split->addWidget(BitBtn3);
  split->addWidget(BitBtn4);
  row->addLayout(split);
}

void TForm5::SetNotes(const std::string& notes) {
  notesText = notes;
  Notiz->setPlainText(QString::fromStdString(NotesToEditor(notes)));
}

std::string TForm5::GetNotes() const {
  return notesText;
}

// No refill on activation: what the user typed survives a look at the main window.
void TForm5::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (centred_) return;
  centred_ = true;
  if (const QScreen* screen = this->screen())
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

// The default button: Return outside the editor applies, on another button
// it presses that one.
void TForm5::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    (focused != nullptr ? focused : BitBtn1)->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TForm5::BitBtn1Click() {
  notesText = EditorToNotes(Notiz->toPlainText().toStdString());
  if (onApply) onApply(notesText);
}

void TForm5::BitBtn2Click() {
  if (mayHide()) hide();
}

void TForm5::closeEvent(QCloseEvent* event) {
  if (mayHide())
    event->accept();
  else
    event->ignore();
}

bool TForm5::hasUnappliedChanges() const {
  return NotesEdited(Notiz->toPlainText().toStdString(), notesText);
}

// Typing must not vanish without a question. "Nein" drops it, so that the
// main window's save question does not count it any more.
bool TForm5::mayHide() {
  if (!hasUnappliedChanges()) return true;
  QMessageBox box(QMessageBox::Question, windowTitle(), QStringLiteral("Notizen übernehmen?"),
                  QMessageBox::NoButton, this);
  box.setObjectName(QStringLiteral("NotizenFrage"));
  QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
  QPushButton* cancel = box.addButton(QStringLiteral("&Abbrechen"), QMessageBox::RejectRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == yes) {
    BitBtn1Click();
    return true;
  }
  if (box.clickedButton() != no) return false;
  Notiz->setPlainText(QString::fromStdString(NotesToEditor(notesText)));
  return true;
}

void TForm5::BitBtn3Click() {
  QPrinter* printer = printer_ ? printer_() : nullptr;
  if (printer == nullptr) {
    QMessageBox::warning(this, windowTitle(), QStringLiteral("Kein Drucker verfügbar"));
    return;
  }
  try {
    printNotes(*printer);
  } catch (const KometError& e) {
    QMessageBox::warning(this, windowTitle(), QString::fromUtf8(e.what()));
  }
}

void TForm5::BitBtn4Click() {
  QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Notizen als PDF speichern"),
                                              pdfFolder_ + QStringLiteral("Notizen.pdf"),
                                              QStringLiteral("PDF-Dateien (*.pdf)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
  pdfFolder_ = QFileInfo(path).absolutePath() + QLatin1Char('/');
  try {
    SavePdf(path.toStdString(), [this](PrinterDevice& device) {
      TLinePrinter lp(device);
      printLines(lp);
      return true;
    });
  } catch (const KometError& e) {
    QMessageBox::warning(this, windowTitle(), QString::fromUtf8(e.what()));
  }
}

void TForm5::NotizContentsChange(int position, int, int charsAdded) {
  if (!limiting_ && charsAdded > 0) changeEnd_ = position + charsAdded;
}

// The editor refuses input beyond the stored limit: what an edit added past
// it is cut from the end of that edit, in the same undo step.
void TForm5::NotizChange() {
  if (limiting_ || changeEnd_ < 0) return;
  const int end = std::min(changeEnd_, Notiz->document()->characterCount() - 1);
  changeEnd_ = -1;
  const std::size_t stored = StoredNotesLength(Notiz->toPlainText().toStdString());
  if (stored <= kMaxNotesChars) return;
  std::size_t excess = stored - kMaxNotesChars;
  int cut = end;
  while (cut > 0 && excess > 0) {
    excess -= std::min(excess, StoredWidth(Notiz->document()->characterAt(--cut)));
  }
  limiting_ = true;
  QTextCursor cursor(Notiz->document());
  cursor.joinPreviousEditBlock();
  cursor.setPosition(cut);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  cursor.endEditBlock();
  limiting_ = false;
}

std::vector<std::string> TForm5::editorLines() const {
  std::vector<std::string> lines;
  for (QTextBlock b = Notiz->document()->firstBlock(); b.isValid(); b = b.next())
    lines.push_back(b.text().toStdString());
  // An empty editor has no lines, not one empty line.
  if (lines.size() == 1 && lines.front().empty()) lines.clear();
  return lines;
}

void TForm5::printNotes(QPrinter& printer) {
  QPrinterDevice device(printer);
  TLinePrinter lp(device);
  // Creating the line printer turns the page to portrait; a later printer
  // set-up choice is kept.
  if (oriented_ != &printer) {
    printer.setPageOrientation(lp.orientation() == PrinterOrientation::Landscape ? QPageLayout::Landscape
                                                                                 : QPageLayout::Portrait);
    oriented_ = &printer;
  }
  printLines(lp);
}

void TForm5::printLines(TLinePrinter& lp) const {
  lp.SetLines(editorLines());
  SetUpNotesPage(lp);
  lp.DateText = [] { return PrintDateText().toStdString(); };
  lp.TimeText = [] { return PrintTimeText().toStdString(); };
  lp.BeginDoc();
  lp.PrintLines(true);
  lp.EndDoc();
}

}  // namespace komet
