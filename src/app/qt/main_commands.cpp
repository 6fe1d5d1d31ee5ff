// SPDX-License-Identifier: GPL-3.0-or-later
// The handlers of the main window's commands: each asks the document, the
// dialogs or the printing to do the work.
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include "app/qt/help_window.h"
#include "app/qt/qt_prompts.h"
#include "app/qt/t_about.h"
#include "app/qt/t_auswertung.h"
#include "app/qt/t_main.h"
#include "common/format.h"
#include "dialogs/qt/t_bergung.h"
#include "dialogs/qt/t_einstellungen.h"
#include "dialogs/qt/t_form5.h"
#include "dialogs/qt/t_raketenform.h"
#include "dialogs/qt/t_stufendaten.h"
#include "dialogs/shape_form.h"
#include "plot/qt/plot_widget.h"
#include "print/qt/print_commands.h"

namespace komet {

void TMain::neuClick() {
  run([&] { document_.New(*prompts_, *this); });
}

void TMain::OffnenClick() {
  run([&] { document_.Open(*prompts_, *this); });
}

void TMain::AEndernClick() {
  run([&] { document_.Change(*prompts_, *this); });
}

void TMain::BergungClick() {
  QWidget* over = Stufendaten->isVisible() ? static_cast<QWidget*>(Stufendaten) : this;
  const RocketRecord& rocket = document_.rocket();
  TBergung dialog(ReadRecovery(rocket),
                  MakeRecoveryContext(rocket, document_.simulation(), settings_, &document_.freeAscent()),
                  setup_.decimalSeparator, over);
  if (!dialog.Run()) return;
  run([&] { document_.SetRecovery(dialog.recovery()); });
}

void TMain::FormClick() {
  QWidget* over = Stufendaten->isVisible() ? static_cast<QWidget*>(Stufendaten) : this;
  const RocketRecord& rocket = document_.rocket();
  const FlightResults& r = document_.simulation().results();
  TRaketenform dialog(ShowShape(document_.shape(), rocket, setup_.decimalSeparator),
                      MakeShapeContext(rocket, r.resultsValid ? r.maxHeight : 0.0, r.maxHeightTime),
                      setup_.decimalSeparator, over);
  if (!dialog.Run()) return;
  run([&] {
    document_.SetShape(dialog.shape());
    if (Stufendaten->isVisible()) Stufendaten->showStability();
    if (!dialog.takenCw()) return;
    // Inside the stage dialog the cw waits in its field for the dialog's OK.
    if (Stufendaten->isVisible())
      Stufendaten->SetCwText(
          QString::fromStdString(Format(setup_.decimalSeparator, "%.2f", *dialog.takenCw())));
    else
      document_.TakeCw(*dialog.takenCw(), *prompts_);
  });
  if (Auswertung->isVisible())
    Auswertung->Refresh(document_.simulation(), document_.freeAscent(), setup_.decimalSeparator, safety());
}

SafetyInputs TMain::safety() const {
  SafetyInputs in = FieldInputs(settings_.field);
  in.shape = document_.shape() ? &*document_.shape() : nullptr;
  return in;
}

void TMain::Panel1Click() {
  run([&] { document_.ChangeWithReload(*prompts_, *this); });
}

void TMain::SichernClick() {
  run([&] { document_.Save(*prompts_); });
}

void TMain::SichernalsClick() {
  run([&] { document_.SaveAs(*prompts_); });
}

void TMain::EndeClick() {
  close();
}

void TMain::NotizenClick() {
  Form5->SetNotes(NotesText(document_.rocket()));
  Form5->show();
  Form5->raise();
  Form5->activateWindow();
}

void TMain::OptionsClick() {
  run([&] {
    if (Einstellungen->Run()) document_.RunSimulation();
  });
}

void TMain::Motordatenbankneuladen1Click() {
  run([&] {
    document_.ReloadMotorDatabase();
    Stufendaten->UpdateMotorLists();
  });
}

void TMain::tellNoPrinter() {
  QMessageBox::information(this, QStringLiteral("Komet"), QStringLiteral("Kein Drucker verfügbar"));
}

void TMain::Druckereinstellung1Click() {
  if (!PrinterAvailable()) return tellNoPrinter();
  QPrintDialog dialog(&printer(), this);
  dialog.setWindowTitle(QStringLiteral("Druckereinstellung"));
  dialog.exec();
}

void TMain::Drucken1Click() {
  if (!PrinterAvailable()) return tellNoPrinter();
  run([&] {
    PrintFlightReport(printer(), document_.simulation(), document_.rocket(), switches_, safety(),
                      &document_.freeAscent());
  });
}

void TMain::SpeedItem1Click0() {
  Drucken1Click();
}

void TMain::BerichtPdfClick() {
  if (!document_.simulation().results().resultsValid) {
    QMessageBox::information(this, QStringLiteral("Komet"),
                             QStringLiteral("Es ist noch kein Flug berechnet."));
    return;
  }
  QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Bericht als PDF speichern"),
                                              suggestedPath(".pdf"), QStringLiteral("PDF-Dateien (*.pdf)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
  run([&] {
    SaveReportPdf(path.toStdString(), document_.simulation(), document_.rocket(), switches_, safety(),
                  &document_.freeAscent());
  });
}

void TMain::Inhalt1Click() {
  help().ShowContents();
}

void TMain::Suchen1Click() {
  help().ShowSearch();
}

void TMain::Hilfebenutzen1Click() {
  help().ShowHelpOnHelp();
}

void TMain::Info1Click() {
  About->exec();
}

}  // namespace komet
