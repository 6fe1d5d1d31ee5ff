// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/document.h"
#include "app/qt/error_report.h"
#include "dialogs/settings.h"
#include "flightlog/flight_log.h"
#include "plot/plot_switches.h"
#include "plot/read_out.h"
#include "sim/flight_safety.h"

class QAction;
class QLabel;
class QPrinter;
class QToolButton;

namespace komet {

class HelpWindow;
class PlotWidget;
class QtPrompts;
class TAbout;
class TAuswertung;
class TEinstellungen;
class TForm5;
class TForm6;
class TForm7;
class TMotorberater;
class TStufendaten;

// What the program hands its main window at start.
struct MainSetup {
  std::filesystem::path bundledDatabase;  // used while no database is configured
  std::vector<std::string> arguments;     // command-line parameters: one rocket file
  char decimalSeparator = '.';
};

// The main window: the rocket document with its commands in a menu and a
// tool bar, the flight plot, the summary panel and the read-out status bar.
// It creates and owns the program's other windows.
class TMain : public QMainWindow, private DocumentViews {
  Q_OBJECT

 public:
  // `settings` outlives the window; the options are loaded while it is built.
  TMain(Settings& settings, MainSetup setup, QWidget* parent = nullptr);
  ~TMain() override;

  // The rocket document the commands work on.
  Document& document() { return document_; }
  // The curve switches the plot and the report honour.
  const PlotSwitches& switches() const { return switches_; }
  // The plot surface PaintBox1.
  PlotWidget* plot() const { return PaintBox1; }
  // The motor database the document reads: the configured one, else the
  // bundled example.
  std::filesystem::path databasePath() const;

 public slots:
  // The commands: one handler per menu item or tool-bar button, each asking
  // the document, a dialog or the printing to do the work and reporting
  // what fails.
  void neuClick();
  void OffnenClick();
  void AEndernClick();
  // "Bergung...": the recovery dialog, over the stage dialog when it is open.
  void BergungClick();
  void FormClick();
  void SichernClick();
  void SichernalsClick();
  void NotizenClick();
  void OptionsClick();
  void Motordatenbankneuladen1Click();
  void Druckereinstellung1Click();
  void Drucken1Click();
  void SpeedItem1Click0();
  void BerichtPdfClick();
  void EndeClick();
  void Inhalt1Click();
  void Suchen1Click();
  void Hilfebenutzen1Click();
  void Info1Click();
  void AuswertungClick();
  void MotorberaterClick();
  void FlugdatenexportierenClick();
  void DiagrammspeichernClick();
  // A measured flight over the plot and the cw it implies.
  void MessflugLadenClick();
  void MessflugEntfernenClick();
  void CwAnpassenClick();
  void Panel1Click();  // plot double-click and the strip: change with reload
  // A curve switch: its Tag and caption flip, the plot is redrawn.
  void SwitchClick(PlotSwitch which);
  // The read-out of the status bar for the pointer at plot x.
  void PaintBox1MouseMove(int x);
  // F1: the help page of `window` (one of the program's windows).
  void HelpOnWindow(QWidget* window);

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;  // FormClose

 private:
  bool ShowStageDialog() override;
  void SetNotes(const std::string& notes) override;
  void RocketReset() override;
  bool NotesPending() const override;
  void ApplyPendingNotes() override;

  void createMenus();
  void createCurveMenu();
  void createShortcuts();
  void createToolBar();
  void createPlotArea();
  void createStatusBar();
  void createDialogs();
  void connectDialogs();
  void FormActivate();
  void refreshViews();
  void showReadOut(const ReadOutTexts& texts);
  // After a run: the read-out for where the pointer is, or empty panels.
  void followFlight();
  void tellNoPrinter();
  // The rules' settings with the rocket's shape, for every judgement of the flight.
  SafetyInputs safety() const;
  QPrinter& printer();
  // A file name beside the rocket file, after the rocket's name.
  QString suggestedPath(const char* suffix) const;
  HelpWindow& help();

  // Runs a command: an error that escapes it is reported, then the captions
  // and the plot show the document as the command left it.
  template <typename Command>
  void run(Command&& command) {
    ReportErrors(this, command);
    readOutStale_ = true;
    refreshViews();
  }

  Settings& settings_;
  MainSetup setup_;
  Document document_;
  PlotSwitches switches_;
  bool activated_ = false;
  bool centred_ = false;
  std::unique_ptr<QtPrompts> prompts_;
  std::unique_ptr<QPrinter> printer_;  // made at the first printer command

  // Tool bar.
  QWidget* SpeedBar1 = nullptr;
  QToolButton* Notizen = nullptr;  // its caption tells whether there are notes
  std::array<QToolButton*, kPlotSwitchCount> switchButtons_{};
  std::array<QAction*, kPlotSwitchCount> switchActions_{};  // the "Kurven" menu
  bool readOutStale_ = false;                               // a run has not yet reached the read-out

  // Plot, summary and status bar.
  QWidget* Panel1 = nullptr;
  PlotWidget* PaintBox1 = nullptr;
  QLabel* Panel2 = nullptr;
  std::array<QLabel*, kStatusPanels.size()> statusPanels_{};

  // The other windows, created in this order.
  TEinstellungen* Einstellungen = nullptr;
  TStufendaten* Stufendaten = nullptr;
  TForm5* Form5 = nullptr;
  TAbout* About = nullptr;
  TForm6* Form6 = nullptr;
  TForm7* Form7 = nullptr;
  TAuswertung* Auswertung = nullptr;
  TMotorberater* Motorberater = nullptr;
  HelpWindow* help_ = nullptr;           // made at the first help command
  std::unique_ptr<FlightLog> measured_;  // the recording shown over the plot
};

// The help page F1 opens for one of the program's windows.
QString HelpPageFor(const QWidget* window);

}  // namespace komet
