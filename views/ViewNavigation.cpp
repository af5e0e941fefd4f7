#include "views/ViewNavigation.h"

#include <algorithm>
#include <cstdint>

#include "platform/ui/DC.h"

namespace views {

ModeScales ScalesInSnpOrder(int arrayType) {
  switch (arrayType) {
    case 0:
    case 1: return {200, 1000, 100, 400};
    case 2:
    case 3: return {1000, 1000, 500, 400};
    case 4: return {2000, 1000, 1000, 400};
    case 7:
    case 10:
    case 12: return {10000, 1000, 5000, 400};
    default: return {5000, 1000, 2500, 400};
  }
}

int ContextChromosomeScaleX(int arrayType) {
  return arrayType == 0 || arrayType == 1 ? 50 : ScalesInSnpOrder(arrayType).chromosomeX;
}

int ScrollCarryFactor(int arrayType) {
  switch (arrayType) {
    case 0:
    case 1: return 100;
    case 2:
    case 3: return 10;
    case 4: return 5;
    case 7:
    case 10:
    case 12: return 1;
    default: return 2;
  }
}

int BaseUnitsPerSlot(int arrayType) { return kBaseAxisScales.genomeX / ScalesInSnpOrder(arrayType).genomeX; }

int NextChromosome(int c) { return c < 23 ? std::max(c, 0) + 1 : 1; }

int PreviousChromosome(int c) { return c <= 1 ? 23 : std::min(c, 24) - 1; }

int ClampDisplaySize(long long size) { return int(std::clamp<long long>(size, 1, kLargestDisplaySize)); }

int ZoomInSize(int size) { return ClampDisplaySize(3LL * size / 2 + 1); }

int ZoomOutSize(int size) { return ClampDisplaySize(2LL * size / 3 + 1); }

void CentreX(ViewMapping& mapping, long long lx, int pixels) {
  mapping.m_nScrollX = int(std::clamp<long long>(lx - mapping.LogicalWidth(pixels) / 2, INT32_MIN, INT32_MAX));
}

void CentreY(ViewMapping& mapping, long long ly, int pixels) {
  mapping.m_nScrollY = int(std::clamp<long long>(ly - mapping.LogicalHeight(pixels) / 2, INT32_MIN, INT32_MAX));
}

void FitToWindow(ViewMapping& mapping, CSize extent, CSize client) {
  mapping.m_nSizeX = ClampDisplaySize(extent.cx > 0 ? 1LL * mapping.m_nScaleX * client.cx / extent.cx : 1);
  mapping.m_nSizeY = ClampDisplaySize(extent.cy > 0 ? 1LL * mapping.m_nScaleY * client.cy / extent.cy : 1);
  mapping.m_nScrollX = 0;
  mapping.m_nScrollY = 0;
}

PageGrid PrintPageGrid(CSize extent, CSize page, CSize printedSize, int printScaleX) {
  const long long px = std::max<long long>(1, printedSize.cx), py = std::max<long long>(1, printedSize.cy);
  const long long width = std::max<long long>(1, page.cx), height = std::max<long long>(1, page.cy);
  PageGrid grid;
  // Pages needed at the printed size, then the size that fills them.
  const auto fill = [](long long printed, long long drawn, long long pageUnits, long long& pages) {
    drawn = std::max<long long>(1, drawn);
    pages = std::max<long long>(1, (printed * drawn + pageUnits - 1) / pageUnits);
    return ClampDisplaySize(pageUnits * pages / drawn);
  };
  grid.printedWidth = fill(px, extent.cx, width * std::max(1, printScaleX), grid.columns);
  grid.printedHeight = fill(py, extent.cy, height * kPrintScaleY, grid.rows);
  return grid;
}

PrintPlan PrintPlanOf(const CDisplaySetting::PrintKeys& print, std::uint32_t viewFlags) {
  PrintPlan plan;
  if (viewFlags & VIEW_MULTIPLE) {
    plan.printedSize = {print.MULTI_X, print.MULTI_Y};
    plan.onePage = print.ONE_MULTI != 0;
  } else if (viewFlags & VIEW_ONE_CHROMOSOME) {
    plan.printedSize = {print.EACH_X, print.EACH_Y};
    plan.onePage = print.ONE_EACH != 0;
  } else {
    plan.printedSize = {print.ALL_X, print.ALL_Y};
    plan.onePage = print.ONE_ALL != 0;
  }
  if (viewFlags & VIEW_BASE_INTERVAL)
    plan.scaleX = 200000;
  else
    plan.scaleX = (viewFlags & VIEW_COMBINED_ARRAY) ? 400 : 200;
  return plan;
}

CSize PrinterPage(CDC* dc) { return {dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES)}; }

PageGrid PrintPages(const PrintPlan& plan, CSize extent, CSize page) {
  if (plan.onePage) return {};
  return PrintPageGrid(extent, page, plan.printedSize, plan.scaleX);
}

ViewMapping PrintPageMapping(const PrintPlan& plan, CSize extent, CSize page, long long pageNumber) {
  ViewMapping mapping;
  const long long scaleX = plan.scaleX;
  mapping.m_nScaleX = plan.scaleX;
  mapping.m_nScaleY = kPrintScaleY;
  if (plan.onePage) {
    mapping.m_nSizeX = ClampDisplaySize(scaleX * page.cx / std::max<long long>(1, extent.cx));
    mapping.m_nSizeY = ClampDisplaySize(1LL * page.cy * kPrintScaleY / std::max<long long>(1, extent.cy));
    return mapping;
  }
  const PageGrid grid = PrintPages(plan, extent, page);
  mapping.m_nSizeX = grid.printedWidth;
  mapping.m_nSizeY = grid.printedHeight;
  const long long index = std::max<long long>(0, pageNumber - 1);
  const long long column = index % grid.columns, row = index / grid.columns;
  mapping.m_nScrollX = int(std::min<long long>(column * scaleX * page.cx / grid.printedWidth, INT32_MAX));
  mapping.m_nScrollY = int(std::min<long long>(row * page.cy * kPrintScaleY / grid.printedHeight, INT32_MAX));
  return mapping;
}

}  // namespace views
