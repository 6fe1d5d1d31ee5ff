// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/qt/plot_widget.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "common/qt/qpainter_canvas.h"
#include "plot/flight_view.h"
#include "plot/measured_overlay.h"
#include "plot/qt/plot_export.h"
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
                      measured ? &*measured : nullptr};
  const std::optional<std::string> summary = PaintPlot(painter, size(), state_, in);
  startHint_->setVisible(!simulation_.results().resultsValid);
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
  emit mouseMoved(event->position().toPoint().x());
  QWidget::mouseMoveEvent(event);
}

void PlotWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit doubleClicked();
  QWidget::mouseDoubleClickEvent(event);
}

}  // namespace komet
