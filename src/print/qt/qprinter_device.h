// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "common/printer_device.h"
#include "common/qt/qpainter_canvas.h"

namespace komet {

// A PrinterDevice over a QPrinter (a real printer through CUPS, or a PDF
// file) or over a QPdfWriter (a PDF drawn into memory). Device units are the
// printer's resolution; drawing starts at the printable area's corner.
class QPrinterDevice final : public PrinterDevice {
 public:
  // The printer or writer must outlive the device.
  explicit QPrinterDevice(QPrinter& printer);
  explicit QPrinterDevice(QPdfWriter& writer);
  ~QPrinterDevice() override;

  int DpiX() const override { return Resolution(); }
  int DpiY() const override { return Resolution(); }
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
  int Resolution() const;
  QRect PaintRect() const;
  QRect FullRect() const;

  QPagedPaintDevice& device_;
  QPrinter* printer_ = nullptr;
  QPdfWriter* writer_ = nullptr;
  QPainter painter_;
  QPainterCanvas canvas_;
  bool printing_ = false;
  int page_ = 0;
};

// The page of Komet's PDF files: A4 portrait with the few millimetres of
// margin a laser printer cannot reach.
QPageLayout PdfPageLayout();
inline constexpr int kPdfResolution = 600;

// A printer writing a PDF file on that page at that resolution.
void SetUpPdfPrinter(QPrinter& printer, const QString& path);

}  // namespace komet
