// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace komet::testing {

// What a poppler tool prints for a PDF.
inline QString RunPdfTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The page count, or -1 when the file is no PDF.
inline int PdfPages(const QString& pdf) {
  const QRegularExpressionMatch m =
      QRegularExpression("Pages:\\s+(\\d+)").match(RunPdfTool("pdfinfo", {pdf}));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The text in its layout: of every page, or of one.
inline QString PdfText(const QString& pdf, int page = 0) {
  QStringList args = {"-layout", pdf, "-"};
  if (page > 0) args = QStringList{"-f", QString::number(page), "-l", QString::number(page)} + args;
  return RunPdfTool("pdftotext", args);
}

}  // namespace komet::testing
