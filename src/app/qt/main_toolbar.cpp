// SPDX-License-Identifier: GPL-3.0-or-later
// The tool bar SpeedBar1: flat 42 x 42 buttons at fixed places, the
// commands on the left and the six curve switches on the right.
#include <QPainter>
#include <QSvgRenderer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/qt/t_main.h"
#include "common/qt/qt_text.h"
#include "plot/qt/plot_widget.h"

// Resources of a static library must be named once, outside any namespace.
static void InitToolIcons() {
  Q_INIT_RESOURCE(komet_icons);
}

namespace komet {
namespace {

constexpr int kBarHeight = 48;
constexpr int kButtonSize = 42;
constexpr int kButtonTop = 3;
constexpr int kIconSize = 16;
constexpr int kCaptionPixels = 10;

struct ToolButtonRow {
  const char* name;
  const char* caption;
  const char* hint;
  int x;
  const char* icon;
  void (TMain::*handler)();
};

// The pictures are SVGs of our own, rendered here so no image plugin is needed.
QIcon ToolIcon(const char* name) {
  QSvgRenderer svg(QStringLiteral(":/komet/icons/%1.svg").arg(QLatin1String(name)));
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(kIconSize * scale, kIconSize * scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    svg.render(&p);
    p.end();
    pixmap.setDevicePixelRatio(scale);
    icon.addPixmap(pixmap);
  }
  return icon;
}

constexpr const char* kSwitchIcons[kPlotSwitchCount] = {"anz_s", "anz_f", "anz_a",
                                                        "anz_v", "anz_h", "anz_brenn"};

QToolButton* MakeButton(QWidget* bar, const QString& name, const QString& caption, const QString& hint, int x,
                        const char* icon) {
  auto* button = new QToolButton(bar);
  button->setObjectName(name);
  button->setText(caption);
  button->setToolTip(hint);
  button->setIcon(ToolIcon(icon));
  button->setIconSize(QSize(kIconSize, kIconSize));
  button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(x, kButtonTop, kButtonSize, kButtonSize);
  return button;
}

}  // namespace

void TMain::createToolBar() {
  InitToolIcons();
  SpeedBar1 = new QWidget(this);
  SpeedBar1->setObjectName(QStringLiteral("SpeedBar1"));
  SpeedBar1->setFixedHeight(kBarHeight);
  QFont font = SpeedBar1->font();
  font.setPixelSize(kCaptionPixels);
  SpeedBar1->setFont(font);
  const ToolButtonRow rows[] = {
      {"Ende", "Ende", "Programm verlassen", 8, "ende", &TMain::EndeClick},
      {"Options", "Einst", "Einstellungen", 50, "einst", &TMain::OptionsClick},
      {"SpeedItem1", "Druck", "Drucken", 92, "druck", &TMain::SpeedItem1Click0},
      {"neu", "Neu", "Neue Rakete erfassen", 134, "neu", &TMain::neuClick},
      {"Offnen", "Öffnen", "Raketendaten laden", 176, "offnen", &TMain::OffnenClick},
      {"Sichern", "Sichern ", "Sichern Raketendaten", 218, "sichern", &TMain::SichernClick},
      {"Sichernals", "Sichern\nals", "Raketendaten sichern als ...", 260, "sichernals",
       &TMain::SichernalsClick},
      {"AEndern", "Ändern", "Raketendaten ändern", 302, "aendern", &TMain::AEndernClick},
      {"Notizen", "", "Notizen erfassen/verwalten", 344, "notizen", &TMain::NotizenClick},
  };
  for (const ToolButtonRow& row : rows) {
    QToolButton* button = MakeButton(SpeedBar1, QString::fromLatin1(row.name), QString::fromUtf8(row.caption),
                                     QString::fromUtf8(row.hint), row.x, row.icon);
    connect(button, &QToolButton::clicked, this, row.handler);
    if (row.handler == &TMain::NotizenClick) Notizen = button;
  }
  // After the switches: the evaluation window.
  QToolButton* auswert = MakeButton(SpeedBar1, QStringLiteral("Auswert"), QStringLiteral("Auswert"),
                                    QStringLiteral("Auswertung: Verzögerungen und Warnungen"),
                                    kSwitchButtons.back().position + kButtonSize, "auswert");
  connect(auswert, &QToolButton::clicked, this, &TMain::AuswertungClick);
  for (std::size_t i = 0; i < kPlotSwitchCount; ++i) {
    const SwitchButtonEntry& s = kSwitchButtons[i];
    QToolButton* button = MakeButton(SpeedBar1, ToQ(s.name), ToQ(switches_.Caption(s.id)), ToQ(s.hint),
                                     s.position, kSwitchIcons[i]);
    connect(button, &QToolButton::clicked, this, [this, id = s.id] { SwitchClick(id); });
    // Tab reaches the switches too; the other buttons repeat menu items.
    button->setFocusPolicy(Qt::TabFocus);
    switchButtons_[i] = button;
  }
}

void TMain::SwitchClick(PlotSwitch which) {
  const auto i = static_cast<std::size_t>(which);
  switchButtons_[i]->setText(ToQ(switches_.Click(which)));
  switchActions_[i]->setChecked(switches_.IsOn(which));
  PaintBox1->update();
}

}  // namespace komet
