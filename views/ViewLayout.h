#pragma once
// The geometry of the chromosome views: the anisotropic mapping between the
// window's pixels and the view's logical units, the gap between chromosomes,
// the six-row genome layout, the extent of the drawing and the scroll bars
// over it, and the conversion of a mouse point into a chromosome and a SNP
// slot. The main view and the association view both lay out their columns
// with it.
//
// Logical x is one SNP slot in SNP order and ten bases on the base axis;
// logical y is the panels' own height units.
#include <array>
#include <cstdint>
#include <functional>

#include "platform/ui/Geometry.h"
#include "platform/ui/WinTypes.h"

class CWnd;

// Mode bits of m_nViewFlags.
inline constexpr std::uint32_t VIEW_ONE_CHROMOSOME = 0x1;  // clear: the whole genome
inline constexpr std::uint32_t VIEW_COMBINED_ARRAY = 0x2;  // slots reach the annotation through SortMap
inline constexpr std::uint32_t VIEW_SELF_REFERENCE = 0x4;
inline constexpr std::uint32_t VIEW_BASE_INTERVAL = 0x8;   // clear: x in SNP order
inline constexpr std::uint32_t VIEW_LOG_SCALE = 0x10;      // clear: linear ratios
inline constexpr std::uint32_t VIEW_MULTIPLE = 0x20;
inline constexpr std::uint32_t VIEW_INTEGRATE = 0x80;
inline constexpr std::uint32_t VIEW_NOT_ANALYSIS = 0x100;  // a result without its extracted sample
inline constexpr std::uint32_t VIEW_FRAGMENT_PLOT = 0x200;

// The tools of the left mouse button (m_nMouseMode), armed by the Parameter
// commands; a release of the band runs the tool on the selected range.
inline constexpr int MOUSE_NONE = 0;
inline constexpr int MOUSE_SD_RANGE = 1;
inline constexpr int MOUSE_ADJUST_AMP = 2;
inline constexpr int MOUSE_MEASURE = 3;
inline constexpr int MOUSE_CONTAMINATION = 4;
inline constexpr int MOUSE_MARK = 5;

// Window origin and extent against the viewport extent: logical units
// m_nScaleX wide fill m_nSizeX pixels. Every hand conversion between pixels
// and logical units goes through here and agrees with the drawing context,
// which maps the same way in 64 bits (multiply first, then divide, truncate).
struct ViewMapping {
  int m_nScrollX = 0, m_nScrollY = 0;  // logical point at the client area's top-left corner
  int m_nScaleX = 100, m_nScaleY = 100;
  int m_nSizeX = 100, m_nSizeY = 100;

  // A client pixel to a logical coordinate.
  [[nodiscard]] long long ToLogicalX(long long px) const;
  [[nodiscard]] long long ToLogicalY(long long py) const;
  // A logical coordinate to a client pixel.
  [[nodiscard]] long long ToDeviceX(long long x) const;
  [[nodiscard]] long long ToDeviceY(long long y) const;
  // How many logical units `pixels` pixels span.
  [[nodiscard]] long long LogicalWidth(long long pixels) const;
  [[nodiscard]] long long LogicalHeight(long long pixels) const;
};

// Length of chromosome c (entries 1..23) in logical units of either axis.
using ChromosomeLengths = std::array<int, 24>;

// The chromosome lengths of the base axis (ChromosomeStartTable, 10-base
// units) or of SNP order (`starts`: a type's row of the chromosome start
// table, entries 1..24).
[[nodiscard]] ChromosomeLengths LengthsOnBaseAxis();
[[nodiscard]] ChromosomeLengths LengthsInSnpOrder(const std::int32_t* starts);

// Where a mouse point fell, for HitTest.
struct HitAxis {
  bool oneChromosome = false;  // single-chromosome mode: the column is at m_nChromosomeX[0]
  bool baseInterval = false;   // x in 10-base units; the slot is found by position
  bool integral = false;       // the integral view wants the offset itself
  int chromosome = 1;          // the single-chromosome mode's chromosome
  const std::int32_t* starts = nullptr;  // the type's chromosome start row (entries 1..24)
  // The base-axis key of a slot: its annotated position / 10.
  std::function<long long(int slot)> positionKey;
};

class CViewLayout : public ViewMapping {
 public:
  // Chromosomes of each of the six genome rows, first and last.
  static constexpr std::array<std::array<int, 2>, 6> kGenomeRows{{{1, 2}, {3, 5}, {6, 8}, {9, 12}, {13, 17}, {18, 23}}};
  // Height of the label band above each row's panels.
  static constexpr int kLabelBand = 200;
  // The top of a row's first panel below the row's origin, under its label.
  static constexpr int kPanelTop = 400;

  // The gap between chromosomes: 5 Mb on the base axis, else by array type.
  [[nodiscard]] static int Gap(bool baseInterval, int arrayType);
  // The row of a single-sample view: 200 for the labels plus the panels the
  // item mask switches on (self or non-self set; the allele panels of a
  // non-self sample only with the allele-specific analysis on).
  [[nodiscard]] static int SampleRowHeight(int itemMask, bool selfReference, bool nonSelfAllele);

  // Lays the 23 chromosomes out in the six rows of height `rowHeight`, with
  // `gap` before each; sets m_nChromosomeX/Y, m_nRowHeight, m_nLayoutWidth.
  void ComputeGenomeLayout(const ChromosomeLengths& lengths, int gap, int rowHeight);
  // The whole drawing: the genome, or one chromosome with a gap each side.
  [[nodiscard]] CSize PageExtent(bool oneChromosome, int chromosome, const ChromosomeLengths& lengths) const;

  // Clamps the scroll position to the extent less the visible part of a
  // client area `client` pixels large, and sets both scroll bars of `wnd`.
  void UpdateLayout(CWnd& wnd, CSize extent);
  // A scroll-bar message on `bar` (SB_HORZ, SB_VERT): moves by a tenth or a
  // half of the page, or to the thumb; true when the position changed (the
  // window is then invalidated).
  bool Scroll(CWnd& wnd, int bar, UINT code);

  // Converts client point `p` to logical units (written back) and finds the
  // chromosome `c` (or takes the caller's when findChromosome is 0) and the
  // slot under it (`result`; the offset itself in the integral view). FALSE
  // with c = 0 when no chromosome's column holds the point, and FALSE when
  // the chromosome has no slots.
  BOOL HitTest(CPoint& p, int& c, int& result, BOOL findChromosome, const HitAxis& axis,
               const ChromosomeLengths& lengths) const;

  int m_nChromosomeX[24] = {};  // entry 0: the gap, the column's origin in the single mode
  int m_nChromosomeY[24] = {};
  int m_nRowHeight = 0;
  int m_nLayoutWidth = 0;
};
