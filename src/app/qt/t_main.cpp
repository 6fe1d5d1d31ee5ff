// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/t_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include "app/qt/help_window.h"
#include "app/qt/qt_prompts.h"
#include "app/qt/site_settings.h"
#include "app/qt/t_about.h"
#include "app/qt/t_auswertung.h"
#include "app/qt/t_form6.h"
#include "app/qt/t_motorberater.h"
#include "dialogs/qt/t_einstellungen.h"
#include "dialogs/qt/t_form5.h"
#include "dialogs/qt/t_stufendaten.h"
#include "motors/qt/t_form7.h"
#include "plot/qt/plot_widget.h"
#include "print/qt/print_commands.h"

namespace komet {
namespace {

// The client area under the menu bar: 437 pixels high, so the plot is 351
// pixels below a 48-pixel tool bar and above the 19-pixel summary and status
// bar; wide enough for the tool bar's last button, the evaluation window.
constexpr int kClientWidth = 682;
constexpr int kClientHeight = 437;

}  // namespace

TMain::TMain(Settings& settings, MainSetup setup, QWidget* parent)
    : QMainWindow(parent),
      settings_(settings),
      setup_(std::move(setup)),
      document_(
          settings_, [this] { return databasePath(); }, setup_.decimalSeparator) {
  setObjectName(QStringLiteral("Main"));
  setWindowTitle(QString::fromStdString(document_.caption()));
  createMenus();
  createCurveMenu();
  createShortcuts();
  createToolBar();
  createPlotArea();
  createStatusBar();
  createDialogs();
  connectDialogs();
  resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

TMain::~TMain() = default;

std::filesystem::path TMain::databasePath() const {
  const std::filesystem::path configured = settings_.GetDBName();
  return configured.empty() ? setup_.bundledDatabase : configured;
}

// The stage dialog reads the motor database through the settings, and the
// curve viewer opens over the stage dialog, so the order is fixed.
void TMain::createDialogs() {
  Einstellungen = new TEinstellungen(settings_, this);
  Einstellungen->SetBundledDatabase(QString::fromStdString(setup_.bundledDatabase.string()));
  Einstellungen->loadSite = LoadLaunchSite;
  Einstellungen->saveSite = SaveLaunchSite;
  Einstellungen->loadField = LoadLaunchField;
  Einstellungen->saveField = SaveLaunchField;
  Stufendaten =
      new TStufendaten(document_.form(), setup_.decimalSeparator, this, [this] { return databasePath(); });
  Stufendaten->setRocket(&document_.rocket());
  Stufendaten->setShape(&document_.shape());
  document_.ReloadMotorDatabase();
  Stufendaten->UpdateMotorLists();
  Form5 = new TForm5([this]() -> QPrinter* { return PrinterAvailable() ? &printer() : nullptr; }, this);
  About = new TAbout(this);
  Form6 = new TForm6(this);
  Form7 = new TForm7([this] { return databasePath(); }, setup_.decimalSeparator, Stufendaten);
  Auswertung = new TAuswertung(this);
  Motorberater = new TMotorberater(setup_.decimalSeparator, this);
  prompts_ = std::make_unique<QtPrompts>(*this, *Form6);
}

void TMain::connectDialogs() {
  connect(Einstellungen, &TEinstellungen::databaseChanged, this, &TMain::Motordatenbankneuladen1Click);
  connect(Stufendaten, &TStufendaten::motorCurveRequested, this,
          [this](int recordNo) { ReportErrors(Stufendaten, [&] { Form7->ShowMotor(recordNo); }); });
  connect(Stufendaten, &TStufendaten::curveViewerCloseRequested, Form7, &QWidget::close);
  connect(Stufendaten, &TStufendaten::recoveryRequested, this, &TMain::BergungClick);
  connect(Stufendaten, &TStufendaten::shapeRequested, this, &TMain::FormClick);
  connect(Motorberater, &TMotorberater::takeMotor, this, [this](int recordNo) {
    PaintBox1->setComparison(nullptr, QString());
    run([&] { document_.TakeMainMotor(recordNo, *prompts_); });
  });
  connect(Motorberater, &TMotorberater::compare, this,
          [this](Simulation* flight, const QString& label) { PaintBox1->setComparison(flight, label); });
  const auto showHelp = [this](const QString& page) { help().ShowPage(page); };
  connect(Motorberater, &TMotorberater::helpRequested, this, showHelp);
  connect(Auswertung, &TAuswertung::helpRequested, this, showHelp);
  Form5->onApply = [this](const std::string& notes) {
    document_.SetNotizen(notes);
    refreshViews();
  };
}

bool TMain::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && !activated_)
    QMetaObject::invokeMethod(this, &TMain::FormActivate, Qt::QueuedConnection);
  return QMainWindow::event(event);
}

// A window system without a window manager may never activate the window;
// the command line is loaded once the window is up either way.
void TMain::showEvent(QShowEvent* event) {
  if (!centred_ && screen()) {
    const QSize frame = frameGeometry().size();
    move(screen()->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
  }
  centred_ = true;
  if (!activated_) QMetaObject::invokeMethod(this, &TMain::FormActivate, Qt::QueuedConnection);
  QMainWindow::showEvent(event);
}

// Set first: a message of the load would otherwise bring a second load when
// the window is activated again.
void TMain::FormActivate() {
  if (activated_) return;
  activated_ = true;
  run([&] { document_.LoadFromCommandLine(setup_.arguments, *prompts_, *this); });
}

void TMain::closeEvent(QCloseEvent* event) {
  bool mayClose = true;
  run([&] { mayClose = document_.MayClose(*prompts_, this); });
  if (mayClose)
    event->accept();
  else
    event->ignore();
}

void TMain::refreshViews() {
  setWindowTitle(QString::fromStdString(document_.caption()));
  Notizen->setText(QString::fromStdString(document_.notesCaption()));
  PaintBox1->update();
  if (auto* ascent = findChild<QAction*>(QStringLiteral("Aufstieg1"))) {
    const QSignalBlocker quiet(ascent);
    ascent->setChecked(PaintBox1->showsAscent());
  }
  // No flight, no paint that would bring the read-out up to date.
  if (readOutStale_ && !document_.simulation().results().resultsValid) followFlight();
  if (Auswertung && Auswertung->isVisible())
    Auswertung->Refresh(document_.simulation(), document_.freeAscent(), setup_.decimalSeparator, safety());
}

bool TMain::ShowStageDialog() {
  return Stufendaten->Run();
}

void TMain::SetNotes(const std::string& notes) {
  Form5->SetNotes(notes);
}

bool TMain::NotesPending() const {
  return Form5->hasUnappliedChanges();
}

void TMain::ApplyPendingNotes() {
  Form5->ApplyNotes();
}

QPrinter& TMain::printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

HelpWindow& TMain::help() {
  if (!help_) help_ = new HelpWindow(this);
  return *help_;
}

}  // namespace komet
