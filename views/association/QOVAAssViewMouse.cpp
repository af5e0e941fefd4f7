// What the association view's mouse reports: the slot under the context
// menu's Information, and the region of the Measure band, each with an offer
// of the genome browser. The menu and the band are the chromosome views'.
#include "core/Cytoband.h"
#include "platform/Strings.h"
#include "views/association/QOVAAssDoc.h"
#include "views/association/QOVAAssView.h"

std::string CQOVAAssView::SlotInformation(int s, int c) const {
  std::string band;
  GetDocument()->m_Cytoband.GetBandName(band, c, s, FALSE);
  return platform::Format("SNPnumber= %d\tChromosome= %d\tCytoband= %7s\n ", s, c, band.c_str()) +
         "\n Goto Web Information?";
}

void CQOVAAssView::RunTool() {
  m_nMouseMode = MOUSE_NONE;
  OfferBandRegion();
  Invalidate(TRUE);
}
