#include "platform/qt/PainterSurface.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>

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

QPen ToQPen(const DevicePen& pen, COLORREF color) {
  if (pen.width <= 1) {
    // The caller draws to the last pixel it wants set, which a square cap covers.
    QPen p(ToQColor(color), 0, ToQtStyle(pen.style), Qt::SquareCap, Qt::MiterJoin);
    p.setCosmetic(true);
    return p;
  }
  return QPen(ToQColor(color), pen.width, ToQtStyle(pen.style), Qt::RoundCap, Qt::RoundJoin);
}

QRect ToQRect(const CRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

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
    : painter_(painter), caps_(caps), image_(image) {
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
  // Most lines of a view are bars and steps of one pixel: they go straight
  // into the image, pixel for pixel what the painter would set.
  if (StraightLineIntoImage(x1, y1, x2, y2, pen, rop)) return;
  // Painters draw long runs of lines with one pen: set it only when it changes.
  if (!linePen_ || linePen_->color != pen.color || linePen_->width != pen.width || linePen_->style != pen.style ||
      lineRop_ != rop) {
    COLORREF color = pen.color;
    if (!UseRop(rop, color)) return;
    painter_.setPen(ToQPen(pen, color));
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
      painter_.setPen(ToQPen(*pen, color));
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
  linePen_.reset();
  if (rect.IsRectEmpty()) return;
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.fillRect(ToQRect(rect), ToQColor(color));
}

void PainterSurface::SetPixel(int x, int y, COLORREF color) {
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

void PainterSurface::InvertRect(const CRect& rect) {
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
  linePen_.reset();
  const QFont& font = FontFor(*run.font);
  QFontMetrics metrics(font);
  QString text = ToQString(run.text);
  painter_.save();
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (run.clip) painter_.setClipRect(ToQRect(*run.clip));
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
