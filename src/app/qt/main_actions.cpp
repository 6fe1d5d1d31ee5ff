// SPDX-License-Identifier: GPL-3.0-or-later
// The menus of the main window, built from one table per menu.
#include <QMenu>
#include <QMenuBar>
#include <span>

#include "app/qt/t_main.h"

namespace komet {
namespace {

struct MenuItemRow {
  const char* name;
  const char* caption;
  void (TMain::*handler)();  // null: an item without action
};

constexpr MenuItemRow kDateiItems[] = {
    {"NeueRakete1", "&Neue Rakete", &TMain::neuClick},
    {"Raketeladen1", "Rakete &laden", &TMain::OffnenClick},
    {"Raketendern1", "Rakete &ändern", &TMain::AEndernClick},
    {"Bergung1", "&Bergung...", &TMain::BergungClick},
    {"Form1", "&Form...", &TMain::FormClick},
    {"Sichern1", "Rakete &sichern", &TMain::SichernClick},
    {"Raketesichernals1", "Rakete sichern &als ...", &TMain::SichernalsClick},
    {"Notizenverwalten1", "N&otizen verwalten", &TMain::NotizenClick},
    {"Einstellungen1", "Einstellun&gen", &TMain::OptionsClick},
    {"Motordatenbankneuladen1", "&Motordatenbank neu laden", &TMain::Motordatenbankneuladen1Click},
    {"N1", "------------------------------", nullptr},
    {"Druckereinstellung1", "D&ruckereinstellung...", &TMain::Druckereinstellung1Click},
    {"Drucken1", "&Drucken", &TMain::Drucken1Click},
    {"BerichtPdf1", "Bericht als &PDF speichern...", &TMain::BerichtPdfClick},
    {"Ende1", "&Ende", &TMain::EndeClick},
};

constexpr MenuItemRow kAuswertungItems[] = {
    {"Auswertunganzeigen1", "&Auswertung...", &TMain::AuswertungClick},
    {"Motorberater1", "&Motorberater...", &TMain::MotorberaterClick},
    {"Flugdatenexportieren1", "&Flugdaten exportieren...", &TMain::FlugdatenexportierenClick},
    {"Diagrammspeichern1", "&Diagramm speichern...", &TMain::DiagrammspeichernClick},
    {"Messflugladen1", "Messflug &laden...", &TMain::MessflugLadenClick},
    {"Messflugentfernen1", "Messflug &entfernen", &TMain::MessflugEntfernenClick},
    {"cwanpassen1", "&cw anpassen...", &TMain::CwAnpassenClick},
};

constexpr MenuItemRow kHilfeItems[] = {
    {"Inhalt1", "I&nhalt...", &TMain::Inhalt1Click},
    {"Suchen1", "&Suchen...", &TMain::Suchen1Click},
    {"Hilfebenutzen1", "&Hilfe benutzen...", &TMain::Hilfebenutzen1Click},
    {"Info1", "&Info", &TMain::Info1Click},
};

struct MenuRow {
  const char* name;
  const char* caption;
  std::span<const MenuItemRow> items;
};

constexpr MenuRow kMenus[] = {
    {"Datei1", "&Datei", kDateiItems},
    {"Auswertung1", "&Auswertung", kAuswertungItems},
    {"Hilfe1", "&Hilfe", kHilfeItems},
};

}  // namespace

void TMain::createMenus() {
  for (const MenuRow& row : kMenus) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(row.caption));
    menu->setObjectName(QString::fromLatin1(row.name));
    for (const MenuItemRow& item : row.items) {
      auto* action = new QAction(QString::fromUtf8(item.caption), this);
      action->setObjectName(QString::fromLatin1(item.name));
      if (item.handler) connect(action, &QAction::triggered, this, item.handler);
      menu->addAction(action);
    }
  }
}

}  // namespace komet
