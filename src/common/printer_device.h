// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "common/canvas.h"

namespace komet {

// A printer as the report and the line printer see it: a page of device
// units with a resolution, and a job of pages. The window layer implements
// it over QPrinter (a real printer or a PDF file); tests use a fake.
class PrinterDevice {
 public:
  virtual ~PrinterDevice() = default;

  virtual int DpiX() const = 0;
  virtual int DpiY() const = 0;
  // Printable area, device units.
  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;
  // Paper size and the offset of the printable area from its edge.
  virtual int PhysicalWidth() const = 0;
  virtual int PhysicalHeight() const = 0;
  virtual int OffsetX() const = 0;
  virtual int OffsetY() const = 0;

  // Each returns false when the printer refuses.
  virtual bool BeginJob(std::string_view title) = 0;
  virtual bool NewPage() = 0;
  virtual bool EndJob() = 0;
  virtual bool Printing() const = 0;
  virtual int PageNumber() const = 0;  // 1 on the first page of a job

  // Drawing in device units of the printable area; valid while printing.
  virtual Canvas& canvas() = 0;
};

}  // namespace komet
