#include "views/ViewNavigation.h"

#include <algorithm>

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

}  // namespace views
