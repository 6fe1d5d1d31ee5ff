// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/qt/qprinter_device.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>

#include "common/qt/qt_text.h"

namespace komet {

QPrinterDevice::QPrinterDevice(QPrinter& printer) : printer_(printer), canvas_(painter_) {}

QPrinterDevice::~QPrinterDevice() {
  canvas_.Flush();
  if (printing_) painter_.end();
}

QRect QPrinterDevice::PaintRect() const {
  return printer_.pageLayout().paintRectPixels(printer_.resolution());
}
QRect QPrinterDevice::FullRect() const {
  return printer_.pageLayout().fullRectPixels(printer_.resolution());
}

bool QPrinterDevice::BeginJob(std::string_view title) {
  if (printing_) return false;
  printer_.setDocName(ToQ(title));
  if (!painter_.begin(&printer_)) return false;
  canvas_.Apply();
  printing_ = true;
  page_ = 1;
  return true;
}

bool QPrinterDevice::NewPage() {
  if (!printing_) return false;
  canvas_.Flush();
  if (!printer_.newPage()) return false;
  ++page_;
  return true;
}

bool QPrinterDevice::EndJob() {
  if (!printing_) return false;
  canvas_.Flush();
  printing_ = false;
  return painter_.end();
}

void SetUpPdfPrinter(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setResolution(600);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(4.0, 4.0, 4.0, 4.0), QPageLayout::Millimeter));
}

}  // namespace komet
