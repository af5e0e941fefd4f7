#pragma once
// The navigation rules the chromosome views share: the default scales of each
// mode, the switch between SNP order and the base axis, stepping through the
// chromosomes, the zoom steps and the centring on a clicked point, fitting
// the drawing into the window, and the page grid of a tiled print. The main
// view and the association view both call these on their CViewLayout.
#include <cstdint>
#include <vector>

#include "core/DisplaySetting.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/WinTypes.h"

class CDC;
#include "views/ViewLayout.h"

class CDC;

namespace qova::views {

// Logical units per display size (m_nSizeX by m_nSizeY pixels).
struct ModeScales {
  int genomeX, genomeY, chromosomeX, chromosomeY;
};
// By array type in SNP order; type 12 draws as the other types of 1,000-SNP gaps.
[[nodiscard]] ModeScales ScalesInSnpOrder(int arrayType);
// On the base axis (10-base units), whatever the type.
inline constexpr ModeScales kBaseAxisScales{5000000, 1000, 2500000, 400};
// The x scale of a single chromosome that the context menu sets: as the View
// command's, but 50 (not 100) for the two smallest types.
[[nodiscard]] int ContextChromosomeScaleX(int arrayType);

// The factor that keeps a scroll position in SNP order comparable across
// array types: the position is multiplied by the old type's factor and
// divided by the new one's when the view takes another type.
[[nodiscard]] int ScrollCarryFactor(int arrayType);

// Ten-base units per SNP slot when the x axis switches between SNP order and
// base positions (the ratio of the two axes' scales).
[[nodiscard]] int BaseUnitsPerSlot(int arrayType);

// Chromosome 1..23 (23 = X), stepping round.
[[nodiscard]] int NextChromosome(int c);
[[nodiscard]] int PreviousChromosome(int c);

// A display size kept within 1..2^30 so that no zoom step or typed size overflows.
inline constexpr int kLargestDisplaySize = 1 << 30;
[[nodiscard]] int ClampDisplaySize(long long size);
// The step of a position ruler over `range` visible units: one leading digit
// times a power of ten, about a seventh of the range; 0 (no ticks) below 7.
[[nodiscard]] long long RulerStep(long long range);
// The next coarser step of the same kind: (d + 1) times the power of ten,
// and after 9 the next power of ten.
[[nodiscard]] long long NextRulerStep(long long step);

// Pixels of one colour set on a device context, each device pixel once: in a
// whole-genome row hundreds of SNPs fall on one pixel of the window.
class PixelBatch {
 public:
  // `points` are logical and are used up.
  void Draw(CDC* dc, std::vector<POINT>& points, COLORREF colour);

 private:
  static constexpr long long kMostStampedPixels = 1LL << 23;
  std::vector<std::uint8_t> stamps_;  // per device pixel, the batch that set it
  std::uint8_t stamp_ = 0;
};

// One step of "Zoom In" (x 3/2, + 1) and "Zoom Out" (x 2/3, + 1).
[[nodiscard]] int ZoomInSize(int size);
[[nodiscard]] int ZoomOutSize(int size);

// Puts logical point lx (or ly) in the middle of a client area `pixels` wide (high).
void CentreX(ViewMapping& mapping, long long lx, int pixels);
void CentreY(ViewMapping& mapping, long long ly, int pixels);
// Sizes the display so that the whole `extent` fills `client`, from the top-left corner.
void FitToWindow(ViewMapping& mapping, CSize extent, CSize client);

// How a drawing of `extent` logical units spreads over printed pages of
// `page` printer pixels when `printedSize` pixels show `printScale` logical
// units (200 along y). Printed sizes below 1 count as 1. The drawing takes
// as many columns and rows of pages as it needs at its printed size, and is
// then drawn larger until it fills them, as the screen's drawing fills the
// window: no page shows a strip of drawing over blank paper. Without
// `fill` it keeps its printed size on those pages.
struct PageGrid {
  long long columns = 1;
  long long rows = 1;
  // The display sizes that fill the columns and the rows.
  int printedWidth = 1;
  int printedHeight = 1;
  [[nodiscard]] long long Count() const { return columns * rows; }
};
inline constexpr int kPrintScaleY = 200;
// The framework stops at this page number whatever the count.
inline constexpr long long kLastPageNumber = 0xFFFE;
// The printable area of the printer of `dc`, in its pixels.
[[nodiscard]] CSize PrinterPage(CDC* dc);
// `leftRoom` printer pixels are kept free left of the drawing on the first
// column of pages: the drawing spreads over the rest.
[[nodiscard]] PageGrid PrintPageGrid(CSize extent, CSize page, CSize printedSize, int printScaleX, int leftRoom = 0,
                                     bool fill = true);

// What a view's mode asks of printing: the printed size and one-page switch
// of the display settings' PRINT keys, and the x units per printed size.
struct PrintPlan {
  CSize printedSize;
  bool onePage = false;
  int scaleX = 200;
  // Printer pixels kept free left of the drawing, for the labels a view
  // writes left of its first column (the screen shows them in the gap
  // before the column; on paper the fonts follow the page's height, and
  // the gap can be too narrow for them).
  int leftRoom = 0;
  // Whether tiles are drawn larger until they fill their pages (PageGrid);
  // else at the printed size.
  bool fillsPages = true;
};
[[nodiscard]] PrintPlan PrintPlanOf(const CDisplaySetting::PrintKeys& print, std::uint32_t viewFlags);
// The room `plan` must keep left of the drawing on pages of `page` pixels so
// that text `width` pixels wide ending at logical x `left` (the first
// column's left edge) begins on the page; at most half the page.
[[nodiscard]] int LeftRoomFor(PrintPlan plan, CSize extent, CSize page, int left, int width);
// The pages of a drawing of `extent` on printer pages of `page` pixels: one
// with the one-page switch.
[[nodiscard]] PageGrid PrintPages(const PrintPlan& plan, CSize extent, CSize page);
// The mapping that draws page `pageNumber` (from 1): the whole drawing fitted
// onto the page, or the page's tile at the printed size.
[[nodiscard]] ViewMapping PrintPageMapping(const PrintPlan& plan, CSize extent, CSize page, long long pageNumber);

}  // namespace qova::views
