// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <utility>

#include "plot/flight_plot.h"

class QRubberBand;

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
  // Where the summary line's recommended delay comes from: the flight
  // without recovery (Document::freeAscent); unset, the flight itself.
  void setFreeAscent(std::function<const Simulation&()> source) { freeAscent_ = std::move(source); }
  bool hasComparison() const { return comparison_ != nullptr; }
  // A measured flight drawn as dots over the plot; nullptr takes it away.
  // The recording outlives its showing.
  void setMeasured(const FlightLog* log);
  const FlightLog* measured() const { return measured_; }

  // The part of the flight shown. By default the ascent when the flight
  // has a recovery (its descent would squeeze the ascent into a sliver),
  // else the whole flight. The wheel zooms the time around the pointer, a
  // dragged rectangle zooms to its times and its top value; a double click
  // while zoomed returns to the whole flight (unzoomed it opens the stage
  // dialog through doubleClicked).
  std::optional<PlotZoom> zoom() const;
  void showWholeFlight();
  void showAscent();
  void zoomTo(const PlotZoom& zoom);
  // Back to the default view, as for a rocket newly loaded.
  void resetView();
  // Whether the ascent view is shown (by default or by choice).
  bool showsAscent() const;

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
  // The part shown changed; `ascent` says whether it is the ascent view.
  void viewChanged(bool ascent);

 protected:
  void paintEvent(QPaintEvent* event) override;  // PaintBox1Paint
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  const Simulation& simulation_;
  const RocketRecord& rocket_;
  const PlotSwitches& switches_;
  char decimalSeparator_;
  PlotState state_;
  Simulation* comparison_ = nullptr;
  std::function<const Simulation&()> freeAscent_;
  QString comparisonLabel_;
  const FlightLog* measured_ = nullptr;
  QLabel* startHint_ = nullptr;
  enum class View { Default, Whole, Ascent, Zoomed };
  View view_ = View::Default;
  bool shownAscent_ = false;  // as last told through viewChanged
  PlotZoom zoom_;             // of View::Zoomed
  QRubberBand* band_ = nullptr;
  QPoint bandStart_;
  void setView(View view);
  double timeAt(int x) const;  // what to do first, while there is no flight
};

}  // namespace komet
