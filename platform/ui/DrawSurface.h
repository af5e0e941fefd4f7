#pragma once
// What a drawing context draws on, in device pixels. The drawing context
// (DC.h) resolves mapping modes, pens, brushes and fonts; a surface only sets
// pixels: the recording canvas stores each call, the windowed implementation
// paints with QPainter.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui/Geometry.h"

namespace platform::ui {

struct DeviceCaps {
  int width = 0;  // pixels; a printer's: its printable area
  int height = 0;
  int dpiX = 96;
  int dpiY = 96;
  bool printer = false;
  // A printer's sheet of paper and where the printable area lies on it, in
  // pixels; a sheet of 0 is the printable area itself.
  int paperWidth = 0;
  int paperHeight = 0;
  int offsetX = 0;
  int offsetY = 0;
};

// The page a printer offers: an A4 sheet at 600 dpi, all of it printable,
// unless the print dialog says otherwise (Paper.h has the locale's sheet).
struct PrinterSettings {
  std::string name = "Default printer";
  int width = 4960;  // the printable area, pixels
  int height = 7016;
  int dpi = 600;
  // Where the pages go as a PDF file instead of to the printer (empty: the printer).
  std::string outputFile;
  // The sheet and the printable area's place on it (as in DeviceCaps).
  int paperWidth = 0;
  int paperHeight = 0;
  int offsetX = 0;
  int offsetY = 0;
};


struct DevicePen {
  COLORREF color = 0;
  int width = 1;  // pixels, at least 1
  int style = 0;  // PS_SOLID .. PS_NULL
};

struct DeviceFont {
  std::string face;  // empty: the default face
  int height = 0;    // character height in pixels; 0: the surface's default size
  bool cellHeight = false;  // the height includes the internal leading
  int width = 0;     // average character width, 0: natural
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int escapement = 0;  // tenths of a degree, counter-clockwise on the screen
};

struct TextSize {
  int width = 0;
  int height = 0;
  int ascent = 0;
};

struct TextRun {
  int x = 0;  // top-left corner of the text box before it is turned by the escapement
  int y = 0;
  std::string_view text;
  const DeviceFont* font = nullptr;
  COLORREF color = 0;
  bool opaque = false;  // fill the text box with the background colour first
  COLORREF background = 0xFFFFFF;
  const CRect* clip = nullptr;  // null: no clipping
};

class DrawSurface {
 public:
  virtual ~DrawSurface() = default;
  [[nodiscard]] virtual DeviceCaps Caps() const = 0;
  // A line from (x1, y1) to (x2, y2). Pens one pixel wide leave out the end
  // point, so that joined lines set each pixel once.
  virtual void Line(int x1, int y1, int x2, int y2, const DevicePen& pen, int rop) = 0;
  // Whether a one-pixel line of no length must still reach Line: a surface
  // that only sets pixels has nothing to set for it, a recording keeps it.
  [[nodiscard]] virtual bool KeepsEmptyLines() const { return true; }
  // Fills [left, right) x [top, bottom) with `brush` (null: hollow) and frames
  // it with `pen` (null: no frame), both through the raster operation.
  virtual void Rectangle(const CRect& rect, const DevicePen* pen, const COLORREF* brush, int rop) = 0;
  virtual void FillRect(const CRect& rect, COLORREF color) = 0;
  virtual void SetPixel(int x, int y, COLORREF color) = 0;
  // On paper, a pixel of a drawing whose logical unit is wider than the whole
  // device pixels a pixel of the screen holds: it covers `cell`, the device
  // pixels of its unit, so that neighbouring units' pixels touch as they do
  // on the screen. A surface that is no page sets the cell's first pixel.
  virtual void SetPixelCell(const CRect& cell, COLORREF color) { SetPixel(cell.left, cell.top, color); }
  virtual void InvertRect(const CRect& rect) = 0;
  virtual void Text(const TextRun& run) = 0;
  [[nodiscard]] virtual TextSize MeasureText(const DeviceFont& font, std::string_view text) = 0;
};

// The last pixel that a one-pixel line from (x1, y1) to (x2, y2) sets: the
// pixel before the end point along the line's longer axis.
[[nodiscard]] CPoint LastLinePixel(int x1, int y1, int x2, int y2);

// The metrics of the headless font: each character is 0.55 em wide, the
// ascent 0.8 em, and an unsized font 16 pixels high.
[[nodiscard]] TextSize HeadlessTextSize(const DeviceFont& font, std::string_view text);

}  // namespace platform::ui
