// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>
#include <QPrinter>

#include "common/printer_device.h"
#include "common/qt/qpainter_canvas.h"

namespace komet {

// A PrinterDevice over a QPrinter: a real printer through CUPS, or a PDF
// file (QPrinter::PdfFormat with an output file name). Device units are the
// printer's resolution; drawing starts at the printable area's corner.
class QPrinterDevice final : public PrinterDevice {
 public:
  // The printer must outlive the device.
  explicit QPrinterDevice(QPrinter& printer);
  ~QPrinterDevice() override;

  int DpiX() const override { return printer_.resolution(); }
  int DpiY() const override { return printer_.resolution(); }
  int PageWidth() const override { return PaintRect().width(); }
  int PageHeight() const override { return PaintRect().height(); }
  int PhysicalWidth() const override { return FullRect().width(); }
  int PhysicalHeight() const override { return FullRect().height(); }
  int OffsetX() const override { return PaintRect().left(); }
  int OffsetY() const override { return PaintRect().top(); }

  bool BeginJob(std::string_view title) override;
  bool NewPage() override;
  bool EndJob() override;
  bool Printing() const override { return printing_; }
  int PageNumber() const override { return page_; }
  Canvas& canvas() override { return canvas_; }

 private:
  QRect PaintRect() const;
  QRect FullRect() const;

  QPrinter& printer_;
  QPainter painter_;
  QPainterCanvas canvas_;
  bool printing_ = false;
  int page_ = 0;
};

// A printer writing a PDF file on an A4 portrait page at 600 dpi, with the
// few millimetres of margin a laser printer cannot reach.
void SetUpPdfPrinter(QPrinter& printer, const QString& path);

}  // namespace komet
