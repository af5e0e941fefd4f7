#include "views/ViewNavigation.h"

#include <algorithm>
#include <cstdint>

#include "platform/ui/DC.h"

namespace qova::views {

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

namespace {

// The room a print keeps left of the drawing: never more than half the page.
long long RoomOnPage(int leftRoom, long long pageWidth) {
  return std::clamp<long long>(leftRoom, 0, std::max<long long>(0, pageWidth) / 2);
}

}  // namespace

PageGrid PrintPageGrid(CSize extent, CSize page, CSize printedSize, int printScaleX, int leftRoom, bool fill) {
  const long long px = std::max<long long>(1, printedSize.cx), py = std::max<long long>(1, printedSize.cy);
  const long long width = std::max<long long>(1, page.cx), height = std::max<long long>(1, page.cy);
  const long long scaleX = std::max(1, printScaleX);
  const long long room = RoomOnPage(leftRoom, width);
  PageGrid grid;
  // Pages needed at the printed size (the room first), then the size that fills them.
  const auto spread = [fill](long long printed, long long drawn, long long pageUnits, long long reserved,
                             long long& pages) {
    drawn = std::max<long long>(1, drawn);
    pages = std::max<long long>(1, (printed * drawn + reserved + pageUnits - 1) / pageUnits);
    return ClampDisplaySize(fill ? (pageUnits * pages - reserved) / drawn : printed);
  };
  grid.printedWidth = spread(px, extent.cx, width * scaleX, room * scaleX, grid.columns);
  grid.printedHeight = spread(py, extent.cy, height * kPrintScaleY, 0, grid.rows);
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
  return PrintPageGrid(extent, page, plan.printedSize, plan.scaleX, plan.leftRoom, plan.fillsPages);
}

namespace {

// The rounds that find a print's room for labels: the room missing shrinks
// by the gap's share of the drawing each round.
constexpr int kRoomRounds = 32;

// a / b rounded towards minus infinity, b > 0.
long long FloorDiv(long long a, long long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

ViewMapping PrintPageMapping(const PrintPlan& plan, CSize extent, CSize page, long long pageNumber) {
  ViewMapping mapping;
  const long long scaleX = plan.scaleX;
  const long long room = RoomOnPage(plan.leftRoom, page.cx);
  mapping.m_nScaleX = plan.scaleX;
  mapping.m_nScaleY = kPrintScaleY;
  long long column = 0, row = 0;
  if (plan.onePage) {
    mapping.m_nSizeX = ClampDisplaySize(scaleX * (page.cx - room) / std::max<long long>(1, extent.cx));
    mapping.m_nSizeY = ClampDisplaySize(1LL * page.cy * kPrintScaleY / std::max<long long>(1, extent.cy));
  } else {
    const PageGrid grid = PrintPages(plan, extent, page);
    mapping.m_nSizeX = grid.printedWidth;
    mapping.m_nSizeY = grid.printedHeight;
    const long long index = std::max<long long>(0, pageNumber - 1);
    column = index % grid.columns;
    row = index / grid.columns;
  }
  // The room lies left of logical 0: the first column starts that far
  // before it, rounded so that logical 0 is not drawn inside the room.
  mapping.m_nScrollX = int(std::clamp<long long>(FloorDiv((column * page.cx - room) * scaleX, mapping.m_nSizeX),
                                                 INT32_MIN, INT32_MAX));
  mapping.m_nScrollY = int(std::min<long long>(row * page.cy * kPrintScaleY / mapping.m_nSizeY, INT32_MAX));
  return mapping;
}

int LeftRoomFor(PrintPlan plan, CSize extent, CSize page, int left, int width) {
  // Each pixel of room narrows the drawing, and the column's edge moves
  // in by a share of it: the room grows by what is still missing until the
  // text fits, which takes a few rounds where the gap is a large share of
  // the drawing.
  plan.leftRoom = 0;
  for (int round = 0; round < kRoomRounds; ++round) {
    const long long edge = PrintPageMapping(plan, extent, page, 1).ToDeviceX(left);
    if (edge >= width || plan.leftRoom >= page.cx / 2) break;
    plan.leftRoom = int(std::min<long long>(plan.leftRoom + width - edge, page.cx / 2));
  }
  return plan.leftRoom;
}

long long RulerStep(long long range) {
  long long t = range / 7;
  if (t <= 0) return 0;
  long long p = 1;
  while (t >= 10) {
    t /= 10;
    p *= 10;
  }
  return p * t;
}

long long NextRulerStep(long long step) {
  if (step <= 0) return 1;
  long long p = 1;
  while (step / p >= 10) p *= 10;
  return step / p * p + p;
}

void PixelBatch::Draw(CDC* dc, std::vector<POINT>& points, COLORREF colour) {
  if (points.empty()) return;
  dc->LPtoDP(points.data(), int(points.size()));
  const long long width = dc->GetDeviceCaps(HORZRES), height = dc->GetDeviceCaps(VERTRES);
  // A printer's page is too large to keep a stamp per pixel: every point is set.
  const bool stamped = width > 0 && height > 0 && width * height <= kMostStampedPixels;
  if (stamped) {
    if (stamps_.size() != std::size_t(width * height) || ++stamp_ == 0) {
      stamps_.assign(std::size_t(width * height), 0);
      stamp_ = 1;
    }
  }
  // Column by column: neighbouring SNPs share a column more often than a row.
  dc->SaveDC();
  dc->SetMapMode(MM_TEXT);
  dc->SetWindowOrg(0, 0);
  dc->SetViewportOrg(0, 0);
  // Walked backwards, the last point of a pixel is the one that is set, as
  // when every point is set in order.
  for (auto p = points.rbegin(); p != points.rend(); ++p) {
    if (stamped) {
      if (p->x < 0 || p->y < 0 || p->x >= width || p->y >= height) continue;
      std::uint8_t& seen = stamps_[std::size_t(p->x * height + p->y)];
      if (seen == stamp_) continue;
      seen = stamp_;
    }
    dc->SetPixel(p->x, p->y, colour);
  }
  dc->RestoreDC(-1);
}

}  // namespace qova::views
