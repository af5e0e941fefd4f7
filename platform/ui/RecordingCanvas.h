#pragma once
// The recording canvas: a drawing context that stores every call with its
// resolved device geometry instead of drawing it. It is the oracle of the
// view tests, the picture of the clipboard and of a headless print job, and
// can be played back onto any other surface.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/DC.h"

namespace platform::ui {

enum class DrawOp : std::uint8_t { Line, Rectangle, FillRect, Pixel, Invert, Text };

// One call in device pixels. Lines: (x1, y1) to (x2, y2), the end point left
// out for one-pixel pens. Rectangles, fills and inversions: [x1, x2) x [y1, y2).
// Pixels: (x1, y1); a pixel cell of a page: [x1, x2) x [y1, y2). Text: the box's top-left corner (x1, y1) and its size
// (x2 wide, y2 high) before the escapement turns it.
struct DrawRecord {
  enum Flags : std::uint8_t { kHasPen = 1, kHasBrush = 2, kOpaque = 4, kPixelCell = 8 };
  DrawOp op = DrawOp::Pixel;
  std::uint8_t rop = 13;  // R2_COPYPEN
  std::uint8_t penStyle = 0;
  std::uint8_t flags = 0;
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  COLORREF color = 0;  // pen, pixel, fill or text colour
  COLORREF fill = 0;   // the brush of a rectangle, the background of opaque text
  std::int32_t width = 0;  // pen width in pixels
  std::uint32_t textOffset = 0;
  std::uint32_t textLength = 0;
  std::uint32_t font = 0;  // text: index into the fonts
  std::uint32_t clip = 0;  // text: 1 + index into the clips, 0 without clipping

  [[nodiscard]] CRect Rect() const { return {x1, y1, x2, y2}; }
  bool operator==(const DrawRecord&) const = default;
};

struct Picture {
  DeviceCaps caps;
  std::vector<DrawRecord> records;
  std::string texts;  // every text, one after another
  std::vector<DeviceFont> fonts;
  std::vector<CRect> clips;

  [[nodiscard]] std::string_view TextOf(const DrawRecord& r) const {
    return std::string_view(texts).substr(r.textOffset, r.textLength);
  }
  [[nodiscard]] const DeviceFont& FontOf(const DrawRecord& r) const { return fonts[r.font]; }
  // Draws every record again onto `surface`.
  void ReplayOn(DrawSurface& surface) const;
  [[nodiscard]] std::size_t CountOf(DrawOp op) const;
  // The first text record whose text is `text`, or null.
  [[nodiscard]] const DrawRecord* FindText(std::string_view text) const;
  void Clear();
};

class RecordingSurface : public DrawSurface {
 public:
  explicit RecordingSurface(DeviceCaps caps) { picture_.caps = caps; }

  [[nodiscard]] DeviceCaps Caps() const override { return picture_.caps; }
  void Line(int x1, int y1, int x2, int y2, const DevicePen& pen, int rop) override;
  void Rectangle(const CRect& rect, const DevicePen* pen, const COLORREF* brush, int rop) override;
  void FillRect(const CRect& rect, COLORREF color) override;
  void SetPixel(int x, int y, COLORREF color) override;
  void SetPixelCell(const CRect& cell, COLORREF color) override;
  void InvertRect(const CRect& rect) override;
  void Text(const TextRun& run) override;
  [[nodiscard]] TextSize MeasureText(const DeviceFont& font, std::string_view text) override;

  [[nodiscard]] const Picture& Contents() const { return picture_; }
  void Reserve(std::size_t records) { picture_.records.reserve(records); }
  void Clear() { picture_.Clear(); }

 private:
  Picture picture_;
};

// A drawing context that records onto its own surface.
class RecordingCanvas : public CDC {
 public:
  RecordingCanvas(int width, int height, int dpi = 96, bool printer = false);

  [[nodiscard]] const Picture& Contents() const { return surface_.Contents(); }
  [[nodiscard]] const std::vector<DrawRecord>& Records() const { return surface_.Contents().records; }
  [[nodiscard]] std::string_view TextOf(const DrawRecord& r) const { return Contents().TextOf(r); }
  void Reserve(std::size_t records) { surface_.Reserve(records); }
  void Clear() { surface_.Clear(); }

 private:
  RecordingSurface surface_;
};

}  // namespace platform::ui
