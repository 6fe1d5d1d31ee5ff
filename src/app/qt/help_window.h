#pragma once

#include <QWidget>

namespace komet {

// The bundled German help: contents, a keyword search and a page on using
// the help, in one window.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  void ShowContents();    // "Inhalt..."
  void ShowSearch();      // "Suchen..." with an empty keyword
  void ShowHelpOnHelp();  // "Hilfe benutzen..."
};

}  // namespace komet
