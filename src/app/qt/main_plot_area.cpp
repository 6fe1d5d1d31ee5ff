// SPDX-License-Identifier: GPL-3.0-or-later
// The plot surface with its strip, the summary panel Panel2 and the status
// bar with the read-out.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "app/qt/t_main.h"
#include "common/qt/qt_text.h"
#include "plot/flight_view.h"
#include "plot/qt/plot_widget.h"

namespace komet {
namespace {

constexpr int kSummaryHeight = 19;  // Panel2 and the status bar
constexpr int kWindowFontPixels = 11;
constexpr int kSummaryFontPixels = 9;
constexpr int kPanelIndent = 2;

// The 1-pixel strip Panel1 at the plot's left edge; a click on it opens the
// stage dialog.
class ClickStrip : public QWidget {
 public:
  ClickStrip(std::function<void()> clicked, QWidget* parent) : QWidget(parent), clicked_(std::move(clicked)) {
    setObjectName(QStringLiteral("Panel1"));
    setFixedWidth(1);
    // A panel's grey, not the white of the window around it.
    QPalette p = palette();
    p.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    setPalette(p);
    setAutoFillBackground(true);
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) clicked_();
  }

 private:
  std::function<void()> clicked_;
};

void PaintWhite(QWidget* w) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, Qt::white);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

}  // namespace

void TMain::createPlotArea() {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setFamilies(
      {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Sans Serif")});
  font.setPixelSize(kWindowFontPixels);
  setFont(font);
  auto* central = new QWidget(this);
  PaintWhite(central);
  Panel1 = new ClickStrip([this] { Panel1Click(); }, central);
  PaintBox1 =
      new PlotWidget(document_.simulation(), document_.rocket(), switches_, setup_.decimalSeparator, central);
  PaintBox1->setFreeAscent([this]() -> const Simulation& { return document_.freeAscent(); });
  Panel2 = new QLabel(central);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setFixedHeight(kSummaryHeight);
  Panel2->setAlignment(Qt::AlignCenter);
  Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  QFont summaryFont = font;
  summaryFont.setPixelSize(kSummaryFontPixels);
  Panel2->setFont(summaryFont);
  PaintWhite(Panel2);
  connect(PaintBox1, &PlotWidget::summaryChanged, Panel2, &QLabel::setText);
  connect(PaintBox1, &PlotWidget::doubleClicked, this, &TMain::Panel1Click);
  connect(PaintBox1, &PlotWidget::mouseMoved, this, &TMain::PaintBox1MouseMove);
  connect(PaintBox1, &PlotWidget::viewChanged, this, [this](bool ascent) {
    if (auto* action = findChild<QAction*>(QStringLiteral("Aufstieg1"))) {
      const QSignalBlocker quiet(action);
      action->setChecked(ascent);
    }
  });
  // The scales of a new flight are known only once it is painted.
  connect(PaintBox1, &PlotWidget::flightPainted, this, [this] {
    if (readOutStale_) followFlight();
  });

  auto* plotRow = new QHBoxLayout;
  plotRow->setSpacing(0);
  plotRow->addWidget(Panel1);
  plotRow->addWidget(PaintBox1, 1);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(SpeedBar1);
  column->addLayout(plotRow, 1);
  column->addWidget(Panel2);
  setCentralWidget(central);
}

// The panels sit side by side from the left edge, without the spacing a
// status bar puts between its widgets: a row of their own, outside the
// bar's layout.
void TMain::createStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("AStatusBar1"));
  bar->setSizeGripEnabled(false);
  bar->setFixedHeight(kSummaryHeight);
  bar->setContentsMargins(0, 0, 0, 0);
  auto* row = new QWidget(bar);
  int x = 0;
  for (std::size_t i = 0; i < kStatusPanels.size(); ++i) {
    const StatusPanelEntry& entry = kStatusPanels[i];
    auto* panel = new QLabel(ToQ(entry.text), row);
    panel->setObjectName(QStringLiteral("Panel%1").arg(i));
    panel->setFrameStyle(entry.lowered ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    // Off the window's edge, as a panel's text stands off its bevel.
    panel->setIndent(kPanelIndent);
    // A larger font than the panels were measured for widens a label
    // rather than cutting it.
    const int width = std::max(entry.width, panel->fontMetrics().horizontalAdvance(panel->text()) +
                                                2 * panel->frameWidth() + kPanelIndent);
    panel->setGeometry(x, 0, width, kSummaryHeight);
    x += width;
    statusPanels_[i] = panel;
  }
  row->setGeometry(0, 0, x, kSummaryHeight);
}

void TMain::PaintBox1MouseMove(int x) {
  if (const auto texts =
          ReadOut(x, PaintBox1->state(), MakeFlightView(document_.simulation()), setup_.decimalSeparator))
    showReadOut(*texts);
}

void TMain::showReadOut(const ReadOutTexts& texts) {
  statusPanels_[kPanelTime]->setText(QString::fromStdString(texts.time));
  const std::pair<std::size_t, const std::optional<std::string>*> values[] = {
      {kPanelHeight, &texts.height},
      {kPanelVelocity, &texts.velocity},
      {kPanelVelocityKmh, &texts.velocityKmh},
      {kPanelAccel, &texts.accel}};
  for (const auto& [panel, text] : values)
    if (*text) statusPanels_[panel]->setText(QString::fromStdString(**text));
}

// The panels must not show the previous flight's values as this one's.
void TMain::followFlight() {
  readOutStale_ = false;
  const QPoint at = PaintBox1->mapFromGlobal(QCursor::pos());
  if (PaintBox1->isVisible() && PaintBox1->rect().contains(at) &&
      document_.simulation().results().resultsValid) {
    PaintBox1MouseMove(at.x());
    return;
  }
  for (std::size_t panel : {kPanelTime, kPanelHeight, kPanelVelocity, kPanelVelocityKmh, kPanelAccel})
    statusPanels_[panel]->clear();
}

void TMain::RocketReset() {
  MessflugEntfernenClick();  // a recording belongs to the rocket that flew it
  ClearScales(PaintBox1->state());
  PaintBox1->resetView();
  Panel2->clear();
  PaintBox1->update();
}

}  // namespace komet
