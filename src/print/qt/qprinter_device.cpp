// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/qt/qprinter_device.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>

#include "common/qt/qt_text.h"

namespace komet {

QPrinterDevice::QPrinterDevice(QPrinter& printer) : device_(printer), printer_(&printer), canvas_(painter_) {}
QPrinterDevice::QPrinterDevice(QPdfWriter& writer) : device_(writer), writer_(&writer), canvas_(painter_) {}

QPrinterDevice::~QPrinterDevice() {
  canvas_.Flush();
  if (printing_) painter_.end();
}

int QPrinterDevice::Resolution() const {
  return printer_ != nullptr ? printer_->resolution() : writer_->resolution();
}
QRect QPrinterDevice::PaintRect() const {
  return device_.pageLayout().paintRectPixels(Resolution());
}
QRect QPrinterDevice::FullRect() const {
  return device_.pageLayout().fullRectPixels(Resolution());
}

bool QPrinterDevice::BeginJob(std::string_view title) {
  if (printing_) return false;
  if (printer_ != nullptr)
    printer_->setDocName(ToQ(title));
  else
    writer_->setTitle(ToQ(title));
  if (!painter_.begin(&device_)) return false;
  canvas_.Apply();
  printing_ = true;
  page_ = 1;
  return true;
}

bool QPrinterDevice::NewPage() {
  if (!printing_) return false;
  canvas_.Flush();
  if (!device_.newPage()) return false;
  ++page_;
  return true;
}

bool QPrinterDevice::EndJob() {
  if (!printing_) return false;
  canvas_.Flush();
  printing_ = false;
  return painter_.end();
}

QPageLayout PdfPageLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(4.0, 4.0, 4.0, 4.0),
                     QPageLayout::Millimeter);
}

void SetUpPdfPrinter(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setResolution(kPdfResolution);
  printer.setPageLayout(PdfPageLayout());
}

}  // namespace komet
