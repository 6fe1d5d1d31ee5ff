// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/t_auswertung.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/qt/guide_settings.h"
#include "app/qt/guide_table.h"
#include "common/format.h"
#include "common/qt/window_place.h"
#include "flightlog/cw_fit.h"
#include "print/recovery_text.h"
#include "print/stability_text.h"
#include "sim/flight_analysis.h"

namespace komet {
namespace {

const QStringList kColumns = {QStringLiteral("Verzögerung\n[s]"),
                              QStringLiteral("Ausstoß bei\n[s]"),
                              QStringLiteral("Höhe\n[m]"),
                              QStringLiteral("Geschwindigkeit\n[m/s]"),
                              QStringLiteral("zum Gipfel\n[s]"),
                              QStringLiteral("Toleranz\n± [s]"),
                              QStringLiteral("Höhe früh/spät\n[m]"),
                              QStringLiteral("v früh/spät\n[m/s]"),
                              QStringLiteral("Bewertung")};

QString Number(char sep, const char* format, double v) {
  return QString::fromStdString(Format(sep, format, v));
}

QString Verdict(const DelayCheck& c, char sep) {
  QStringList parts;
  if (c.best) parts << QStringLiteral("beste Wahl");
  if (!c.ejection.inFlight) parts << QStringLiteral("nach dem Flugende");
  if (c.tooFast) parts << QString::fromStdString(RuleLabel(SafetyRuleId::EjectionTooFast, sep));
  return parts.join(QStringLiteral(", "));
}

QStringList RowTexts(const DelayCheck& c, char sep) {
  return {
      QString::number(c.delay),
      Number(sep, "%.2f", c.ejection.time),
      Number(sep, "%.1f", c.ejection.height),
      Number(sep, "%.1f", c.ejection.velocity),
      Number(sep, "%+.2f", c.fromApogee),
      Number(sep, "%.1f", c.tolerance),
      Number(sep, "%.1f", c.early.height) + QStringLiteral(" / ") + Number(sep, "%.1f", c.late.height),
      Number(sep, "%.1f", c.early.velocity) + QStringLiteral(" / ") + Number(sep, "%.1f", c.late.velocity),
      Verdict(c, sep)};
}

}  // namespace

TAuswertung::TAuswertung(QWidget* parent) : QWidget(parent, Qt::Tool) {
  setObjectName(QStringLiteral("Auswertung"));
  setWindowTitle(QStringLiteral("Auswertung"));
  Kopf = new QLabel(this);
  Kopf->setObjectName(QStringLiteral("Kopf"));
  Messflug = new QLabel(this);
  Messflug->setObjectName(QStringLiteral("Messflug"));
  Messflug->setWordWrap(true);
  Messflug->hide();
  Verzoegerungen = new QTableWidget(0, kColumns.size(), this);
  Verzoegerungen->setObjectName(QStringLiteral("Verzoegerungen"));
  Verzoegerungen->setHorizontalHeaderLabels(kColumns);
  Verzoegerungen->verticalHeader()->hide();
  Verzoegerungen->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Verzoegerungen->horizontalHeader()->setStretchLastSection(true);
  // A verdict longer than the window is wide wraps instead of being cut.
  Verzoegerungen->setWordWrap(true);
  Verzoegerungen->setTextElideMode(Qt::ElideNone);
  Bergung = new QGroupBox(QStringLiteral("Bergung und Landung"), this);
  Bergung->setObjectName(QStringLiteral("Bergung"));
  bergungRows_ = new QGridLayout(Bergung);
  bergungRows_->setColumnStretch(1, 1);
  Bergung->hide();
  Warnungen = new QListWidget(this);
  Warnungen->setObjectName(QStringLiteral("Warnungen"));
  Warnungen->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Kopf);
  layout->addWidget(Messflug);
  layout->addWidget(Verzoegerungen, 3);
  layout->addWidget(Bergung);
  auto* label =
      new QLabel(QStringLiteral("&Warnungen (rot: so nicht fliegen, gelb: prüfen; F1: Hilfe):"), this);
  label->setBuddy(Warnungen);
  layout->addWidget(label);
  layout->addWidget(Warnungen, 2);
  connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
          [this] { emit helpRequested(QStringLiteral("auswertung.html")); });
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
  // Wide enough for the longest verdict where the screen allows, never wider than it.
  const int available = screen() ? screen()->availableGeometry().width() - 20 : 900;
  resize(FitOnScreen(QSize(std::min(900, available), 520), this));
}

// Rows filled while the window was hidden were measured without the
// verdict's final width: its wrapped lines get their height now.
void TAuswertung::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Verzoegerungen->resizeRowsToContents();
}

void TAuswertung::ShowRecovery(const std::optional<RecoveryFigures>& figures, char sep) {
  while (QLayoutItem* item = bergungRows_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  if (!figures) {
    bergungRows_->addWidget(new QLabel(QStringLiteral("Keine Bergung eingestellt."), Bergung), 0, 0, 1, 2);
    return;
  }
  int row = 0;
  for (const RecoveryRow& r : RecoveryRows(*figures, sep)) {
    auto* value = new QLabel(QString::fromStdString(r.value), Bergung);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bergungRows_->addWidget(
        new QLabel(QString::fromUtf8(r.label.data(), static_cast<qsizetype>(r.label.size())), Bergung), row,
        0);
    bergungRows_->addWidget(value, row++, 1);
  }
}

void TAuswertung::Refresh(const Simulation& simulation, const Simulation& freeAscent, char sep,
                          const SafetyInputs& safety) {
  const FlightAnalysis a = AnalyseFlight(simulation, sep, safety, &freeAscent);
  const FlightResults& r = simulation.results();
  const bool flight = r.resultsValid && !r.noFlight;
  // With recovery the apogee is the flight's, the delays the free ascent's.
  const char* advice = simulation.plan().recovery ? "empfohlene Verzögerung %.1f s (Flug ohne Bergung)"
                                                  : "empfohlene Verzögerung %.1f s";
  QString head = QStringLiteral("Es ist noch kein Flug berechnet.");
  if (flight) {
    head = QString::fromStdString(Format(sep, "Brennschluss bei %.2f s, Gipfel %.1f m bei %.2f s, ",
                                         r.burnoutTime, r.maxHeight, r.maxHeightTime) +
                                  Format(sep, advice, a.recommendedDelay.value_or(0.0)));
    head += a.figures.stability
                ? QStringLiteral("\nStabilität: ") +
                      QString::fromStdString(StabilityLine(*a.figures.stability, sep))
                : QStringLiteral("\nStabilität: ohne Form der Rakete nicht beurteilt (Datei → Form...)");
  }
  Kopf->setText(head);
  Messflug->setVisible(flight && measured_);
  if (flight && measured_)
    Messflug->setText(QString::fromStdString(
        ComparisonText(CompareFlight(simulation, *measured_), measured_->fileName, sep)));
  Verzoegerungen->setRowCount(static_cast<int>(a.delays.size()));
  for (int row = 0; row < static_cast<int>(a.delays.size()); ++row) {
    const DelayCheck& c = a.delays[row];
    const QStringList texts = RowTexts(c, sep);
    for (int col = 0; col < texts.size(); ++col) {
      auto* item = new QTableWidgetItem(texts[col]);
      item->setTextAlignment(col + 1 < texts.size() ? Qt::AlignRight | Qt::AlignVCenter
                                                    : Qt::AlignLeft | Qt::AlignVCenter);
      if (c.best) item->setBackground(QColor(210, 240, 210));
      if (c.tooFast && col == 3) item->setForeground(Qt::red);
      Verzoegerungen->setItem(row, col, item);
    }
  }
  Verzoegerungen->resizeColumnsToContents();
  // The verdict takes the room the figures leave, wrapped in it.
  QHeaderView* header = Verzoegerungen->horizontalHeader();
  header->setSectionResizeMode(header->count() - 1, QHeaderView::Stretch);
  Verzoegerungen->resizeRowsToContents();
  Bergung->setVisible(flight);
  if (flight) ShowRecovery(a.figures.recovery, sep);
  Warnungen->clear();
  for (const FlightWarning& w : a.warnings) {
    const bool red = w.level() == SafetyLevel::Red;
    auto* item = new QListWidgetItem(QString::fromStdString(w.text), Warnungen);
    item->setBackground(GuideRowColor(red ? GuideRow::Mark::Red : GuideRow::Mark::Amber));
    item->setToolTip((red ? QStringLiteral("rot – ") : QStringLiteral("gelb – ")) +
                     QString::fromStdString(RuleLabel(w.kind, sep, a.figures.speedOfSound)));
    // The remedy right under its finding, in the finding's colour.
    if (const Remedy* remedy = RemedyFor(a.remedies, w.kind)) {
      auto* help = new QListWidgetItem(QStringLiteral("    Abhilfe: ") + QString::fromStdString(remedy->text),
                                       Warnungen);
      help->setBackground(item->background());
      help->setToolTip(QStringLiteral("berechnet aus diesem Flug"));
    }
  }
  if (flight && a.warnings.empty()) Warnungen->addItem(QStringLiteral("Keine Warnungen."));
  if (flight && a.delays.empty())
    Warnungen->addItem(QStringLiteral("Der Motor der Hauptstufe bietet keine Verzögerungen an."));
}

}  // namespace komet
