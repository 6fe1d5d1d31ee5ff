// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/notes_page.h"

#include <string>

#include "print/report.h"

namespace komet {

void SetUpNotesPage(TLinePrinter& lp) {
  lp.SetFont(Font{"Arial", 8.0, 0, kBlack, false});
  lp.SetFooterFormat("<5|>1");
  lp.SetFooter(std::string(kProgramVersion) + "|{$DATE}, {$TIME}");
  lp.SetPageBorders({PageBorder::pbBottom});
  lp.SetMeasureUnit(MeasureUnit::muInches);
  lp.SetMarginTop(0.5f);
  lp.SetMarginBottom(1.0f);
  lp.SetMarginLeft(1.0f);
  lp.SetMarginRight(1.0f);
}

}  // namespace komet
