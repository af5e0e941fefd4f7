#include "platform/ui/RecordingCanvas.h"

#include <algorithm>

namespace platform::ui {

void Picture::ReplayOn(DrawSurface& surface) const {
  for (const DrawRecord& r : records) {
    switch (r.op) {
      case DrawOp::Line: surface.Line(r.x1, r.y1, r.x2, r.y2, DevicePen{r.color, r.width, r.penStyle}, r.rop); break;
      case DrawOp::Rectangle: {
        DevicePen pen{r.color, r.width, r.penStyle};
        surface.Rectangle(r.Rect(), (r.flags & DrawRecord::kHasPen) ? &pen : nullptr,
                          (r.flags & DrawRecord::kHasBrush) ? &r.fill : nullptr, r.rop);
        break;
      }
      case DrawOp::FillRect: surface.FillRect(r.Rect(), r.color); break;
      case DrawOp::Pixel:
        if (r.flags & DrawRecord::kPixelCell)
          surface.SetPixelCell(r.Rect(), r.color);
        else
          surface.SetPixel(r.x1, r.y1, r.color);
        break;
      case DrawOp::Invert: surface.InvertRect(r.Rect()); break;
      case DrawOp::Text: {
        TextRun run;
        run.x = r.x1;
        run.y = r.y1;
        run.text = TextOf(r);
        run.font = &fonts[r.font];
        run.color = r.color;
        run.opaque = (r.flags & DrawRecord::kOpaque) != 0;
        run.background = r.fill;
        run.clip = r.clip ? &clips[r.clip - 1] : nullptr;
        surface.Text(run);
        break;
      }
    }
  }
}

std::size_t Picture::CountOf(DrawOp op) const {
  return std::size_t(std::count_if(records.begin(), records.end(), [op](const DrawRecord& r) { return r.op == op; }));
}

const DrawRecord* Picture::FindText(std::string_view text) const {
  for (const DrawRecord& r : records)
    if (r.op == DrawOp::Text && TextOf(r) == text) return &r;
  return nullptr;
}

void Picture::Clear() {
  records.clear();
  texts.clear();
  fonts.clear();
  clips.clear();
}

void RecordingSurface::Line(int x1, int y1, int x2, int y2, const DevicePen& pen, int rop) {
  DrawRecord r;
  r.op = DrawOp::Line;
  r.rop = std::uint8_t(rop);
  r.penStyle = std::uint8_t(pen.style);
  r.flags = DrawRecord::kHasPen;
  r.x1 = x1;
  r.y1 = y1;
  r.x2 = x2;
  r.y2 = y2;
  r.color = pen.color;
  r.width = pen.width;
  picture_.records.push_back(r);
}

void RecordingSurface::Rectangle(const CRect& rect, const DevicePen* pen, const COLORREF* brush, int rop) {
  DrawRecord r;
  r.op = DrawOp::Rectangle;
  r.rop = std::uint8_t(rop);
  r.x1 = rect.left;
  r.y1 = rect.top;
  r.x2 = rect.right;
  r.y2 = rect.bottom;
  if (pen) {
    r.flags |= DrawRecord::kHasPen;
    r.color = pen->color;
    r.width = pen->width;
    r.penStyle = std::uint8_t(pen->style);
  }
  if (brush) {
    r.flags |= DrawRecord::kHasBrush;
    r.fill = *brush;
  }
  picture_.records.push_back(r);
}

namespace {

// A record of `op` over `rect` in `color`.
DrawRecord AreaRecord(DrawOp op, const CRect& rect, COLORREF color) {
  DrawRecord r;
  r.op = op;
  r.x1 = rect.left;
  r.y1 = rect.top;
  r.x2 = rect.right;
  r.y2 = rect.bottom;
  r.color = color;
  return r;
}

}  // namespace

void RecordingSurface::FillRect(const CRect& rect, COLORREF color) {
  picture_.records.push_back(AreaRecord(DrawOp::FillRect, rect, color));
}

void RecordingSurface::SetPixel(int x, int y, COLORREF color) {
  DrawRecord r;
  r.op = DrawOp::Pixel;
  r.x1 = x;
  r.y1 = y;
  r.color = color;
  picture_.records.push_back(r);
}

void RecordingSurface::SetPixelCell(const CRect& cell, COLORREF color) {
  DrawRecord r = AreaRecord(DrawOp::Pixel, cell, color);
  r.flags = DrawRecord::kPixelCell;
  picture_.records.push_back(r);
}

void RecordingSurface::InvertRect(const CRect& rect) {
  DrawRecord r = AreaRecord(DrawOp::Invert, rect, 0);
  r.rop = 6;  // R2_NOT
  picture_.records.push_back(r);
}

void RecordingSurface::Text(const TextRun& run) {
  DrawRecord r;
  r.op = DrawOp::Text;
  TextSize size = MeasureText(*run.font, run.text);
  r.x1 = run.x;
  r.y1 = run.y;
  r.x2 = size.width;
  r.y2 = size.height;
  r.color = run.color;
  r.fill = run.background;
  if (run.opaque) r.flags |= DrawRecord::kOpaque;
  r.textOffset = std::uint32_t(picture_.texts.size());
  r.textLength = std::uint32_t(run.text.size());
  picture_.texts.append(run.text);
  auto& fonts = picture_.fonts;
  auto same = [&](const DeviceFont& f) {
    const DeviceFont& g = *run.font;
    return f.face == g.face && f.height == g.height && f.cellHeight == g.cellHeight && f.width == g.width &&
           f.weight == g.weight && f.italic == g.italic && f.underline == g.underline &&
           f.strikeOut == g.strikeOut && f.escapement == g.escapement;
  };
  if (fonts.empty() || !same(fonts.back())) fonts.push_back(*run.font);
  r.font = std::uint32_t(fonts.size() - 1);
  if (run.clip) {
    picture_.clips.push_back(*run.clip);
    r.clip = std::uint32_t(picture_.clips.size());
  }
  picture_.records.push_back(r);
}

TextSize RecordingSurface::MeasureText(const DeviceFont& font, std::string_view text) {
  return HeadlessTextSize(font, text);
}

RecordingCanvas::RecordingCanvas(int width, int height, int dpi, bool printer)
    : surface_(DeviceCaps{width, height, dpi, dpi, printer}) {
  SetSurface(&surface_);
}

}  // namespace platform::ui
