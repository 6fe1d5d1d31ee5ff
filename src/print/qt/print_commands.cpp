#include "print/qt/print_commands.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <QTime>
#include <cerrno>
#include <cstdio>
#include <functional>

#include "common/komet_error.h"
#include "print/qt/qprinter_device.h"
#include "print/qt/report_export.h"
#include "print/report.h"

namespace komet {
namespace {

char DecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode()) : '.';
}

std::string FooterDateTime() {
  return (PrintDateText() + ", " + PrintTimeText()).toStdString();
}

// Qt's long time format names the time zone; a printout's time reads like a
// clock ("14:03:07").
QString WithoutTimeZone(const QString& format) {
  QString out;
  bool quoted = false;
  for (QChar c : format) {
    if (c == u'\'') quoted = !quoted;
    if (!quoted && c == u't') continue;
    out += c;
  }
  return out.trimmed();
}

KometError PdfError(const QString& path, const QString& reason) {
  return KometError(KometError::Kind::Io,
                    QStringLiteral("Die PDF-Datei %1 konnte nicht geschrieben werden: %2")
                        .arg(QDir::toNativeSeparators(path), reason)
                        .toStdString());
}

}  // namespace

bool PrinterAvailable() {
  return !QPrinterInfo::availablePrinters().isEmpty();
}

bool PrintFlightReport(QPrinter& printer, Simulation& simulation, const RocketRecord& rocket,
                       const PlotSwitches& switches) {
  if (!simulation.results().resultsValid) return false;
  QPrinterDevice device(printer);
  ReportLayout layout;
  const std::string dateTime = FooterDateTime();
  return PrintFlightReport(device, layout,
                           {MakeFlightView(simulation), rocket, switches, dateTime, DecimalSeparator()});
}

// Written beside the target and renamed over it, so a failed export leaves
// an older file whole.
void SavePdf(const std::filesystem::path& pdf, const std::function<bool(const QString&)>& render) {
  const QString target = QString::fromStdString(pdf.string());
  const QFileInfo info(target);
  QTemporaryFile temp(info.absoluteDir().filePath(info.fileName() + QStringLiteral(".XXXXXX")));
  if (!temp.open()) throw PdfError(target, temp.errorString());
  temp.close();
  if (!render(temp.fileName())) throw PdfError(target, QStringLiteral("der Inhalt ließ sich nicht ausgeben"));
  // A temporary file is private; the PDF gets the rights of the file it
  // replaces, or the usual ones.
  QFile::setPermissions(temp.fileName(), QFile::exists(target) ? QFile::permissions(target)
                                                               : QFile::ReadOwner | QFile::WriteOwner |
                                                                     QFile::ReadGroup | QFile::ReadOther);
  if (std::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
    throw PdfError(target, QString::fromUtf8(KometError::FromErrno(errno).what()));
  temp.setAutoRemove(false);
}

bool SaveReportPdf(const std::filesystem::path& pdf, Simulation& simulation, const RocketRecord& rocket,
                   const PlotSwitches& switches) {
  if (!simulation.results().resultsValid) return false;
  const std::string dateTime = FooterDateTime();
  SavePdf(pdf, [&](const QString& file) {
    return RenderReportPdf(file, MakeFlightView(simulation), rocket, switches, dateTime, DecimalSeparator());
  });
  return true;
}

QString PrintDateText() {
  return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

QString PrintTimeText() {
  const QLocale locale = QLocale::system();
  return locale.toString(QTime::currentTime(), WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

}  // namespace komet
