#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QPrinter;

namespace komet {

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

  // Called by "Übernehmen" with the applied text (Windows-1252, CR LF); the
  // main window stores it in the rocket (SetNotizen).
  std::function<void(const std::string&)> onApply;
};

}  // namespace komet
