// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

#include "plot/flight_plot.h"

namespace komet {

class Simulation;
struct FlightLog;
struct RocketRecord;

// The main window's plot surface PaintBox1: every paint draws the whole
// flight plot from the current results through the QPainter canvas. It
// keeps the plot geometry the read-out works with.
class PlotWidget : public QWidget {
  Q_OBJECT

 public:
  // The simulation, rocket and switches outlive the widget.
  PlotWidget(const Simulation& simulation, const RocketRecord& rocket, const PlotSwitches& switches,
             char decimalSeparator, QWidget* parent = nullptr);

  // A second flight drawn dotted over the plot for comparison, named by
  // `label`; nullptr takes it away. The simulation outlives its showing.
  void setComparison(Simulation* other, const QString& label);
  bool hasComparison() const { return comparison_ != nullptr; }
  // A measured flight drawn as dots over the plot; nullptr takes it away.
  // The recording outlives its showing.
  void setMeasured(const FlightLog* log);
  const FlightLog* measured() const { return measured_; }

  // The geometry of the last paint; the read-out and the empty rocket use it.
  PlotState& state() { return state_; }
  const PlotState& state() const { return state_; }

 signals:
  // A paint with results wrote the summary line of Panel2.
  void summaryChanged(const QString& text);
  // A computed flight has been painted.
  void flightPainted();
  void doubleClicked();
  // The pointer moved over the surface; x in surface pixels.
  void mouseMoved(int x);

 protected:
  void paintEvent(QPaintEvent* event) override;  // PaintBox1Paint
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  const Simulation& simulation_;
  const RocketRecord& rocket_;
  const PlotSwitches& switches_;
  char decimalSeparator_;
  PlotState state_;
  Simulation* comparison_ = nullptr;
  QString comparisonLabel_;
  const FlightLog* measured_ = nullptr;
  class QLabel* startHint_ = nullptr;  // what to do first, while there is no flight
};

}  // namespace komet
