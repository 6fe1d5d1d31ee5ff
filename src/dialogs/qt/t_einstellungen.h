#pragma once

#include <QDialog>

#include "dialogs/settings.h"

namespace komet {

// The settings dialog "Einstellungen": pages "Konstanten" and "Pfade" over
// the core Settings, whose handlers do the work.
class TEinstellungen : public QDialog {
  Q_OBJECT

 public:
  explicit TEinstellungen(Settings& settings, QWidget* parent = nullptr);

  // Shows the dialog modally; true when it was closed with OK (the caller
  // then runs the simulation again).
  bool Run();

 signals:
  // Another motor database was chosen: the stage dialog's lists are reread at once.
  void databaseChanged();

 private:
  Settings& settings_;
};

}  // namespace komet
