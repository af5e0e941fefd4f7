#pragma once
// The drawing surface over a QPainter: the windows' paint, the raster canvas
// and the printer. It draws with the system's rules (one-pixel lines leave
// out their end point, raster operations, opaque text boxes).
#include <QFont>
#include <QRgb>

#include <optional>
#include <string>
#include <unordered_map>

#include "platform/ui/DrawSurface.h"

class QImage;
class QPainter;

namespace platform::qt {

class PainterSurface : public platform::ui::DrawSurface {
 public:
  // With `image` (the painter's own device) pixels are written straight into it.
  PainterSurface(QPainter& painter, platform::ui::DeviceCaps caps, QImage* image = nullptr);

  [[nodiscard]] platform::ui::DeviceCaps Caps() const override { return caps_; }
  void Line(int x1, int y1, int x2, int y2, const platform::ui::DevicePen& pen, int rop) override;
  [[nodiscard]] bool KeepsEmptyLines() const override { return false; }
  void Rectangle(const CRect& rect, const platform::ui::DevicePen* pen, const COLORREF* brush, int rop) override;
  void FillRect(const CRect& rect, COLORREF color) override;
  void SetPixel(int x, int y, COLORREF color) override;
  void InvertRect(const CRect& rect) override;
  void Text(const platform::ui::TextRun& run) override;
  [[nodiscard]] platform::ui::TextSize MeasureText(const platform::ui::DeviceFont& font,
                                                   std::string_view text) override;

 private:
  // Sets the painter's composition for `rop`; false when nothing is to be drawn.
  bool UseRop(int rop, COLORREF& color);
  // A solid one-pixel horizontal or vertical line copied straight into the
  // image; false (nothing drawn) for any other line.
  bool StraightLineIntoImage(int x1, int y1, int x2, int y2, const platform::ui::DevicePen& pen, int rop);
  const QFont& FontFor(const platform::ui::DeviceFont& font);

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
};

// The Qt font of a drawing font (the default face when it has none).
[[nodiscard]] QFont ToQFont(const platform::ui::DeviceFont& font);

}  // namespace platform::qt
