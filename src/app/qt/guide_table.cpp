// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/guide_table.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QStandardItem>

#include "common/format.h"

namespace komet {
namespace {

QIcon MarkIcon(GuideRow::Mark mark) {
  QPixmap dot(12, 12);
  dot.fill(Qt::transparent);
  QPainter p(&dot);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::black);
  p.setBrush(GuideMarkColor(mark));
  p.drawEllipse(QRectF(1, 1, 10, 10));
  return QIcon(dot);
}

QString MarkHeadline(GuideRow::Mark mark) {
  switch (mark) {
    case GuideRow::Mark::Green:
      return QStringLiteral("Grün: keine Regel verletzt.");
    case GuideRow::Mark::Amber:
      return QStringLiteral("Gelb: fliegbar, aber prüfen:");
    case GuideRow::Mark::Red:
      return QStringLiteral("Rot: so nicht fliegen:");
  }
  return {};
}

// A cell that shows a formatted number and sorts by its value; empty (and
// sorted first) without one.
QStandardItem* NumberItem(bool has, double value, const char* format, char sep) {
  auto* item = new QStandardItem(has ? QString::fromStdString(Format(sep, format, value)) : QString());
  item->setData(has ? value : -1e300, kGuideSortRole);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QStandardItem* NumberItem(const std::optional<double>& value, const char* format, char sep) {
  return NumberItem(value.has_value(), value.value_or(0.0), format, sep);
}

QStandardItem* TextItem(const QString& text) {
  auto* item = new QStandardItem(text);
  item->setData(text.toLower(), kGuideSortRole);
  return item;
}

}  // namespace

QStringList GuideColumns() {
  return {QStringLiteral("Wertung"),
          QStringLiteral("Motor"),
          QStringLiteral("Hersteller"),
          QStringLiteral("Gipfel\n[m]"),
          QStringLiteral("Gipfel bei\n[s]"),
          QStringLiteral("v max\n[m/s]"),
          QStringLiteral("v Startstab\n[m/s]"),
          QStringLiteral("Schub/\nGewicht"),
          QStringLiteral("empfohlen\n[s]"),
          QStringLiteral("Verzögerung\n[s]"),
          QStringLiteral("Abweichung\n[s]"),
          QStringLiteral("v Ausstoß\n[m/s]"),
          QStringLiteral("v Landung\n[m/s]"),
          QStringLiteral("Abdrift\n[m]"),
          QStringLiteral("Stabilität\n[Kaliber]"),
          QStringLiteral("Warnungen")};
}

QColor GuideRowColor(GuideRow::Mark mark) {
  switch (mark) {
    case GuideRow::Mark::Green:
      return {214, 240, 206};
    case GuideRow::Mark::Amber:
      return {255, 234, 184};
    case GuideRow::Mark::Red:
      return {246, 200, 200};
  }
  return Qt::white;
}

QColor GuideMarkColor(GuideRow::Mark mark) {
  switch (mark) {
    case GuideRow::Mark::Green:
      return {40, 160, 40};
    case GuideRow::Mark::Amber:
      return {240, 170, 0};
    case GuideRow::Mark::Red:
      return {210, 30, 30};
  }
  return Qt::black;
}

QString GuideRowToolTip(const GuideRow& row) {
  QStringList lines{QString::fromStdString(row.motor) + QStringLiteral(" – ") + MarkHeadline(row.mark)};
  for (const FlightWarning& w : row.findings) {
    lines << (w.level() == SafetyLevel::Red ? QStringLiteral("• rot: ") : QStringLiteral("• gelb: ")) +
                 QString::fromStdString(w.text);
    if (const Remedy* remedy = RemedyFor(row.remedies, w.kind))
      lines << QStringLiteral("   Abhilfe: ") + QString::fromStdString(remedy->text);
  }
  return lines.join(QLatin1Char('\n'));
}

QList<QStandardItem*> GuideRowItems(const GuideRow& r, int rank, char sep) {
  const bool flew = !r.noFlight;
  QStringList warnings;
  for (const FlightWarning& w : r.findings) warnings << QString::fromStdString(w.text);
  auto* mark = new QStandardItem(
      MarkIcon(r.mark),
      QString::fromUtf8(MarkText(r.mark).data(), static_cast<int>(MarkText(r.mark).size())));
  mark->setData(rank, kGuideSortRole);
  QList<QStandardItem*> items = {
      mark,
      TextItem(QString::fromStdString(r.motor)),
      TextItem(QString::fromStdString(r.maker)),
      NumberItem(flew, r.apogee, "%.1f", sep),
      NumberItem(flew, r.apogeeTime, "%.2f", sep),
      NumberItem(flew, r.maxVelocity, "%.1f", sep),
      NumberItem(r.railExitVelocity, "%.1f", sep),
      NumberItem(flew, r.thrustToWeight, "%.1f", sep),
      NumberItem(flew, r.recommendedDelay, "%.1f", sep),
      NumberItem(r.bestDelay.has_value(), r.bestDelay.value_or(0), "%.0f", sep),
      NumberItem(r.delayDifference(), "%+.1f", sep),
      NumberItem(r.ejectionVelocity, "%.1f", sep),
      NumberItem(r.landingSpeed, "%.1f", sep),
      NumberItem(r.drift, "%.0f", sep),
      NumberItem(r.stability.has_value(), r.stability ? r.stability->minMargin : 0.0, "%.2f", sep),
      TextItem(warnings.join(QStringLiteral("; ")))};
  const QString tip = GuideRowToolTip(r);
  for (QStandardItem* item : items) {
    item->setBackground(GuideRowColor(r.mark));
    item->setToolTip(tip);
  }
  return items;
}

QString GuideLegend() {
  auto dot = [](GuideRow::Mark m) {
    return QStringLiteral("<span style=\"color:%1\">&#9679;</span> ").arg(GuideMarkColor(m).name());
  };
  return dot(GuideRow::Mark::Green) + QStringLiteral("grün: keine Regel verletzt &nbsp; ") +
         dot(GuideRow::Mark::Amber) + QStringLiteral("gelb: fliegbar, aber prüfen &nbsp; ") +
         dot(GuideRow::Mark::Red) +
         QStringLiteral(
             "rot: so nicht fliegen. Welche Regeln eine Zeile verletzt, sagt ihr Tooltip; "
             "F1 öffnet die Hilfe.");
}

}  // namespace komet
