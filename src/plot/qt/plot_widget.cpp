// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/qt/plot_widget.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "common/qt/qpainter_canvas.h"
#include "plot/flight_view.h"
#include "plot/measured_overlay.h"
#include "plot/qt/plot_export.h"
#include "sim/flight_analysis.h"
#include "sim/simulation.h"

namespace komet {

PlotWidget::PlotWidget(const Simulation& simulation, const RocketRecord& rocket, const PlotSwitches& switches,
                       char decimalSeparator, QWidget* parent)
    : QWidget(parent),
      simulation_(simulation),
      rocket_(rocket),
      switches_(switches),
      decimalSeparator_(decimalSeparator) {
  setObjectName(QStringLiteral("PaintBox1"));
  setMouseTracking(true);
  // Every paint covers the whole surface.
  setAttribute(Qt::WA_OpaquePaintEvent);
  startHint_ = new QLabel(QStringLiteral("Zum Anfang: „Öffnen“ (Strg+O) lädt eine Rakete, etwa eine der "
                                         "Beispielraketen; „Neu“ (Strg+N) beschreibt eine eigene."),
                          this);
  startHint_->setObjectName(QStringLiteral("Starthinweis"));
  startHint_->setWordWrap(true);
  startHint_->setAlignment(Qt::AlignCenter);
  startHint_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PlotWidget::resizeEvent(QResizeEvent* event) {
  startHint_->setGeometry(60, height() / 4, std::max(0, width() - 120), 60);
  QWidget::resizeEvent(event);
}

void PlotWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool compared = comparison_ && comparison_->results().resultsValid;
  std::optional<MeasuredOverlay> measured;
  if (measured_ && simulation_.results().resultsValid)
    measured = MakeMeasuredOverlay(*measured_, simulation_);
  const PlotInputs in{MakeFlightView(simulation_),
                      switches_,
                      MainMotorDelays(rocket_),
                      decimalSeparator_,
                      compared ? &comparison_->results() : nullptr,
                      measured ? &*measured : nullptr,
                      zoom(),
                      RecommendedDelay(freeAscent_ ? freeAscent_() : simulation_)};
  const std::optional<std::string> summary = PaintPlot(painter, size(), state_, in);
  startHint_->setVisible(!simulation_.results().resultsValid);
  // A new flight may gain or lose its recovery, and with it the default view.
  if (showsAscent() != shownAscent_) emit viewChanged(shownAscent_ = showsAscent());
  if (!summary) return;
  if (compared) {
    QPainterCanvas canvas(painter);
    PaintComparison(canvas, width(), state_, switches_, MakeFlightView(*comparison_),
                    comparisonLabel_.toStdString());
  }
  if (measured) {
    QPainterCanvas canvas(painter);
    PaintMeasured(canvas, width(), state_, switches_, *measured);
  }
  emit summaryChanged(QString::fromStdString(*summary));
  emit flightPainted();
}

void PlotWidget::setComparison(Simulation* other, const QString& label) {
  comparison_ = other;
  comparisonLabel_ = label;
  update();
}

void PlotWidget::setMeasured(const FlightLog* log) {
  measured_ = log;
  update();
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event) {
  if (band_ && band_->isVisible())
    band_->setGeometry(QRect(bandStart_, event->position().toPoint()).normalized());
  emit mouseMoved(event->position().toPoint().x());
  QWidget::mouseMoveEvent(event);
}

void PlotWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    if (zoom())
      showWholeFlight();
    else
      emit doubleClicked();
  }
  QWidget::mouseDoubleClickEvent(event);
}

std::optional<PlotZoom> PlotWidget::zoom() const {
  const FlightResults& r = simulation_.results();
  switch (view_) {
    case View::Whole:
      return std::nullopt;
    case View::Zoomed:
      return zoom_;
    case View::Ascent:
      return AscentZoom(r);
    case View::Default:
      break;
  }
  return simulation_.constants().recovery ? std::optional(AscentZoom(r)) : std::nullopt;
}

bool PlotWidget::showsAscent() const {
  return view_ == View::Ascent || (view_ == View::Default && simulation_.constants().recovery);
}

void PlotWidget::setView(View view) {
  view_ = view;
  update();
  emit viewChanged(shownAscent_ = showsAscent());
}

void PlotWidget::showWholeFlight() {
  setView(View::Whole);
}

void PlotWidget::showAscent() {
  setView(View::Ascent);
}

void PlotWidget::zoomTo(const PlotZoom& zoom) {
  if (!(zoom.end > zoom.start)) return;
  zoom_ = zoom;
  setView(View::Zoomed);
}

void PlotWidget::resetView() {
  setView(View::Default);
}

double PlotWidget::timeAt(int x) const {
  return state_.startTime + (x - state_.plotOriginX) / state_.scaleX;
}

// The time under the pointer stays where it is; each notch shows a fifth
// less or more of it.
void PlotWidget::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (state_.scaleX <= 0.0 || notches == 0.0 || !simulation_.results().resultsValid) return;
  const double start = state_.startTime;
  const double span = state_.gridCountX * kPlotGridStep / state_.scaleX;
  const double at = std::clamp(timeAt(qRound(event->position().x())), start, start + span);
  const double factor = std::pow(0.8, notches);
  const double newStart = std::max(0.0, at - (at - start) * factor);
  zoomTo({newStart, newStart + span * factor, 0.0});
  event->accept();
}

void PlotWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && state_.scaleX > 0.0 && simulation_.results().resultsValid) {
    if (!band_) band_ = new QRubberBand(QRubberBand::Rectangle, this);
    bandStart_ = event->position().toPoint();
    band_->setGeometry(QRect(bandStart_, QSize()));
    band_->show();
  }
  QWidget::mousePressEvent(event);
}

void PlotWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (band_ && band_->isVisible()) {
    band_->hide();
    const QRect r = QRect(bandStart_, event->position().toPoint()).normalized();
    // A click, or a rectangle left of the value axis, is no zoom.
    if (r.width() >= 6 && r.height() >= 6 && r.right() > state_.plotOriginX && state_.scaleY > 0.0) {
      const double top = (state_.plotOriginY - r.top()) / state_.scaleY;
      zoomTo({std::max(0.0, timeAt(std::max(r.left(), state_.plotOriginX))), timeAt(r.right()),
              top > 0.0 ? top : 0.0});
    }
  }
  QWidget::mouseReleaseEvent(event);
}

}  // namespace komet
