// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPrinter;
class QHBoxLayout;
class QPushButton;
class QToolButton;

namespace komet {

class TLinePrinter;

// The notes window "Notizen zur Rakete": an editor beside the main window,
// applied to the rocket only with "Übernehmen".
class TForm5 : public QWidget {
  Q_OBJECT

 public:
  // `printer` gives the program's printer (kept from the printer set-up);
  // null when no printer is installed.
  explicit TForm5(std::function<QPrinter*()> printer, QWidget* parent = nullptr);

  // Gives the window a text (Windows-1252, CR LF) and refills the editor.
  void SetNotes(const std::string& notes);
  // The window's own copy, as last given or applied.
  std::string GetNotes() const;
  // Whether the editor holds text that was typed and not applied.
  bool hasUnappliedChanges() const;
  // Applies the editor's text, as "Übernehmen" does.
  void ApplyNotes() { BitBtn1Click(); }

  // Called by "Übernehmen" with the applied text (Windows-1252, CR LF); the
  // main window stores it in the rocket (SetNotizen).
  std::function<void(const std::string&)> onApply;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private slots:
  void BitBtn1Click();  // "Übernehmen"
  void BitBtn2Click();  // "Schliessen"
  void BitBtn3Click();  // "Drucken"
  void BitBtn4Click();  // "Als PDF speichern..."
  void NotizContentsChange(int position, int charsRemoved, int charsAdded);
  void NotizChange();

 private:
  void createEditor();
  void createPanel();
  void createPdfButton(QHBoxLayout* row);
  // Asks "Notizen übernehmen?" for typed text; false when the user cancels.
  bool mayHide();
  std::vector<std::string> editorLines() const;
  void printNotes(QPrinter& printer);
  void printLines(TLinePrinter& lp) const;

  std::function<QPrinter*()> printer_;
  std::string notesText;
  QPlainTextEdit* Notiz = nullptr;
  QWidget* Panel1 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
  QPushButton* BitBtn3 = nullptr;
  QToolButton* BitBtn4 = nullptr;  // its menu: "Als PDF speichern..."
  int changeEnd_ = -1;             // end of the last edit, for cutting what exceeds the limit
  bool limiting_ = false;          // the cut itself is an edit
  bool centred_ = false;           // placed in the middle of the screen at the first show
  QPrinter* oriented_ = nullptr;   // the printer the line printer last set to portrait
  QString pdfFolder_;              // where the last PDF went, with a trailing slash
};

}  // namespace komet
