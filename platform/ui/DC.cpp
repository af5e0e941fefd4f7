#include "platform/ui/DC.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/ui/Backend.h"
#include "platform/ui/Resources.h"
#include "platform/ui/Wnd.h"

using platform::ui::DeviceFont;
using platform::ui::DevicePen;

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CDC, CObject)

namespace {

// Device coordinates are kept within this bound; lines are clipped to it
// first, so a far-off end point keeps its line's slope.
constexpr long long kDeviceLimit = 1LL << 28;

int ClampDevice(long long v) { return int(std::clamp(v, -kDeviceLimit, kDeviceLimit)); }

// Clips the segment to the device bound; false when nothing of it is left.
bool ClipToLimit(long long& x1, long long& y1, long long& x2, long long& y2) {
  auto inside = [](long long v) { return v >= -kDeviceLimit && v <= kDeviceLimit; };
  if (inside(x1) && inside(y1) && inside(x2) && inside(y2)) return true;
  double t0 = 0, t1 = 1;
  double dx = double(x2 - x1), dy = double(y2 - y1);
  auto clip = [&](double p, double q) {
    if (p == 0) return q >= 0;
    double r = q / p;
    if (p < 0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
    return true;
  };
  double lim = double(kDeviceLimit);
  if (!clip(-dx, double(x1) + lim) || !clip(dx, lim - double(x1)) || !clip(-dy, double(y1) + lim) ||
      !clip(dy, lim - double(y1)))
    return false;
  long long nx1 = x1 + std::llround(t0 * dx), ny1 = y1 + std::llround(t0 * dy);
  long long nx2 = x1 + std::llround(t1 * dx), ny2 = y1 + std::llround(t1 * dy);
  x1 = nx1;
  y1 = ny1;
  x2 = nx2;
  y2 = ny2;
  return true;
}

struct StockObjects {
  CBrush white{RGB(255, 255, 255)}, ltgray{RGB(192, 192, 192)}, gray{RGB(128, 128, 128)},
      dkgray{RGB(64, 64, 64)}, black{RGB(0, 0, 0)}, hollow;
  CPen whitePen{PS_SOLID, 0, RGB(255, 255, 255)}, blackPen{PS_SOLID, 0, RGB(0, 0, 0)}, nullPen{PS_NULL, 0, 0};
  CFont systemFont;
  StockObjects() {
    hollow.m_bHollow = true;
    LOGFONT lf;
    systemFont.CreateFontIndirect(&lf);
  }
};

StockObjects& Stock() {
  static StockObjects stock;
  return stock;
}

}  // namespace

namespace platform::ui {

void SetFaceName(LOGFONT& font, std::string_view face) {
  std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
  std::memcpy(font.lfFaceName, face.data(), std::min(face.size(), sizeof font.lfFaceName - 1));
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  long long product = static_cast<long long>(a) * b;
  long long quotient = product / c;
  long long remainder = product % c;
  if (2 * std::llabs(remainder) >= std::llabs(static_cast<long long>(c))) quotient += ((product < 0) != (c < 0)) ? -1 : 1;
  return int(quotient);
}

CPoint LastLinePixel(int x1, int y1, int x2, int y2) {
  long long dx = (long long)x2 - x1, dy = (long long)y2 - y1;
  if (dx == 0 && dy == 0) return {x1, y1};
  auto roundDiv = [](long long n, long long d) {
    // n / d rounded half away from zero (d > 0).
    return n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d);
  };
  if (std::llabs(dx) >= std::llabs(dy)) {
    long long x = x2 - (dx > 0 ? 1 : -1);
    long long steps = std::llabs(dx);
    long long y = y1 + roundDiv(dy * std::llabs(x - x1), steps);
    return {LONG(x), LONG(y)};
  }
  long long y = y2 - (dy > 0 ? 1 : -1);
  long long steps = std::llabs(dy);
  long long x = x1 + roundDiv(dx * std::llabs(y - y1), steps);
  return {LONG(x), LONG(y)};
}

TextSize HeadlessTextSize(const DeviceFont& font, std::string_view text) {
  int h = font.height > 0 ? font.height : 16;
  int charWidth = font.width > 0 ? font.width : std::max(1, (h * 11 + 10) / 20);
  return {int(text.size()) * charWidth, h, (h * 4 + 2) / 5};
}

}  // namespace platform::ui

BOOL CGdiObject::DeleteObject() {
  if (!m_bCreated) return FALSE;
  m_bCreated = false;
  return TRUE;
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
  m_nStyle = style;
  m_nWidth = width;
  m_color = color;
  m_bCreated = true;
  return TRUE;
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
  m_color = color;
  m_bHollow = false;
  m_bCreated = true;
  return TRUE;
}

BOOL CFont::CreatePointFont(int pointSize, std::string_view face, CDC* dc) {
  LOGFONT lf;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfHeight = pointSize;
  platform::ui::SetFaceName(lf, face);
  return CreatePointFontIndirect(&lf, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* font, CDC* dc) {
  LOGFONT lf = *font;
  int dpi = dc ? dc->GetDeviceCaps(LOGPIXELSY) : 96;
  POINT size{0, platform::ui::MulDiv(dpi, lf.lfHeight, 720)};
  if (dc) {
    POINT origin{0, 0};
    dc->DPtoLP(&size);
    dc->DPtoLP(&origin);
    size.y -= origin.y;
  }
  lf.lfHeight = -std::abs(size.y);
  return CreateFontIndirect(&lf);
}

BOOL CFont::CreateFontIndirect(const LOGFONT* font) {
  m_logFont = *font;
  m_bCreated = true;
  return TRUE;
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, std::string_view face) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfStrikeOut = strikeOut;
  lf.lfCharSet = charSet;
  lf.lfOutPrecision = outPrecision;
  lf.lfClipPrecision = clipPrecision;
  lf.lfQuality = quality;
  lf.lfPitchAndFamily = pitchAndFamily;
  platform::ui::SetFaceName(lf, face);
  return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* font) const {
  if (!font) return 0;
  *font = m_logFont;
  return int(sizeof(LOGFONT));
}

CDC::CDC(platform::ui::DrawSurface* surface)
    : surface_(surface), keepsEmptyLines_(!surface || surface->KeepsEmptyLines()) {
  state_.pen = &Stock().blackPen;
  state_.brush = &Stock().white;
  state_.font = &Stock().systemFont;
}

CDC::~CDC() = default;

// Mapping.

CSize CDC::IsotropicViewportExt() const {
  CSize v = state_.viewportExt;
  // The isotropic mode shrinks one viewport extent so both axes share a scale.
  const CSize w = state_.windowExt;
  long long ax = std::llabs((long long)v.cx * w.cy), ay = std::llabs((long long)v.cy * w.cx);
  if (ax > ay && w.cy != 0)
    v.cx = LONG((v.cx < 0 ? -1 : 1) * std::llabs((long long)v.cy * w.cx / w.cy));
  else if (ay > ax && w.cx != 0)
    v.cy = LONG((v.cy < 0 ? -1 : 1) * std::llabs((long long)v.cx * w.cy / w.cx));
  return v;
}

void CDC::ComputeTransform() const {
  const CSize v = EffectiveViewportExt();
  Transform& t = xf_;
  t.scaledX = state_.mapMode != MM_TEXT && state_.windowExt.cx != 0;
  t.scaledY = state_.mapMode != MM_TEXT && state_.windowExt.cy != 0;
  t.windowOrgX = state_.windowOrg.x;
  t.windowOrgY = state_.windowOrg.y;
  t.viewportOrgX = state_.viewportOrg.x;
  t.viewportOrgY = state_.viewportOrg.y;
  t.viewportExtX = v.cx;
  t.viewportExtY = v.cy;
  t.windowExtX = state_.windowExt.cx;
  t.windowExtY = state_.windowExt.cy;
  t.valid = true;
}

long long CDC::UnmapX(long long x) const {
  long long d = x - state_.viewportOrg.x;
  CSize v = EffectiveViewportExt();
  if (state_.mapMode != MM_TEXT && v.cx != 0) d = d * state_.windowExt.cx / v.cx;
  return d + state_.windowOrg.x;
}

long long CDC::UnmapY(long long y) const {
  long long d = y - state_.viewportOrg.y;
  CSize v = EffectiveViewportExt();
  if (state_.mapMode != MM_TEXT && v.cy != 0) d = d * state_.windowExt.cy / v.cy;
  return d + state_.windowOrg.y;
}

int CDC::SetMapMode(int mode) {
  MappingChanged();
  int previous = state_.mapMode;
  state_.mapMode = mode;
  if (mode == MM_TEXT) {
    state_.windowExt = {1, 1};
    state_.viewportExt = {1, 1};
  }
  return previous;
}

CPoint CDC::SetWindowOrg(int x, int y) {
  MappingChanged();
  return std::exchange(state_.windowOrg, CPoint(x, y));
}

CSize CDC::SetExtent(CSize& extent, int cx, int cy) {
  MappingChanged();
  CSize previous = extent;
  // Extents count only in the scaled modes, and never as zero.
  if ((state_.mapMode == MM_ISOTROPIC || state_.mapMode == MM_ANISOTROPIC) && cx != 0 && cy != 0) extent = {cx, cy};
  return previous;
}

CSize CDC::SetWindowExt(int cx, int cy) { return SetExtent(state_.windowExt, cx, cy); }

CPoint CDC::SetViewportOrg(int x, int y) {
  MappingChanged();
  return std::exchange(state_.viewportOrg, CPoint(x, y));
}

CSize CDC::SetViewportExt(int cx, int cy) { return SetExtent(state_.viewportExt, cx, cy); }

void CDC::LPtoDP(POINT* points, int count) const {
  for (int i = 0; i < count; ++i) {
    points[i].x = ClampDevice(MapX(points[i].x));
    points[i].y = ClampDevice(MapY(points[i].y));
  }
}

void CDC::LPtoDP(RECT* rect) const {
  rect->left = ClampDevice(MapX(rect->left));
  rect->top = ClampDevice(MapY(rect->top));
  rect->right = ClampDevice(MapX(rect->right));
  rect->bottom = ClampDevice(MapY(rect->bottom));
}

void CDC::LPtoDP(SIZE* size) const {
  size->cx = ClampDevice(MapX(size->cx) - MapX(0));
  size->cy = ClampDevice(MapY(size->cy) - MapY(0));
}

void CDC::DPtoLP(POINT* points, int count) const {
  for (int i = 0; i < count; ++i) {
    points[i].x = LONG(std::clamp<long long>(UnmapX(points[i].x), INT32_MIN, INT32_MAX));
    points[i].y = LONG(std::clamp<long long>(UnmapY(points[i].y), INT32_MIN, INT32_MAX));
  }
}

void CDC::DPtoLP(RECT* rect) const {
  POINT p[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
  DPtoLP(p, 2);
  *rect = {p[0].x, p[0].y, p[1].x, p[1].y};
}

void CDC::DPtoLP(SIZE* size) const {
  size->cx = LONG(std::clamp<long long>(UnmapX(size->cx) - UnmapX(0), INT32_MIN, INT32_MAX));
  size->cy = LONG(std::clamp<long long>(UnmapY(size->cy) - UnmapY(0), INT32_MIN, INT32_MAX));
}

// Objects and attributes.

CPen* CDC::SelectObject(CPen* pen) {
  CPen* previous = state_.pen;
  if (pen) state_.pen = pen;
  return previous;
}

CBrush* CDC::SelectObject(CBrush* brush) {
  CBrush* previous = state_.brush;
  if (brush) state_.brush = brush;
  return previous;
}

CFont* CDC::SelectObject(CFont* font) {
  CFont* previous = state_.font;
  if (font) state_.font = font;
  return previous;
}

CGdiObject* CDC::SelectStockObject(int index) {
  StockObjects& s = Stock();
  switch (index) {
    case WHITE_BRUSH: return SelectObject(&s.white);
    case LTGRAY_BRUSH: return SelectObject(&s.ltgray);
    case GRAY_BRUSH: return SelectObject(&s.gray);
    case DKGRAY_BRUSH: return SelectObject(&s.dkgray);
    case BLACK_BRUSH: return SelectObject(&s.black);
    case NULL_BRUSH: return SelectObject(&s.hollow);
    case WHITE_PEN: return SelectObject(&s.whitePen);
    case BLACK_PEN: return SelectObject(&s.blackPen);
    case NULL_PEN: return SelectObject(&s.nullPen);
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT: return SelectObject(&s.systemFont);
    default: return nullptr;
  }
}

COLORREF CDC::SetTextColor(COLORREF color) { return std::exchange(state_.textColor, color); }
COLORREF CDC::SetBkColor(COLORREF color) { return std::exchange(state_.bkColor, color); }
int CDC::SetBkMode(int mode) { return std::exchange(state_.bkMode, mode); }
int CDC::SetROP2(int rop) { return std::exchange(state_.rop2, rop); }
UINT CDC::SetTextAlign(UINT align) { return std::exchange(state_.textAlign, align); }

int CDC::SaveDC() {
  saved_.push_back(state_);
  return int(saved_.size());
}

BOOL CDC::RestoreDC(int savedDC) {
  MappingChanged();
  int level = savedDC < 0 ? int(saved_.size()) + 1 + savedDC : savedDC;
  if (level < 1 || level > int(saved_.size())) return FALSE;
  state_ = saved_[size_t(level - 1)];
  saved_.resize(size_t(level - 1));
  return TRUE;
}

DevicePen CDC::ResolvePen() const {
  const CPen& pen = *state_.pen;
  const LONG viewportExt = EffectiveViewportExt().cx;
  PenCache& c = penCache_;
  DevicePen d;
  d.color = pen.m_color;
  long long width = pen.m_nWidth;
  if (state_.mapMode != MM_TEXT && state_.windowExt.cx != 0)
    width = std::llabs(width * EffectiveViewportExt().cx / state_.windowExt.cx);
  d.width = int(std::clamp<long long>(width, 1, kDeviceLimit));
  // Wide pens draw solid, as the system's styled pens do. On paper a pen no
  // wider than a pixel of the screen keeps its dots and dashes, as it has
  // them on the screen; so does a pen one unit wide, the drawing's thinnest
  // line, on a page that magnifies its units beyond a pixel of the screen.
  const bool printing = IsPrinting();
  const int widest = printing ? std::max(1, surface_->Caps().dpiX / 96) : 1;
  const bool thinnest = printing && pen.m_nWidth <= 1;
  d.style = (d.width > widest && !thinnest && pen.m_nStyle != PS_NULL) ? PS_SOLID : pen.m_nStyle;
  c = {&pen, pen.m_nStyle, pen.m_nWidth, state_.mapMode, pen.m_color, state_.windowExt.cx, viewportExt, d};
  return d;
}

bool CDC::DotsCoverTheirUnits() const {
  if (!IsPrinting() || state_.mapMode == MM_TEXT) return false;
  const platform::ui::DeviceCaps caps = surface_->Caps();
  const CSize v = EffectiveViewportExt();
  // A page sets a lone dot in the screen pixel (1/96 inch) that its unit's
  // first device pixel lies in. A screen pixel holds at least dpi / 96 whole
  // device pixels; a unit wider than that can start past all of them, so that
  // neighbouring units step over a screen pixel and a dense cloud shows a
  // white column (A4 upright at 1200 dpi: units of 12.4 pixels, screen
  // pixels of 12.5, a blank one every 125 units).
  const auto wider = [](long long viewport, long long window, int dpi) {
    return window != 0 && std::llabs(viewport) > std::llabs(window) * std::max(1, dpi / 96);
  };
  return wider(v.cx, state_.windowExt.cx, caps.dpiX) || wider(v.cy, state_.windowExt.cy, caps.dpiY);
}

DeviceFont CDC::ResolvedFont() const {
  const LOGFONT& lf = state_.font->m_logFont;
  DeviceFont f;
  f.face = lf.lfFaceName;
  long long height = lf.lfHeight;
  long long width = lf.lfWidth;
  bool flipped = false;
  if (state_.mapMode != MM_TEXT && state_.windowExt.cy != 0 && state_.windowExt.cx != 0) {
    CSize v = EffectiveViewportExt();
    height = height * v.cy / state_.windowExt.cy;
    width = width * v.cx / state_.windowExt.cx;
    flipped = ((long long)v.cx * state_.windowExt.cx < 0) != ((long long)v.cy * state_.windowExt.cy < 0);
  }
  f.cellHeight = lf.lfHeight > 0;
  f.height = int(std::min<long long>(std::llabs(height), kDeviceLimit));
  if (lf.lfHeight != 0 && f.height == 0) f.height = 1;
  f.width = int(std::min<long long>(std::llabs(width), kDeviceLimit));
  f.weight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
  f.italic = lf.lfItalic != 0;
  f.underline = lf.lfUnderline != 0;
  f.strikeOut = lf.lfStrikeOut != 0;
  f.escapement = flipped ? -lf.lfEscapement : lf.lfEscapement;
  return f;
}

CRect CDC::DeviceRect(LONG left, LONG top, LONG right, LONG bottom) const {
  CRect r(ClampDevice(MapX(left)), ClampDevice(MapY(top)), ClampDevice(MapX(right)), ClampDevice(MapY(bottom)));
  r.NormalizeRect();
  return r;
}

// Drawing.

CPoint CDC::MoveTo(int x, int y) { return std::exchange(state_.position, CPoint(x, y)); }

void CDC::DrawLine(CPoint from, CPoint to) {
  if (!surface_ || state_.pen->m_nStyle == PS_NULL) return;
  // A run of joined lines, or a bar, shares coordinates between its ends:
  // each distinct one is mapped once.
  long long x1, y1;
  if (lastEnd_.valid && lastEnd_.logical == from) {
    x1 = lastEnd_.x;
    y1 = lastEnd_.y;
  } else {
    x1 = MapX(from.x);
    y1 = MapY(from.y);
  }
  long long x2 = to.x == from.x ? x1 : MapX(to.x);
  long long y2 = to.y == from.y ? y1 : MapY(to.y);
  lastEnd_ = {true, to, x2, y2};
  // A clipped end lies far beyond any device, so leaving it out changes nothing.
  if (!ClipToLimit(x1, y1, x2, y2)) return;
  DevicePen pen = ResolvedPen();
  if (!keepsEmptyLines_ && x1 == x2 && y1 == y2 && pen.width <= 1) return;
  surface_->Line(int(x1), int(y1), int(x2), int(y2), pen, state_.rop2);
}

BOOL CDC::LineTo(int x, int y) {
  CPoint to(x, y);
  DrawLine(state_.position, to);
  state_.position = to;
  return TRUE;
}

BOOL CDC::Polyline(const POINT* points, int count) {
  if (count < 2) return FALSE;
  for (int i = 1; i < count; ++i) DrawLine(points[i - 1], points[i]);
  return TRUE;
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom) {
  if (!surface_) return TRUE;
  CRect r = DeviceRect(left, top, right, bottom);
  const CBrush& brush = *state_.brush;
  DevicePen pen = ResolvedPen();
  bool hasPen = state_.pen->m_nStyle != PS_NULL;
  surface_->Rectangle(r, hasPen ? &pen : nullptr, brush.m_bHollow ? nullptr : &brush.m_color, state_.rop2);
  return TRUE;
}

void CDC::FillRect(LPCRECT rect, CBrush* brush) {
  if (!surface_ || !brush || brush->m_bHollow) return;
  surface_->FillRect(DeviceRect(rect->left, rect->top, rect->right, rect->bottom), brush->m_color);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
  if (!surface_) return;
  surface_->FillRect(DeviceRect(rect->left, rect->top, rect->right, rect->bottom), color);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
  CRect r(x, y, x + cx, y + cy);
  FillSolidRect(&r, color);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
  SetPixelV(x, y, color);
  return color;
}

BOOL CDC::SetPixelV(int x, int y, COLORREF color) {
  if (!surface_) return TRUE;
  long long dx = MapX(x), dy = MapY(y);
  if (dx < INT32_MIN || dx > INT32_MAX || dy < INT32_MIN || dy > INT32_MAX) return FALSE;
  if (DotsCoverTheirUnits()) {
    surface_->SetPixelCell(DeviceRect(x, y, x + 1, y + 1), color);
    return TRUE;
  }
  surface_->SetPixel(int(dx), int(dy), color);
  return TRUE;
}

void CDC::InvertRect(LPCRECT rect) {
  if (!surface_) return;
  surface_->InvertRect(DeviceRect(rect->left, rect->top, rect->right, rect->bottom));
}

void CDC::DrawTextAt(long long x, long long y, std::string_view text, const DeviceFont& font, UINT align,
                     const CRect* clip) {
  platform::ui::TextSize size = surface_->MeasureText(font, text);
  // The offset of the reference point in the text's own frame.
  double ox = 0, oy = 0;
  if ((align & TA_CENTER) == TA_CENTER)
    ox = -size.width / 2.0;
  else if (align & TA_RIGHT)
    ox = -size.width;
  if ((align & TA_BASELINE) == TA_BASELINE)
    oy = -size.ascent;
  else if (align & TA_BOTTOM)
    oy = -size.height;
  double angle = font.escapement * 3.14159265358979323846 / 1800.0;
  double c = std::cos(angle), s = std::sin(angle);
  platform::ui::TextRun run;
  run.x = ClampDevice(x + std::llround(ox * c + oy * s));
  run.y = ClampDevice(y + std::llround(-ox * s + oy * c));
  run.text = text;
  run.font = &font;
  run.color = state_.textColor;
  run.opaque = state_.bkMode == OPAQUE;
  run.background = state_.bkColor;
  run.clip = clip;
  surface_->Text(run);
}

BOOL CDC::TextOut(int x, int y, std::string_view text) {
  if (!surface_ || text.empty()) return TRUE;
  DeviceFont font = ResolvedFont();
  DrawTextAt(MapX(x), MapY(y), text, font, state_.textAlign, nullptr);
  return TRUE;
}

int CDC::DrawText(std::string_view text, LPRECT rect, UINT format) {
  if (!rect) return 0;
  std::string shown = (format & DT_NOPREFIX) ? std::string(text) : platform::ui::StripMnemonic(text);
  std::vector<std::string> lines;
  if (format & DT_SINGLELINE) {
    for (char& ch : shown)
      if (ch == '\r' || ch == '\n') ch = ' ';
    lines.push_back(shown);
  } else {
    size_t start = 0;
    while (true) {
      size_t end = shown.find('\n', start);
      std::string line = shown.substr(start, end == std::string::npos ? std::string::npos : end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  DeviceFont font = ResolvedFont();
  platform::ui::TextSize probe = surface_ ? surface_->MeasureText(font, "X") : platform::ui::HeadlessTextSize(font, "X");
  int lineHeight = probe.height;
  std::vector<int> widths;
  int widest = 0;
  for (const std::string& line : lines) {
    int w = surface_ ? surface_->MeasureText(font, line).width : platform::ui::HeadlessTextSize(font, line).width;
    widths.push_back(w);
    widest = std::max(widest, w);
  }
  int total = lineHeight * int(lines.size());
  CRect device = DeviceRect(rect->left, rect->top, rect->right, rect->bottom);
  auto toLogicalHeight = [&](int h) {
    SIZE sz{0, h};
    DPtoLP(&sz);
    return int(std::abs(sz.cy));
  };
  if (format & DT_CALCRECT) {
    SIZE sz{widest, total};
    DPtoLP(&sz);
    rect->right = rect->left + std::abs(sz.cx);
    rect->bottom = rect->top + std::abs(sz.cy);
    return toLogicalHeight(total);
  }
  if (!surface_) return toLogicalHeight(total);
  long long y = device.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      y = device.top + (device.Height() - lineHeight) / 2;
    else if (format & DT_BOTTOM)
      y = device.bottom - lineHeight;
  }
  const CRect* clip = (format & DT_NOCLIP) ? nullptr : &device;
  for (size_t i = 0; i < lines.size(); ++i) {
    long long x = device.left;
    if (format & DT_CENTER)
      x = device.left + (device.Width() - widths[i]) / 2;
    else if (format & DT_RIGHT)
      x = device.right - widths[i];
    if (!lines[i].empty()) DrawTextAt(x, y, lines[i], font, TA_LEFT | TA_TOP, clip);
    y += lineHeight;
  }
  return toLogicalHeight(total);
}

CSize CDC::GetTextExtent(std::string_view text) const {
  DeviceFont font = ResolvedFont();
  platform::ui::TextSize size = surface_ ? surface_->MeasureText(font, text) : platform::ui::HeadlessTextSize(font, text);
  SIZE s{size.width, size.height};
  DPtoLP(&s);
  return {std::abs(s.cx), std::abs(s.cy)};
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) const {
  if (!metrics) return FALSE;
  DeviceFont font = ResolvedFont();
  platform::ui::TextSize size = surface_ ? surface_->MeasureText(font, "x") : platform::ui::HeadlessTextSize(font, "x");
  SIZE s{size.width, size.height};
  SIZE a{0, size.ascent};
  DPtoLP(&s);
  DPtoLP(&a);
  *metrics = TEXTMETRIC{};
  metrics->tmHeight = std::abs(s.cy);
  metrics->tmAscent = std::abs(a.cy);
  metrics->tmDescent = metrics->tmHeight - metrics->tmAscent;
  metrics->tmAveCharWidth = std::abs(s.cx);
  metrics->tmMaxCharWidth = std::abs(s.cx) * 2;
  return TRUE;
}

int CDC::GetDeviceCaps(int index) const {
  platform::ui::DeviceCaps caps = surface_ ? surface_->Caps() : platform::ui::DeviceCaps{1024, 768, 96, 96, false};
  switch (index) {
    case HORZRES: return caps.width;
    case VERTRES: return caps.height;
    case PHYSICALWIDTH: return caps.paperWidth > 0 ? caps.paperWidth : caps.width;
    case PHYSICALHEIGHT: return caps.paperHeight > 0 ? caps.paperHeight : caps.height;
    case PHYSICALOFFSETX: return caps.offsetX;
    case PHYSICALOFFSETY: return caps.offsetY;
    case LOGPIXELSX: return caps.dpiX;
    case LOGPIXELSY: return caps.dpiY;
    case HORZSIZE: return caps.dpiX ? platform::ui::MulDiv(caps.width, 254, caps.dpiX * 10) : 0;
    case VERTSIZE: return caps.dpiY ? platform::ui::MulDiv(caps.height, 254, caps.dpiY * 10) : 0;
    default: return 0;
  }
}

BOOL CDC::IsPrinting() const { return surface_ && surface_->Caps().printer ? TRUE : FALSE; }

int CDC::StartPage() { return 1; }
int CDC::EndPage() { return 1; }

// Window contexts.

namespace {

struct PaintFrame {
  const CWnd* wnd;
  platform::ui::DrawSurface* surface;
};
std::vector<PaintFrame>& PaintStack() {
  static std::vector<PaintFrame> stack;
  return stack;
}

}  // namespace

namespace platform::ui {

DrawSurface* CurrentPaintSurface(const CWnd& wnd) {
  auto& stack = PaintStack();
  for (auto it = stack.rbegin(); it != stack.rend(); ++it)
    if (it->wnd == &wnd || (wnd.m_hWnd && it->wnd->m_hWnd == wnd.m_hWnd)) return it->surface;
  return nullptr;
}

void PaintWindow(CWnd& wnd, DrawSurface& surface) {
  CWnd* target = CWnd::FromHandle(wnd.m_hWnd);
  if (!target) return;
  PaintStack().push_back({target, &surface});
  struct Pop {
    ~Pop() { PaintStack().pop_back(); }
  } pop;
  target->SendMessage(WM_PAINT);
}

}  // namespace platform::ui

CPaintDC::CPaintDC(CWnd* wnd) {
  platform::ui::DrawSurface* surface = wnd ? platform::ui::CurrentPaintSurface(*wnd) : nullptr;
  if (!surface && wnd && wnd->m_hWnd) surface = &platform::ui::Backend().ClientSurface(*wnd);
  SetSurface(surface);
}

CClientDC::CClientDC(CWnd* wnd) {
  SetSurface(wnd && wnd->m_hWnd ? &platform::ui::Backend().ClientSurface(*wnd) : nullptr);
}
