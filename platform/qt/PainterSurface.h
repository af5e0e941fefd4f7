#pragma once
// The drawing surface over a QPainter: the windows' paint, the raster canvas
// and the printer. It draws with the system's rules (one-pixel lines leave
// out their end point, raster operations, opaque text boxes).
//
// On a printer's page (a device whose caps say printer) it draws in vectors,
// as the screen shows the drawing but at the page's size: a line one pixel
// wide is a screen pixel (1/96 inch) wide with its dots and dashes to scale,
// and a pixel a screen pixel's square. Joined lines go out as one polyline
// that keeps, within each screen pixel's column, its first, lowest, highest
// and last points; single lines and pixels go out once per screen pixel they
// fall in, a pixel of a drawing whose units are wider than the whole device
// pixels of a screen pixel over its whole unit; the lines and pixels of one
// pen make one path. So a page of a quarter million SNPs stays small and
// looks as it does on the screen.
#include <QFont>
#include <QPen>
#include <QPoint>
#include <QPainterPath>
#include <QRectF>
#include <QRgb>

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/ui/DrawSurface.h"

class QImage;
class QPainter;

namespace platform::qt {

class PainterSurface : public platform::ui::DrawSurface {
 public:
  // With `image` (the painter's own device) pixels are written straight into it.
  PainterSurface(QPainter& painter, platform::ui::DeviceCaps caps, QImage* image = nullptr);
  // Draws what a printer's page still holds back.
  ~PainterSurface() override;
  PainterSurface(const PainterSurface&) = delete;
  PainterSurface& operator=(const PainterSurface&) = delete;
  // Draws the lines and pixels a printer's page holds back to join them.
  void Flush();

  [[nodiscard]] platform::ui::DeviceCaps Caps() const override { return caps_; }
  void Line(int x1, int y1, int x2, int y2, const platform::ui::DevicePen& pen, int rop) override;
  [[nodiscard]] bool KeepsEmptyLines() const override { return false; }
  void Rectangle(const CRect& rect, const platform::ui::DevicePen* pen, const COLORREF* brush, int rop) override;
  void FillRect(const CRect& rect, COLORREF color) override;
  void SetPixel(int x, int y, COLORREF color) override;
  void SetPixelCell(const CRect& cell, COLORREF color) override;
  void InvertRect(const CRect& rect) override;
  void Text(const platform::ui::TextRun& run) override;
  [[nodiscard]] platform::ui::TextSize MeasureText(const platform::ui::DeviceFont& font,
                                                   std::string_view text) override;

 private:
  // Sets the painter's composition for `rop`; false when nothing is to be drawn.
  bool UseRop(int rop, COLORREF& color);
  // The Qt pen that draws `pen` in `color` on this device.
  [[nodiscard]] QPen PenFor(const platform::ui::DevicePen& pen, COLORREF color) const;
  // A solid one-pixel horizontal or vertical line copied straight into the
  // image; false (nothing drawn) for any other line.
  bool StraightLineIntoImage(int x1, int y1, int x2, int y2, const platform::ui::DevicePen& pen, int rop);
  const QFont& FontFor(const platform::ui::DeviceFont& font);
  // A printer's page: adds the line or the pixel to the path of its pen or colour.
  void PathLine(int x1, int y1, int x2, int y2, const platform::ui::DevicePen& pen);
  void PathPixel(int x, int y, COLORREF color);
  // Adds `rect` to the path of pixels of `color`, once for the cells (or
  // device pixels) it spans from (x1, y1) to (x2, y2).
  void PathPixelRect(const QRectF& rect, int x1, int y1, int x2, int y2, COLORREF color);
  // Adds the joined lines gathered so far to the path.
  void EndRun();
  // The screen pixel's cell that device pixel `v` lies in, and its middle.
  [[nodiscard]] int Cell(int v) const;
  [[nodiscard]] double CellMiddle(int v) const;
  // The size on a printer's page of one pixel of the screen, in device pixels.
  [[nodiscard]] double ScreenPixel() const;

  QPainter& painter_;
  platform::ui::DeviceCaps caps_;
  QImage* image_;
  // The image's pixels, for what is written straight into it.
  QRgb* pixels_ = nullptr;
  qsizetype stride_ = 0;
  int width_ = 0, height_ = 0;
  std::optional<platform::ui::DevicePen> linePen_;  // the pen and raster operation lines use now
  int lineRop_ = 0;
  std::optional<platform::ui::DeviceFont> fontKey_;
  QFont font_;
  // Sizes of the texts measured, by font and text.
  std::unordered_map<std::string, platform::ui::TextSize> measured_;

  // A printer's page: the path being gathered, of lines of one pen or of
  // pixels of one colour, the end of its last line, and the pieces it holds
  // (a piece drawn twice adds nothing).
  bool vector_ = false;
  enum class PathKind { None, Lines, Pixels } pathKind_ = PathKind::None;
  platform::ui::DevicePen pathPen_;
  QPainterPath path_;
  std::vector<QRectF> pathPixels_;
  std::vector<QPoint> run_;  // joined lines not yet in the path
  std::optional<std::pair<int, int>> pathEnd_;
  struct Piece {
    int x1, y1, x2, y2;
    bool operator==(const Piece&) const = default;
  };
  struct PieceHash {
    std::size_t operator()(const Piece& p) const;
  };
  std::unordered_set<Piece, PieceHash> pathPieces_;
};

// The Qt font of a drawing font (the default face when it has none).
[[nodiscard]] QFont ToQFont(const platform::ui::DeviceFont& font);

}  // namespace platform::qt
