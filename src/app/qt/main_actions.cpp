// The menu of the main window: every item built from one table.
#include <QMenu>
#include <QMenuBar>

#include "app/qt/t_main.h"

namespace komet {
namespace {

struct ActionSpec {
  QAction* TMain::*item;
  const char* name;
  const char* caption;
  void (TMain::*handler)();  // null: an item without action
};

}  // namespace

void TMain::createActions() {
  const ActionSpec specs[] = {
      {&TMain::NeueRakete1, "NeueRakete1", "Neue Rakete", &TMain::neuClick},
      {&TMain::Raketeladen1, "Raketeladen1", "Rakete &laden", &TMain::OffnenClick},
      {&TMain::Raketendern1, "Raketendern1", "Rakete ändern", &TMain::AEndernClick},
      {&TMain::Sichern1, "Sichern1", "Rakete &sichern", &TMain::SichernClick},
      {&TMain::Raketesichernals1, "Raketesichernals1", "Rakete sichern &als ...", &TMain::SichernalsClick},
      {&TMain::Notizenverwalten1, "Notizenverwalten1", "Notizen verwalten", &TMain::NotizenClick},
      {&TMain::Einstellungen1, "Einstellungen1", "Einstellungen", &TMain::OptionsClick},
      {&TMain::Motordatenbankneuladen1, "Motordatenbankneuladen1", "Motordatenbank neu laden",
       &TMain::Motordatenbankneuladen1Click},
      {&TMain::N1, "N1", "------------------------------", nullptr},
      {&TMain::Druckereinstellung1, "Druckereinstellung1", "Druckereinstellung...",
       &TMain::Druckereinstellung1Click},
      {&TMain::Drucken1, "Drucken1", "&Drucken", &TMain::Drucken1Click},
      {&TMain::BerichtPdf1, "BerichtPdf1", "Bericht als PDF speichern...", &TMain::BerichtPdfClick},
      {&TMain::Ende1, "Ende1", "&Ende", &TMain::EndeClick},
      {&TMain::Inhalt1, "Inhalt1", "Inhalt...", &TMain::Inhalt1Click},
      {&TMain::Suchen1, "Suchen1", "Suchen...", &TMain::Suchen1Click},
      {&TMain::Hilfebenutzen1, "Hilfebenutzen1", "Hilfe benutzen...", &TMain::Hilfebenutzen1Click},
      {&TMain::Info1, "Info1", "&Info", &TMain::Info1Click},
      {&TMain::Auswertunganzeigen1, "Auswertunganzeigen1", "Auswertung...", &TMain::AuswertungClick},
      {&TMain::Motorberater1, "Motorberater1", "Motorberater...", &TMain::MotorberaterClick},
      {&TMain::Flugdatenexportieren1, "Flugdatenexportieren1", "Flugdaten exportieren...",
       &TMain::FlugdatenexportierenClick},
      {&TMain::Diagrammspeichern1, "Diagrammspeichern1", "Diagramm speichern...",
       &TMain::DiagrammspeichernClick},
  };
  for (const ActionSpec& entry : specs) {
    QAction* action = new QAction(QString::fromUtf8(entry.caption), this);
    action->setObjectName(QString::fromLatin1(entry.name));
    if (entry.handler) connect(action, &QAction::triggered, this, entry.handler);
    this->*entry.item = action;
  }
}

void TMain::createMenus() {
  Datei1 = menuBar()->addMenu(QStringLiteral("&Datei"));
  Datei1->setObjectName(QStringLiteral("Datei1"));
  Datei1->addActions({NeueRakete1, Raketeladen1, Raketendern1, Sichern1, Raketesichernals1, Notizenverwalten1,
                      Einstellungen1, Motordatenbankneuladen1, N1, Druckereinstellung1, Drucken1, BerichtPdf1,
                      Ende1});
  Auswertung1 = menuBar()->addMenu(QStringLiteral("&Auswertung"));
  Auswertung1->setObjectName(QStringLiteral("Auswertung1"));
  Auswertung1->addActions({Auswertunganzeigen1, Motorberater1, Flugdatenexportieren1, Diagrammspeichern1});
  Hilfe1 = menuBar()->addMenu(QStringLiteral("&Hilfe"));
  Hilfe1->setObjectName(QStringLiteral("Hilfe1"));
  Hilfe1->addActions({Inhalt1, Suchen1, Hilfebenutzen1, Info1});
}

}  // namespace komet
