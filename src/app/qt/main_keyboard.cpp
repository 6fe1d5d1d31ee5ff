// SPDX-License-Identifier: GPL-3.0-or-later
// The main window from the keyboard: the usual shortcuts, the "Kurven" menu
// for the curve switches, and F1 for help on the window in front.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include "app/qt/help_window.h"
#include "app/qt/t_main.h"
#include "plot/qt/plot_widget.h"

namespace komet {
namespace {

struct ShortcutRow {
  const char* action;  // a menu item's name
  QKeyCombination key;
};

// Spelled out: not every desktop's standard keys have one for "save as".
constexpr ShortcutRow kShortcuts[] = {
    {"NeueRakete1", Qt::CTRL | Qt::Key_N}, {"Raketeladen1", Qt::CTRL | Qt::Key_O},
    {"Sichern1", Qt::CTRL | Qt::Key_S},    {"Raketesichernals1", Qt::CTRL | Qt::SHIFT | Qt::Key_S},
    {"Drucken1", Qt::CTRL | Qt::Key_P},
};

// The items of the "Kurven" menu, in the order of the tool bar's switches.
constexpr const char* kCurveItems[kPlotSwitchCount] = {
    "&Schub", "&Kraft", "&Beschleunigung", "&Geschwindigkeit", "&Höhe", "Brennschluß / &Verzögerungen"};

// The help page for each of the program's windows; any other gets the contents.
struct HelpRow {
  const char* windowClass;
  const char* page;
};

constexpr HelpRow kHelpPages[] = {
    {"komet::TMain", "diagramm.html"},
    {"komet::TStufendaten", "stufendaten.html"},
    {"komet::TMotorwahl", "motoren.html"},
    {"komet::TForm7", "motoren.html"},
    {"komet::TEinstellungen", "einstellungen.html"},
    {"komet::TBergung", "stufendaten.html#bergung"},
    {"komet::TRaketenform", "stufendaten.html#form"},
    {"komet::TForm5", "notizen.html"},
    {"komet::TForm6", "dateien.html"},
    {"komet::TAuswertung", "auswertung.html"},
    {"komet::TMotorberater", "motorberater.html"},
    {"komet::HelpWindow", "hilfe.html"},
};

// F1 reaches the program even while a modal dialog holds the keyboard,
// where the main window's shortcuts are shut out.
class HelpKey : public QObject {
 public:
  explicit HelpKey(TMain* main) : QObject(main), main_(main) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1 ||
        static_cast<QKeyEvent*>(event)->modifiers() != Qt::NoModifier || !watched->isWidgetType())
      return QObject::eventFilter(watched, event);
    main_->HelpOnWindow(static_cast<QWidget*>(watched)->window());
    return true;
  }

 private:
  TMain* main_;
};

}  // namespace

QString HelpPageFor(const QWidget* window) {
  for (const QMetaObject* m = window->metaObject(); m; m = m->superClass())
    for (const HelpRow& row : kHelpPages)
      if (qstrcmp(m->className(), row.windowClass) == 0) return QString::fromLatin1(row.page);
  return QStringLiteral("index.html");
}

void TMain::createShortcuts() {
  for (const ShortcutRow& row : kShortcuts)
    if (auto* action = findChild<QAction*>(QString::fromLatin1(row.action)))
      action->setShortcut(QKeySequence(row.key));
  qApp->installEventFilter(new HelpKey(this));
}

void TMain::createCurveMenu() {
  QMenu* menu = new QMenu(QStringLiteral("&Kurven"), this);
  menu->setObjectName(QStringLiteral("Kurven1"));
  menuBar()->insertMenu(findChild<QMenu*>(QStringLiteral("Hilfe1"))->menuAction(), menu);
  for (std::size_t i = 0; i < kPlotSwitchCount; ++i) {
    const PlotSwitch id = kSwitchButtons[i].id;
    QAction* action = menu->addAction(QString::fromUtf8(kCurveItems[i]));
    action->setObjectName(QString::fromLatin1(kSwitchButtons[i].name.data(), kSwitchButtons[i].name.size()) +
                          QStringLiteral("1"));
    action->setCheckable(true);
    action->setChecked(switches_.IsOn(id));
    action->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + static_cast<int>(i))));
    connect(action, &QAction::triggered, this, [this, id] { SwitchClick(id); });
    switchActions_[i] = action;
  }
  menu->addSeparator();
  QAction* ascent = menu->addAction(QStringLiteral("Nur &Aufstieg"));
  ascent->setObjectName(QStringLiteral("Aufstieg1"));
  ascent->setCheckable(true);
  ascent->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
  connect(ascent, &QAction::triggered, this, [this](bool on) {
    if (on)
      PaintBox1->showAscent();
    else
      PaintBox1->showWholeFlight();
  });
  QAction* whole = menu->addAction(QStringLiteral("&Ganzer Flug"));
  whole->setObjectName(QStringLiteral("GanzerFlug1"));
  whole->setShortcut(QKeySequence(Qt::Key_Home));
  connect(whole, &QAction::triggered, this, [this] { PaintBox1->showWholeFlight(); });
}

// A modal dialog blocks every other window, so its help opens as a window
// of its own, which the dialog does not block.
void TMain::HelpOnWindow(QWidget* window) {
  const QString page = HelpPageFor(window);
  if (window && window->isModal()) {
    auto* help = new HelpWindow(window);
    help->setAttribute(Qt::WA_DeleteOnClose);
    help->ShowPage(page);
    return;
  }
  help().ShowPage(page);
}

}  // namespace komet
