#include "platform/qt/PainterSurface.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/qt/QtText.h"
#include "platform/ui/DC.h"

namespace platform::qt {

using platform::ui::DeviceFont;
using platform::ui::DevicePen;

namespace {

Qt::PenStyle ToQtStyle(int style) {
  switch (style) {
    case PS_DASH: return Qt::DashLine;
    case PS_DOT: return Qt::DotLine;
    case PS_DASHDOT: return Qt::DashDotLine;
    case PS_DASHDOTDOT: return Qt::DashDotDotLine;
    case PS_NULL: return Qt::NoPen;
    default: return Qt::SolidLine;
  }
}

QPen ScreenPen(const DevicePen& pen, COLORREF color) {
  if (pen.width <= 1) {
    // The caller draws to the last pixel it wants set, which a square cap covers.
    QPen p(ToQColor(color), 0, ToQtStyle(pen.style), Qt::SquareCap, Qt::MiterJoin);
    p.setCosmetic(true);
    return p;
  }
  return QPen(ToQColor(color), pen.width, ToQtStyle(pen.style), Qt::RoundCap, Qt::RoundJoin);
}

QRect ToQRect(const CRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// Thins `run` to the points that show at the size of a screen pixel: within
// each stretch of points in one column of cells, the first, the lowest, the
// highest and the last, in the order they come.
void ThinRun(const std::vector<QPoint>& run, const std::function<int(int)>& column, QPainterPath& path) {
  path.moveTo(run.front().x() + 0.5, run.front().y() + 0.5);
  std::size_t start = 0;
  while (start < run.size()) {
    std::size_t end = start + 1;
    while (end < run.size() && column(run[end].x()) == column(run[start].x())) ++end;
    std::size_t low = start, high = start;
    for (std::size_t i = start; i < end; ++i) {
      if (run[i].y() < run[low].y()) low = i;
      if (run[i].y() > run[high].y()) high = i;
    }
    std::size_t kept[] = {start, std::min(low, high), std::max(low, high), end - 1};
    std::size_t previous = SIZE_MAX;
    for (std::size_t i : kept) {
      if (i == previous || i == 0) continue;
      path.lineTo(run[i].x() + 0.5, run[i].y() + 0.5);
      previous = i;
    }
    start = end;
  }
}

}  // namespace

QFont ToQFont(const DeviceFont& font) {
  QFont f = font.face.empty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont) : QFont(ToQString(font.face));
  int height = font.height > 0 ? font.height : 16;
  // A cell height includes the internal leading: the em is a little smaller.
  f.setPixelSize(std::max(1, font.cellHeight ? height * 17 / 20 : height));
  f.setWeight(QFont::Weight(std::clamp(font.weight, 100, 900)));
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setStrikeOut(font.strikeOut);
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

PainterSurface::PainterSurface(QPainter& painter, platform::ui::DeviceCaps caps, QImage* image)
    : painter_(painter), caps_(caps), image_(image), vector_(caps.printer) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  if (image_) {
    // The painter holds the image for the surface's life, so its pixels stay put.
    pixels_ = reinterpret_cast<QRgb*>(image_->bits());
    stride_ = image_->bytesPerLine() / qsizetype(sizeof(QRgb));
    width_ = image_->width();
    height_ = image_->height();
  }
}

PainterSurface::~PainterSurface() { Flush(); }

std::size_t PainterSurface::PieceHash::operator()(const Piece& p) const {
  std::size_t h = std::hash<int>()(p.x1);
  for (const int v : {p.y1, p.x2, p.y2}) h = h * 1000003u ^ std::hash<int>()(v);
  return h;
}

double PainterSurface::ScreenPixel() const { return std::max(1.0, caps_.dpiX / 96.0); }

QPen PainterSurface::PenFor(const DevicePen& pen, COLORREF color) const {
  if (!vector_) return ScreenPen(pen, color);
  // The dash patterns are counted in pen widths: a pen a screen pixel wide
  // keeps the screen's dots and dashes at their size on paper.
  return QPen(ToQColor(color), std::max(double(pen.width), ScreenPixel()), ToQtStyle(pen.style), Qt::FlatCap,
              Qt::RoundJoin);
}

int PainterSurface::Cell(int v) const { return int(std::floor(v / ScreenPixel())); }

double PainterSurface::CellMiddle(int v) const { return (Cell(v) + 0.5) * ScreenPixel(); }

void PainterSurface::EndRun() {
  if (run_.size() == 2) {
    // A single line: once in the cells it joins, through their middles.
    const QPoint a = run_[0], b = run_[1];
    if (pathPieces_.insert({Cell(a.x()), Cell(a.y()), Cell(b.x()), Cell(b.y())}).second) {
      path_.moveTo(CellMiddle(a.x()), CellMiddle(a.y()));
      path_.lineTo(CellMiddle(b.x()), CellMiddle(b.y()));
    }
  } else if (run_.size() > 2) {
    ThinRun(run_, [this](int x) { return Cell(x); }, path_);
  }
  run_.clear();
}

void PainterSurface::Flush() {
  EndRun();
  if (pathKind_ == PathKind::Lines && !path_.isEmpty()) {
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.strokePath(path_, PenFor(pathPen_, pathPen_.color));
  } else if (pathKind_ == PathKind::Pixels && !pathPixels_.empty()) {
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(pathPen_.color));
    painter_.drawRects(pathPixels_.data(), int(pathPixels_.size()));
    painter_.setBrush(Qt::NoBrush);
    linePen_.reset();
  }
  pathKind_ = PathKind::None;
  path_.clear();
  pathPixels_.clear();
  pathEnd_.reset();
  pathPieces_.clear();
}

void PainterSurface::PathLine(int x1, int y1, int x2, int y2, const DevicePen& pen) {
  if (pathKind_ != PathKind::Lines || pathPen_.color != pen.color || pathPen_.width != pen.width ||
      pathPen_.style != pen.style) {
    Flush();
    pathKind_ = PathKind::Lines;
    pathPen_ = pen;
  }
  if (run_.empty() || !pathEnd_ || *pathEnd_ != std::pair(x1, y1)) {
    EndRun();
    run_.emplace_back(x1, y1);
  }
  run_.emplace_back(x2, y2);
  pathEnd_ = std::pair(x2, y2);
}

void PainterSurface::PathPixelRect(const QRectF& rect, int x1, int y1, int x2, int y2, COLORREF color) {
  if (pathKind_ != PathKind::Pixels || pathPen_.color != color) {
    Flush();
    pathKind_ = PathKind::Pixels;
    pathPen_.color = color;
  }
  if (pathPieces_.insert({x1, y1, x2, y2}).second) pathPixels_.push_back(rect);
}

void PainterSurface::PathPixel(int x, int y, COLORREF color) {
  const double side = ScreenPixel();
  PathPixelRect(QRectF(CellMiddle(x) - side / 2, CellMiddle(y) - side / 2, side, side), Cell(x), Cell(y), Cell(x),
                Cell(y), color);
}

bool PainterSurface::UseRop(int rop, COLORREF& color) {
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  switch (rop) {
    case R2_NOP: return false;
    case R2_BLACK: color = 0; break;
    case R2_WHITE: color = RGB(255, 255, 255); break;
    case R2_NOT: mode = QPainter::RasterOp_NotDestination; break;
    case R2_XORPEN: mode = QPainter::RasterOp_SourceXorDestination; break;
    case R2_NOTXORPEN: mode = QPainter::RasterOp_NotSourceXorDestination; break;
    case R2_MASKPEN: mode = QPainter::RasterOp_SourceAndDestination; break;
    case R2_MERGEPEN: mode = QPainter::RasterOp_SourceOrDestination; break;
    case R2_NOTCOPYPEN: mode = QPainter::RasterOp_NotSource; break;
    case R2_NOTMASKPEN: mode = QPainter::RasterOp_NotSourceOrNotDestination; break;
    case R2_NOTMERGEPEN: mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case R2_MASKNOTPEN: mode = QPainter::RasterOp_NotSourceAndDestination; break;
    case R2_MASKPENNOT: mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case R2_MERGENOTPEN: mode = QPainter::RasterOp_NotSourceOrDestination; break;
    case R2_MERGEPENNOT: mode = QPainter::RasterOp_SourceOrNotDestination; break;
    default: break;
  }
  painter_.setCompositionMode(mode);
  return true;
}

bool PainterSurface::StraightLineIntoImage(int x1, int y1, int x2, int y2, const DevicePen& pen, int rop) {
  if (!pixels_ || pen.width > 1 || pen.style != PS_SOLID || rop != R2_COPYPEN || (x1 != x2 && y1 != y2)) return false;
  // The pixels a one-pixel line sets: from its start up to, not including, its end.
  if (x1 == x2 && y1 == y2) return true;
  const QRgb rgb = qRgb(GetRValue(pen.color), GetGValue(pen.color), GetBValue(pen.color));
  const int w = width_, h = height_;
  QRgb* bits = pixels_;
  const qsizetype stride = stride_;
  if (x1 == x2) {
    if (x1 < 0 || x1 >= w) return true;
    const int from = y1 < y2 ? y1 : y2 + 1, to = y1 < y2 ? y2 - 1 : y1;
    for (int y = std::max(from, 0), last = std::min(to, h - 1); y <= last; ++y) bits[y * stride + x1] = rgb;
  } else {
    if (y1 < 0 || y1 >= h) return true;
    const int from = x1 < x2 ? x1 : x2 + 1, to = x1 < x2 ? x2 - 1 : x1;
    QRgb* row = bits + y1 * stride;
    const int first = std::max(from, 0), last = std::min(to, w - 1);
    if (first <= last) std::fill(row + first, row + last + 1, rgb);
  }
  return true;
}

void PainterSurface::Line(int x1, int y1, int x2, int y2, const DevicePen& pen, int rop) {
  if (pen.style == PS_NULL) return;
  if (vector_) {
    if (rop == R2_COPYPEN) {
      if (x1 != x2 || y1 != y2) PathLine(x1, y1, x2, y2, pen);
      return;
    }
    Flush();
  }
  // Most lines of a view are bars and steps of one pixel: they go straight
  // into the image, pixel for pixel what the painter would set.
  if (StraightLineIntoImage(x1, y1, x2, y2, pen, rop)) return;
  // Painters draw long runs of lines with one pen: set it only when it changes.
  if (!linePen_ || linePen_->color != pen.color || linePen_->width != pen.width || linePen_->style != pen.style ||
      lineRop_ != rop) {
    COLORREF color = pen.color;
    if (!UseRop(rop, color)) return;
    painter_.setPen(PenFor(pen, color));
    linePen_ = pen;
    lineRop_ = rop;
  }
  if (pen.width <= 1) {
    if (x1 == x2 && y1 == y2) return;
    CPoint last = platform::ui::LastLinePixel(x1, y1, x2, y2);
    if (last.x == x1 && last.y == y1)
      painter_.drawPoint(x1, y1);
    else
      painter_.drawLine(x1, y1, last.x, last.y);
  } else {
    painter_.drawLine(x1, y1, x2, y2);
  }
}

void PainterSurface::Rectangle(const CRect& rect, const DevicePen* pen, const COLORREF* brush, int rop) {
  Flush();
  linePen_.reset();
  if (rect.IsRectEmpty()) return;
  int inset = pen && pen->style != PS_NULL ? std::max(1, pen->width / 2) : 0;
  if (brush) {
    COLORREF color = *brush;
    if (UseRop(rop, color)) {
      CRect inner = rect;
      inner.InflateRect(-inset, -inset);
      if (!inner.IsRectEmpty()) painter_.fillRect(ToQRect(inner), ToQColor(color));
    }
  }
  if (pen && pen->style != PS_NULL) {
    COLORREF color = pen->color;
    if (UseRop(rop, color)) {
      painter_.setPen(PenFor(*pen, color));
      painter_.setBrush(Qt::NoBrush);
      if (pen->width <= 1)
        painter_.drawRect(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
      else
        painter_.drawRect(QRectF(rect.left + pen->width / 2.0, rect.top + pen->width / 2.0, rect.Width() - pen->width,
                                 rect.Height() - pen->width));
    }
  }
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void PainterSurface::FillRect(const CRect& rect, COLORREF color) {
  Flush();
  linePen_.reset();
  if (rect.IsRectEmpty()) return;
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.fillRect(ToQRect(rect), ToQColor(color));
}

void PainterSurface::SetPixel(int x, int y, COLORREF color) {
  if (vector_) {
    PathPixel(x, y, color);
    return;
  }
  if (pixels_) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[qsizetype(y) * stride_ + x] = qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
    return;
  }
  linePen_.reset();
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  QPen pen(ToQColor(color), 0);
  pen.setCosmetic(true);
  painter_.setPen(pen);
  painter_.drawPoint(x, y);
}

void PainterSurface::SetPixelCell(const CRect& cell, COLORREF color) {
  if (!vector_) {
    SetPixel(cell.left, cell.top, color);
    return;
  }
  // Along an axis where the unit is narrower, the cell takes a screen pixel.
  // Its key runs from corner to corner (left < right), so it never meets a
  // screen pixel's key, whose corners are one cell.
  const double side = ScreenPixel();
  const double width = std::max<double>(cell.Width(), side), height = std::max<double>(cell.Height(), side);
  PathPixelRect(QRectF(cell.left, cell.top, width, height), cell.left, cell.top, cell.right, cell.bottom, color);
}

void PainterSurface::InvertRect(const CRect& rect) {
  Flush();
  linePen_.reset();
  if (rect.IsRectEmpty()) return;
  painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
  painter_.fillRect(ToQRect(rect), Qt::white);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

const QFont& PainterSurface::FontFor(const DeviceFont& font) {
  auto same = [](const DeviceFont& a, const DeviceFont& b) {
    return a.face == b.face && a.height == b.height && a.cellHeight == b.cellHeight && a.weight == b.weight &&
           a.italic == b.italic && a.underline == b.underline && a.strikeOut == b.strikeOut;
  };
  if (!fontKey_ || !same(*fontKey_, font)) {
    fontKey_ = font;
    font_ = ToQFont(font);
  }
  return font_;
}

void PainterSurface::Text(const platform::ui::TextRun& run) {
  Flush();
  linePen_.reset();
  const QFont& font = FontFor(*run.font);
  QFontMetrics metrics(font);
  QString text = ToQString(run.text);
  painter_.save();
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (run.clip) painter_.setClipRect(ToQRect(*run.clip), Qt::IntersectClip);
  painter_.translate(run.x, run.y);
  if (run.font->escapement) painter_.rotate(-run.font->escapement / 10.0);
  if (run.opaque)
    painter_.fillRect(QRect(0, 0, MeasureText(*run.font, run.text).width, metrics.height()), ToQColor(run.background));
  painter_.setFont(font);
  painter_.setPen(ToQColor(run.color));
  painter_.drawText(0, metrics.ascent(), text);
  painter_.restore();
}

platform::ui::TextSize PainterSurface::MeasureText(const DeviceFont& font, std::string_view text) {
  // A view writes the same labels over and over; shaping a text is costly.
  std::string key = font.face;
  for (const int v : {font.height, int(font.cellHeight), font.weight, int(font.italic), int(font.underline),
                      int(font.strikeOut)})
    key += '\x01' + std::to_string(v);
  key += '\x02';
  key += text;
  if (const auto it = measured_.find(key); it != measured_.end()) return it->second;
  QFontMetrics metrics(FontFor(font));
  const platform::ui::TextSize size{metrics.horizontalAdvance(ToQString(text)), metrics.height(), metrics.ascent()};
  measured_.emplace(std::move(key), size);
  return size;
}

}  // namespace platform::qt
